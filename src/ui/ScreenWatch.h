// SPDX-License-Identifier: MIT
// Screen and dpi changes of a shown window: the counterpart of a dpi-change
// message.
#pragma once

#include <QSize>
#include <functional>

class QWidget;

namespace qm {

// Calls changed() when the window moves to another screen or its screen's
// logical dpi changes. Once per window; the window must be shown (it needs
// its native window). The connections live as long as the widget.
void WatchScreenDpi(QWidget* window, std::function<void()> changed);

// The size that keeps a window's size in 96-dpi units across a dpi change,
// as the suggested rectangle of a dpi change does (rounded to nearest).
QSize KeepSizeAcrossDpi(QSize size, int oldDpi, int newDpi);

}  // namespace qm
