// SPDX-License-Identifier: MIT
#include "look/ButtonLook.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qm {
namespace {

using S = ButtonState;

// Half away from zero, for both signs; below 96 dpi too.
const std::tuple<int, int, int> kScaled[] = {
    {1, 96, 1},    {1, 144, 2},     {10, 120, 13}, {3, 120, 4}, {0, 192, 0},
    {-1, 144, -2}, {-10, 120, -13}, {7, 72, 5},    {5, 72, 4},  {860, 144, 1290}};

const std::tuple<bool, S, ButtonColors> kColours[] = {
    {true, S::Disabled, {0x94C2EA, 0x94C2EA, 0xFFFFFF}},
    {true, S::Pressed, {0x03367A, 0x03367A, 0xFFFFFF}},
    {true, S::Hover, {0x0550AE, 0x0550AE, 0xFFFFFF}},
    {true, S::Normal, {0x0969DA, 0x0969DA, 0xFFFFFF}},
    {false, S::Disabled, {0xF3F4F6, 0xDADEE2, 0x8C959F}},
    {false, S::Pressed, {0xD6DBE3, 0xD0D7DE, 0x24292F}},
    {false, S::Hover, {0xEAEEF2, 0xD0D7DE, 0x24292F}},
    {false, S::Normal, {0xF6F8FA, 0xD0D7DE, 0x24292F}}};

TEST(ButtonLook, ScaleStatesColoursGeometryAndFocus) {
  for (const auto& [value, dpi, expected] : kScaled) {
    EXPECT_EQ(Scale(value, dpi), expected) << value << " at " << dpi;
  }
  EXPECT_EQ(
      (std::vector{ChooseButtonState(true, true, true), ChooseButtonState(false, true, true),
                   ChooseButtonState(false, false, true), ChooseButtonState(false, false, false)}),
      (std::vector{S::Disabled, S::Pressed, S::Hover, S::Normal}));
  for (const auto& [primary, state, colours] : kColours) {
    EXPECT_EQ(ButtonColorsFor(primary, state), colours) << primary << static_cast<int>(state);
  }
  EXPECT_EQ((std::vector{ButtonGeometryFor(96), ButtonGeometryFor(120), ButtonGeometryFor(144),
                         ButtonGeometryFor(40)}),  // the border never vanishes
            (std::vector<ButtonGeometry>{{10, 1, 3}, {13, 1, 3}, {15, 2, 3}, {4, 1, 3}}));
  EXPECT_EQ((std::vector{ShowsFocusRect(true, false), ShowsFocusRect(true, true),
                         ShowsFocusRect(false, false)}),
            (std::vector{true, false, false}));
}

}  // namespace
}  // namespace qm
