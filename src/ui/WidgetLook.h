// SPDX-License-Identifier: MIT
// Applying the look rules' answers to widgets: places and palette colours.
#pragma once

#include <QColor>
#include <QPalette>
#include <initializer_list>

#include "look/Geometry.h"
#include "look/MainColors.h"

class QWidget;

namespace qm {

inline QColor ToColor(Rgb rgb) { return QColor::fromRgb(rgb); }

// Moves the widget to the rectangle; nothing for a null widget.
void Place(QWidget* widget, const Rect& r);

// Applies one answer of a colour rule to a widget's palette, for the given
// colour groups (all of them by default). A default answer changes nothing.
void Paint(QWidget* widget, const ControlColors& colors, QPalette::ColorRole textRole,
           QPalette::ColorRole backgroundRole,
           std::initializer_list<QPalette::ColorGroup> groups = {
               QPalette::Active, QPalette::Inactive, QPalette::Disabled});

}  // namespace qm
