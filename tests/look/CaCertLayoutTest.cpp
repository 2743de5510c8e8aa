// SPDX-License-Identifier: MIT
#include "look/CaCertLayout.h"

#include <gtest/gtest.h>

#include <array>

namespace qm {

void PrintTo(const Rect& r, std::ostream* os);

namespace {

// Header, path label, path edit, summary, Confirm, Cancel; all empty when
// nothing is placed.
using Rects = std::array<Rect, 6>;
Rects Placed(int dpi, Size client) {
  const auto l = ComputeCaCertLayout(dpi, client);
  if (!l) return {};
  return {l->header, l->pathLabel, l->pathEdit, l->infoEdit, l->confirmButton, l->cancelButton};
}

TEST(CaCertLayout, SizesAndPlacesAtEveryDpi) {
  struct Case {
    int dpi;
    Size initial, minimum;
    Rects atInitial;
  };
  const Case cases[] = {
      {96, {580, 400}, {420, 300},
       {{{16, 16, 548, 28}, {16, 52, 548, 24}, {16, 80, 548, 28}, {16, 116, 548, 220},
         {274, 348, 140, 36}, {424, 348, 140, 36}}}},
      {120, {725, 500}, {525, 375},
       {{{20, 20, 685, 35}, {20, 65, 685, 30}, {20, 100, 685, 35}, {20, 145, 685, 275},
         {342, 435, 175, 45}, {530, 435, 175, 45}}}},
      {144, {870, 600}, {630, 450},
       {{{24, 24, 822, 42}, {24, 78, 822, 36}, {24, 120, 822, 42}, {24, 174, 822, 330},
         {411, 522, 210, 54}, {636, 522, 210, 54}}}},
      {192, {1160, 800}, {840, 600},
       {{{32, 32, 1096, 56}, {32, 104, 1096, 48}, {32, 160, 1096, 56}, {32, 232, 1096, 440},
         {548, 696, 280, 72}, {848, 696, 280, 72}}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CaCertInitialSize(c.dpi), c.initial) << c.dpi;
    EXPECT_EQ(CaCertMinimumSize(c.dpi), c.minimum) << c.dpi;
    EXPECT_EQ(Placed(c.dpi, c.initial), c.atInitial) << c.dpi;
  }
}

TEST(CaCertLayout, NarrowButtonsLowSummaryAndTooSmall) {
  struct Case {
    int dpi;
    Size client;
    int summaryHeight;
    Rect confirm, cancel;
  };
  const Case cases[] = {
      {96, {328, 300}, 120, {22, 248, 140, 36}, {172, 248, 140, 36}},
      {96, {327, 300}, 120, {23, 248, 139, 36}, {172, 248, 139, 36}},  // (327 - 48) / 2
      {96, {200, 180}, 80, {-26, 128, 100, 36}, {84, 128, 100, 36}},   // floors S(100) and S(80)
      {144, {491, 450}, 180, {34, 372, 209, 54}, {258, 372, 209, 54}},
      {144, {300, 270}, 120, {-39, 192, 150, 54}, {126, 192, 150, 54}},
      {96, {199, 400}, 0, {}, {}},  // too small: nothing moves
      {96, {580, 179}, 0, {}, {}},
      {120, {249, 400}, 0, {}, {}},
      {192, {400, 359}, 0, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << ": " << c.client.width << "x" << c.client.height);
    const Rects r = Placed(c.dpi, c.client);
    EXPECT_EQ(r[3].height, c.summaryHeight);
    EXPECT_EQ(r[4], c.confirm);
    EXPECT_EQ(r[5], c.cancel);
  }
}

}  // namespace
}  // namespace qm
