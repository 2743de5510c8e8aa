// SPDX-License-Identifier: MIT
// Width of a caption as a window draws it.
#include "ui/TextMeasure.h"

#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace qm {

int MeasureTextWidth(const QWidget* window, const QFont& font, const QString& text) {
  if (window == nullptr || text.isEmpty()) return 0;
  // The metrics of the window's own device, so the width matches its dpi.
  return QFontMetrics(font, window).horizontalAdvance(text);
}

}  // namespace qm
