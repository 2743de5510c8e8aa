// SPDX-License-Identifier: MIT
// Opening sizes and places of the windows.
#pragma once

#include <QPoint>
#include <functional>

#include "look/Geometry.h"

class QWidget;

namespace qm {

// Gives the window its minimum and its opening size, then centres it on the
// point.
void SizeAndCentre(QWidget* window, Size minimum, Size initial, QPoint centre);

// A window moved from oldDpi to newDpi keeps its size in 96-dpi units (taken
// before the new minimum can grow it); refresh remakes what depends on the
// dpi (fonts) before the new minimum and size are set. Does nothing and
// returns false when the dpi did not change or the window is not built yet.
bool ApplyDpiChange(QWidget* window, bool built, int oldDpi, int newDpi,
                    const std::function<Size(int)>& minimumAt,
                    const std::function<void()>& refresh);

}  // namespace qm
