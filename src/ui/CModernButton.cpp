// SPDX-License-Identifier: MIT
// Painting and hover of the flat push button.
#include "ui/CModernButton.h"

#include <QColor>
#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

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
  const bool cuesHidden = window() == nullptr || !window()->testAttribute(Qt::WA_KeyboardFocusChange);
  if (ShowsFocusRect(hasFocus(), cuesHidden)) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    const int inset = geometry.focusInset;
    option.rect = rect().adjusted(inset, inset, -inset, -inset);
    option.backgroundColor = ToColor(colors.fill);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
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
