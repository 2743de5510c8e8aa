// SPDX-License-Identifier: MIT
#include "look/ButtonLook.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(Scale, RoundsEachValueHalfAwayFromZero) {
  struct Case {
    int value;
    int dpi;
    int expected;
  };
  const Case cases[] = {
      {1, 96, 1},    {1, 120, 1},     {1, 144, 2},      {10, 120, 13}, {3, 120, 4}, {2, 144, 3},
      {0, 192, 0},   {-1, 144, -2},   {-10, 120, -13},  {7, 72, 5},    {5, 72, 4},  {860, 144, 1290},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Scale(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
  }
}

TEST(ButtonLook, StatePriorityIsDisabledPressedHoverNormal) {
  EXPECT_EQ(ChooseButtonState(true, true, true), ButtonState::Disabled);
  EXPECT_EQ(ChooseButtonState(true, false, false), ButtonState::Disabled);
  EXPECT_EQ(ChooseButtonState(false, true, true), ButtonState::Pressed);
  EXPECT_EQ(ChooseButtonState(false, false, true), ButtonState::Hover);
  EXPECT_EQ(ChooseButtonState(false, false, false), ButtonState::Normal);
}

TEST(ButtonLook, ColourTable) {
  struct Case {
    bool primary;
    ButtonState state;
    ButtonColors expected;
  };
  const Case cases[] = {
      {true, ButtonState::Disabled, {0x94C2EA, 0x94C2EA, 0xFFFFFF}},
      {true, ButtonState::Pressed, {0x03367A, 0x03367A, 0xFFFFFF}},
      {true, ButtonState::Hover, {0x0550AE, 0x0550AE, 0xFFFFFF}},
      {true, ButtonState::Normal, {0x0969DA, 0x0969DA, 0xFFFFFF}},
      {false, ButtonState::Disabled, {0xF3F4F6, 0xDADEE2, 0x8C959F}},
      {false, ButtonState::Pressed, {0xD6DBE3, 0xD0D7DE, 0x24292F}},
      {false, ButtonState::Hover, {0xEAEEF2, 0xD0D7DE, 0x24292F}},
      {false, ButtonState::Normal, {0xF6F8FA, 0xD0D7DE, 0x24292F}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ButtonColorsFor(c.primary, c.state), c.expected)
        << c.primary << " state " << static_cast<int>(c.state);
  }
}

TEST(ButtonLook, GeometryPerDpi) {
  EXPECT_EQ(ButtonGeometryFor(96), (ButtonGeometry{10, 1, 3}));
  EXPECT_EQ(ButtonGeometryFor(120), (ButtonGeometry{13, 1, 3}));
  EXPECT_EQ(ButtonGeometryFor(144), (ButtonGeometry{15, 2, 3}));
  EXPECT_EQ(ButtonGeometryFor(192), (ButtonGeometry{20, 2, 3}));
  // The border never vanishes at low dpi.
  EXPECT_EQ(ButtonGeometryFor(40).border, 1);
}

TEST(ButtonLook, FocusRectOnlyWhenFocusedAndCuesShown) {
  EXPECT_TRUE(ShowsFocusRect(true, false));
  EXPECT_FALSE(ShowsFocusRect(true, true));
  EXPECT_FALSE(ShowsFocusRect(false, false));
}

}  // namespace
}  // namespace qm
