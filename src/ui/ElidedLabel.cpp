// SPDX-License-Identifier: MIT
// Painting of the one-line static text.
#include "ui/ElidedLabel.h"

#include <QFontMetrics>
#include <QPainter>

namespace qm {

ElidedLabel::ElidedLabel(Qt::Alignment alignment, QWidget* parent) : QLabel(parent) {
  setAlignment(alignment | Qt::AlignVCenter);
  setTextFormat(Qt::PlainText);
  // Drawn over the window's painted bands, never on a background of its own.
  setAutoFillBackground(false);
}

QString ElidedLabel::DisplayedText() const {
  return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine,
                   DisplayedText());
}

}  // namespace qm
