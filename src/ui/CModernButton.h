// SPDX-License-Identifier: MIT
// The flat push button of every window: rounded, primary or secondary, with
// a hover colour. Clicks, keys and focus are the standard push button's.
#pragma once

#include <QPushButton>

class QFont;
class QPainter;
class QRect;

namespace qm {

class CModernButton final : public QPushButton {
  Q_OBJECT

 public:
  explicit CModernButton(QWidget* parent = nullptr);

  // Sets the caption, shown as it is written: an "&" is a letter of the
  // caption, never a mnemonic, so no caption binds a keyboard shortcut
  // ("Confirm & Send" would otherwise click on Alt+Space).
  void setText(const QString& text);

  // Set by the owner before the button is shown.
  void SetPrimary(bool primary) { m_primary = primary; }
  bool IsPrimary() const { return m_primary; }
  // The caption's font; owned by the owner. Null draws in the widget's font.
  void SetDrawFont(const QFont* font);
  bool IsHover() const { return m_hover; }

  // The window's dpi (96 x its logical scale) that scales corners and border.
  int Dpi() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  static void DrawFocusRect(QPainter& painter, const QRect& frame);

  bool m_primary = false;
  bool m_hover = false;
  const QFont* m_font = nullptr;
};

}  // namespace qm
