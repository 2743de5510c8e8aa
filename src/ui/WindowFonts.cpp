// SPDX-License-Identifier: MIT
// The fonts of the windows.
#include "ui/WindowFonts.h"

#include <QLocale>
#include <QStringList>

namespace qm {
namespace {

QStringList Families(bool chinese, bool semibold) {
  if (chinese) return {QStringLiteral("Microsoft YaHei UI"), QStringLiteral("Noto Sans CJK SC")};
  return {semibold ? QStringLiteral("Segoe UI Semibold") : QStringLiteral("Segoe UI"), QStringLiteral("Noto Sans"),
          QStringLiteral("Noto Sans CJK SC")};
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

bool SystemLanguageIsChinese() { return QLocale::system().language() == QLocale::Chinese; }

}  // namespace qm
