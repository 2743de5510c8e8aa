// SPDX-License-Identifier: MIT
// Keeps keyboard focus on a button while it is disabled for an action.
#pragma once

#include <QPointer>
#include <QWidget>
#include <initializer_list>

namespace qm {

// Qt moves keyboard focus away from a widget that is disabled (to the next
// one in the tab chain), where a Windows dialog leaves it on the disabled
// button. The page buttons are disabled while they write, so after a
// keyboard-driven write the next Space would go to another control. Widgets
// enabled and disabled through SetEnabled get their focus back when they are
// enabled again, unless focus has been moved on meanwhile (by the user).
class FocusKeeper final {
 public:
  // Enables or disables the widgets (null ones are skipped).
  void SetEnabled(std::initializer_list<QWidget*> widgets, bool enable);

 private:
  QPointer<QWidget> m_owner;    // had focus when it was disabled
  QPointer<QWidget> m_movedTo;  // where Qt put the focus then
};

}  // namespace qm
