// SPDX-License-Identifier: MIT
// Keeps keyboard focus on a button while it is disabled for an action.
#include "ui/FocusKeeper.h"

namespace qm {
namespace {

// The window's focus widget, not the application's: it holds while the
// window is inactive too.
QWidget* FocusOf(const QWidget* widget) { return widget->window()->focusWidget(); }

}  // namespace

void FocusKeeper::SetEnabled(std::initializer_list<QWidget*> widgets, bool enable) {
  QWidget* focused = nullptr;
  for (QWidget* widget : widgets) {
    if (widget != nullptr && FocusOf(widget) == widget) focused = widget;
  }
  for (QWidget* widget : widgets) {
    if (widget != nullptr) widget->setEnabled(enable);
  }
  if (!enable) {
    // Noted after all are disabled: focus may pass through several of them.
    if (focused != nullptr) {
      m_owner = focused;
      m_movedTo = FocusOf(focused);
    }
    return;
  }
  for (QWidget* widget : widgets) {
    if (widget == nullptr || widget != m_owner) continue;
    if (FocusOf(widget) == m_movedTo && widget->isVisible()) widget->setFocus(Qt::OtherFocusReason);
    m_owner = nullptr;
  }
}

}  // namespace qm
