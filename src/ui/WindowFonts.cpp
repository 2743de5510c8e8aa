// SPDX-License-Identifier: MIT
#include "ui/WindowFonts.h"

#include <QLocale>
#include <QStringList>

namespace qm {
namespace {

constexpr qreal kNormalPoints = 9.5;
constexpr qreal kTitlePoints = 12.0;

QStringList Families(bool chinese, bool semibold) {
  if (chinese) return {QStringLiteral("Microsoft YaHei UI"), QStringLiteral("Noto Sans CJK SC")};
  return {semibold ? QStringLiteral("Segoe UI Semibold") : QStringLiteral("Segoe UI"),
          QStringLiteral("Noto Sans"), QStringLiteral("Noto Sans CJK SC")};
}

}  // namespace

QFont MakeWindowFont(bool chinese, bool semibold, qreal points) {
  QFont font;
  font.setFamilies(Families(chinese, semibold));
  font.setPointSizeF(points);
  // The named semibold face carries its weight itself; the desktop face
  // that stands in for it needs the weight asked for.
  if (semibold && !chinese) font.setWeight(QFont::DemiBold);
  return font;
}

void MakeWindowFonts(bool chinese, QFont& normal, QFont& semibold, QFont& title) {
  normal = MakeWindowFont(chinese, false, kNormalPoints);
  semibold = MakeWindowFont(chinese, true, kNormalPoints);
  title = MakeWindowFont(chinese, true, kTitlePoints);
}

bool SystemLanguageIsChinese() { return QLocale::system().language() == QLocale::Chinese; }

}  // namespace qm
