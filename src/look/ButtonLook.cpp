// SPDX-License-Identifier: MIT
// Colour table and geometry of the flat push button.
#include "look/ButtonLook.h"

#include <algorithm>

namespace qm {
namespace {

constexpr ButtonColors kPrimary[] = {
    {0x0969DA, 0x0969DA, 0xFFFFFF},  // normal
    {0x0550AE, 0x0550AE, 0xFFFFFF},  // hover
    {0x03367A, 0x03367A, 0xFFFFFF},  // pressed
    {0x94C2EA, 0x94C2EA, 0xFFFFFF},  // disabled
};
constexpr ButtonColors kSecondary[] = {
    {0xF6F8FA, 0xD0D7DE, 0x24292F},
    {0xEAEEF2, 0xD0D7DE, 0x24292F},
    {0xD6DBE3, 0xD0D7DE, 0x24292F},
    {0xF3F4F6, 0xDADEE2, 0x8C959F},
};
constexpr int kCorner = 10;
constexpr int kBorder = 1;
// The focus rectangle keeps a fixed distance, whatever the dpi.
constexpr int kFocusInset = 3;

}  // namespace

ButtonState ChooseButtonState(bool disabled, bool pressed, bool hover) {
  if (disabled) return ButtonState::Disabled;
  if (pressed) return ButtonState::Pressed;
  if (hover) return ButtonState::Hover;
  return ButtonState::Normal;
}

ButtonColors ButtonColorsFor(bool primary, ButtonState state) {
  const auto index = static_cast<int>(state);
  return primary ? kPrimary[index] : kSecondary[index];
}

ButtonGeometry ButtonGeometryFor(int dpi) {
  return ButtonGeometry{Scale(kCorner, dpi), std::max(1, Scale(kBorder, dpi)), kFocusInset};
}

bool ShowsFocusRect(bool focused, bool focusCuesHidden) { return focused && !focusCuesHidden; }

}  // namespace qm
