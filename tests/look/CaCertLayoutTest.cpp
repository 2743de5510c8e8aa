// SPDX-License-Identifier: MIT
#include "look/CaCertLayout.h"

#include <gtest/gtest.h>

namespace qm {

void PrintTo(const Rect& r, std::ostream* os);

namespace {

TEST(CaCertLayout, SizesAndPlacesAtEveryDpi) {
  struct Case {
    int dpi;
    Size initial, minimum;
    Rect header, pathLabel, pathEdit, infoEdit, confirm, cancel;
  };
  // Each laid out at its initial size.
  const Case cases[] = {
      {96, {580, 400}, {420, 300}, {16, 16, 548, 28}, {16, 52, 548, 24}, {16, 80, 548, 28}, {16, 116, 548, 220},
       {274, 348, 140, 36}, {424, 348, 140, 36}},
      {120, {725, 500}, {525, 375}, {20, 20, 685, 35}, {20, 65, 685, 30}, {20, 100, 685, 35}, {20, 145, 685, 275},
       {342, 435, 175, 45}, {530, 435, 175, 45}},
      {144, {870, 600}, {630, 450}, {24, 24, 822, 42}, {24, 78, 822, 36}, {24, 120, 822, 42}, {24, 174, 822, 330},
       {411, 522, 210, 54}, {636, 522, 210, 54}},
      {192, {1160, 800}, {840, 600}, {32, 32, 1096, 56}, {32, 104, 1096, 48}, {32, 160, 1096, 56},
       {32, 232, 1096, 440}, {548, 696, 280, 72}, {848, 696, 280, 72}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(CaCertInitialSize(c.dpi), c.initial);
    EXPECT_EQ(CaCertMinimumSize(c.dpi), c.minimum);
    const CaCertLayout l = ComputeCaCertLayout(c.dpi, c.initial).value();
    EXPECT_EQ(l.header, c.header);
    EXPECT_EQ(l.pathLabel, c.pathLabel);
    EXPECT_EQ(l.pathEdit, c.pathEdit);
    EXPECT_EQ(l.infoEdit, c.infoEdit);
    EXPECT_EQ(l.confirmButton, c.confirm);
    EXPECT_EQ(l.cancelButton, c.cancel);
  }
}

TEST(CaCertLayout, NarrowButtonsLowSummaryAndTooSmall) {
  struct Case {
    int dpi;
    Size client;
    bool placed;
    Rect confirm, cancel;
    int infoHeight;
  };
  const Case cases[] = {
      {96, {328, 300}, true, {22, 248, 140, 36}, {172, 248, 140, 36}, 120},
      {96, {327, 300}, true, {23, 248, 139, 36}, {172, 248, 139, 36}, 120},  // (327 - 48) / 2
      {96, {200, 180}, true, {-26, 128, 100, 36}, {84, 128, 100, 36}, 80},   // floor S(100); summary S(80)
      {144, {491, 450}, true, {34, 372, 209, 54}, {258, 372, 209, 54}, 180},
      {144, {300, 270}, true, {-39, 192, 150, 54}, {126, 192, 150, 54}, 120},
      {96, {199, 400}, false, {}, {}, 0},
      {96, {580, 179}, false, {}, {}, 0},
      {120, {249, 400}, false, {}, {}, 0},
      {120, {580, 224}, false, {}, {}, 0},
      {192, {400, 359}, false, {}, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " dpi, " << c.client.width << " x " << c.client.height);
    const auto l = ComputeCaCertLayout(c.dpi, c.client);
    ASSERT_EQ(l.has_value(), c.placed);
    if (!l) continue;
    EXPECT_EQ(l->confirmButton, c.confirm);
    EXPECT_EQ(l->cancelButton, c.cancel);
    EXPECT_EQ(l->infoEdit.height, c.infoHeight);
  }
}

}  // namespace
}  // namespace qm
