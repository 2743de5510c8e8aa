// SPDX-License-Identifier: MIT
// Colours and geometry of the flat push button shared by every window.
#pragma once

#include "look/Geometry.h"

namespace qm {

enum class ButtonState { Normal, Hover, Pressed, Disabled };

struct ButtonColors {
  Rgb fill = 0;
  Rgb border = 0;
  Rgb text = 0;
  friend bool operator==(const ButtonColors&, const ButtonColors&) = default;
};

struct ButtonGeometry {
  int corner = 0;      // width and height of the corner ellipse
  int border = 0;      // pen width of the outline
  int focusInset = 0;  // the focus rectangle lies this far inside the edge
  friend bool operator==(const ButtonGeometry&, const ButtonGeometry&) = default;
};

// Disabled wins over pressed, pressed over hover, hover over normal.
ButtonState ChooseButtonState(bool disabled, bool pressed, bool hover);

ButtonColors ButtonColorsFor(bool primary, ButtonState state);

ButtonGeometry ButtonGeometryFor(int dpi);

// The focus rectangle shows only on a focused button while focus cues show.
bool ShowsFocusRect(bool focused, bool focusCuesHidden);

}  // namespace qm
