// SPDX-License-Identifier: MIT
// Control ids and command notifications shared by the windows: every control
// carries its id, and its Qt signals reach the window's OnCommand(id, code)
// with the classic dialog notification codes.
#pragma once

#include <functional>

class QDialog;
class QObject;
class QWidget;

namespace qm {

// Notification codes of the commands a control sends to its window.
inline constexpr int kBnClicked = 0;
inline constexpr int kCbnSelChange = 1;
inline constexpr int kCbnDropDown = 7;
inline constexpr int kEnChange = 0x0300;

// The id of header texts, which no command names.
inline constexpr int kIdHeaderStatic = -1;

// Commands of the Enter and Esc keys.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// The control id a widget of a window carries; 0 when it has none.
int ControlIdOf(const QWidget* widget);
void SetControlId(QWidget* widget, int id);

// Gives the widget its id and forwards its signals to command(id, code):
// a button's click as kBnClicked, an edit's text change as kEnChange and a
// drop-down's user choice (never a selection set by code) as kCbnSelChange.
// The connections live as long as the receiver.
void WireControl(QWidget* widget, int id, QObject* receiver, std::function<void(int, int)> command);

// The direct child of the window that carries the id; null when none does.
QWidget* FindControl(const QWidget* window, int id);

// Ends the dialog on the OK (accepted) and Cancel (rejected) commands; true
// when the command was one of them.
bool EndDialogCommand(QDialog* dialog, int id, int code);

}  // namespace qm
