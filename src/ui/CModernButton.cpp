// SPDX-License-Identifier: MIT
// Painting and hover of the flat push button.
#include "ui/CModernButton.h"

#include <QColor>
#include <QFont>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "look/ButtonLook.h"

namespace qm {
namespace {

QColor ToColor(Rgb rgb) { return QColor::fromRgb(rgb); }

}  // namespace

CModernButton::CModernButton(QWidget* parent) : QPushButton(parent) {
  // Hover starts on the first mouse move over the button.
  setMouseTracking(true);
  // Enter in the window ends it; it never clicks a button by default.
  setAutoDefault(false);
  setDefault(false);
}

void CModernButton::setText(const QString& text) {
  QPushButton::setText(text);
  setShortcut(QKeySequence());
}

void CModernButton::SetDrawFont(const QFont* font) {
  m_font = font;
  update();
}

int CModernButton::Dpi() const { return logicalDpiX(); }

void CModernButton::paintEvent(QPaintEvent*) {
  const ButtonState state = ChooseButtonState(!isEnabled(), isDown(), m_hover);
  const ButtonColors colors = ButtonColorsFor(m_primary, state);
  const ButtonGeometry geometry = ButtonGeometryFor(Dpi());

  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, true);
  // The pen is centred on the outline, so the shape is inset by half of it
  // to keep the whole border inside the button.
  const qreal half = geometry.border / 2.0;
  const QRectF shape = QRectF(rect()).adjusted(half, half, -half, -half);
  const qreal radius = geometry.corner / 2.0;
  painter.setPen(QPen(ToColor(colors.border), geometry.border, Qt::SolidLine));
  painter.setBrush(ToColor(colors.fill));
  painter.drawRoundedRect(shape, radius, radius);

  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(ToColor(colors.text));
  painter.setFont(m_font != nullptr ? *m_font : font());
  painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());

  // Focus cues show once the keyboard has moved focus in this window.
  const bool cuesHidden =
      window() == nullptr || !window()->testAttribute(Qt::WA_KeyboardFocusChange);
  if (ShowsFocusRect(hasFocus(), cuesHidden)) {
    const int inset = geometry.focusInset;
    DrawFocusRect(painter, rect().adjusted(inset, inset, -inset, -inset));
  }
}

void CModernButton::DrawFocusRect(QPainter& painter, const QRect& frame) {
  // The classic focus rectangle: a one-pixel dotted outline that inverts
  // every other pixel (a 50 % checkerboard, XOR with white), so it shows on
  // the blue primary fill, the light secondary fill and the text alike.
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.setBrushOrigin(0, 0);
  const QBrush dots(Qt::white, Qt::Dense4Pattern);
  const int w = frame.width();
  const int h = frame.height();
  // Top and bottom rows in full, the sides between them: no pixel twice,
  // since a second XOR would undo the first.
  painter.fillRect(QRect(frame.left(), frame.top(), w, 1), dots);
  if (h > 1) painter.fillRect(QRect(frame.left(), frame.bottom(), w, 1), dots);
  if (h > 2) {
    painter.fillRect(QRect(frame.left(), frame.top() + 1, 1, h - 2), dots);
    if (w > 1) painter.fillRect(QRect(frame.right(), frame.top() + 1, 1, h - 2), dots);
  }
  painter.restore();
}

void CModernButton::mouseMoveEvent(QMouseEvent* event) {
  if (!m_hover) {
    m_hover = true;
    update();
  }
  QPushButton::mouseMoveEvent(event);
}

void CModernButton::leaveEvent(QEvent*) {
  if (m_hover) {
    m_hover = false;
    update();
  }
}

}  // namespace qm
