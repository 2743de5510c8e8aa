// SPDX-License-Identifier: MIT
// The windows' stand-in for a dpi change message.
#pragma once

#include <functional>

class QWidget;

namespace qm {

// Calls onChange whenever the shown window moves to another screen or its
// screen's logical dpi changes. Does nothing before the window has a native
// window, and watches each window once.
void WatchWindowDpi(QWidget* widget, const std::function<void()>& onChange);

}  // namespace qm
