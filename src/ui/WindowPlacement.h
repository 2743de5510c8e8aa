// SPDX-License-Identifier: MIT
// Opening sizes and places of the windows.
#pragma once

#include <QPoint>

#include "look/Geometry.h"

class QWidget;

namespace qm {

// Gives the window its minimum and its opening size, then centres it on the
// point.
void SizeAndCentre(QWidget* window, Size minimum, Size initial, QPoint centre);

}  // namespace qm
