// SPDX-License-Identifier: MIT
#include "look/CaCertLayout.h"

#include <gtest/gtest.h>

#include <array>

namespace qm {

void PrintTo(const Rect& r, std::ostream* os);

namespace {

// Header, path label, path edit, summary, Confirm, Cancel; all empty when nothing is placed.
using Rects = std::array<Rect, 6>;
Rects Placed(int dpi, Size client) {
  const auto l = ComputeCaCertLayout(dpi, client);
  if (!l) return {};
  return {l->header, l->pathLabel, l->pathEdit, l->infoEdit, l->confirmButton, l->cancelButton};
}

// clang-format off
const std::tuple<int, Size, Size, Rects> kInitial[] = {
    {96, {580, 400}, {420, 300}, {{{16, 16, 548, 28}, {16, 52, 548, 24}, {16, 80, 548, 28},
                                   {16, 116, 548, 220}, {274, 348, 140, 36}, {424, 348, 140, 36}}}},
    {120, {725, 500}, {525, 375}, {{{20, 20, 685, 35}, {20, 65, 685, 30}, {20, 100, 685, 35},
                                    {20, 145, 685, 275}, {342, 435, 175, 45}, {530, 435, 175, 45}}}},
    {144, {870, 600}, {630, 450}, {{{24, 24, 822, 42}, {24, 78, 822, 36}, {24, 120, 822, 42},
                                    {24, 174, 822, 330}, {411, 522, 210, 54}, {636, 522, 210, 54}}}}};
// Narrow clients: the buttons narrow down to 100 and may leave the left edge; the summary keeps 80.
const std::tuple<int, Size, int, Rect, Rect> kSmall[] = {
    {96, {328, 300}, 120, {22, 248, 140, 36}, {172, 248, 140, 36}},
    {96, {327, 300}, 120, {23, 248, 139, 36}, {172, 248, 139, 36}},
    {96, {200, 180}, 80, {-26, 128, 100, 36}, {84, 128, 100, 36}},
    {144, {300, 270}, 120, {-39, 192, 150, 54}, {126, 192, 150, 54}},
    {96, {199, 400}, 0, {}, {}}, {96, {580, 179}, 0, {}, {}}, {144, {299, 400}, 0, {}, {}}};
// clang-format on

TEST(CaCertLayout, SizesPlacesNarrowButtonsLowSummaryAndTooSmall) {
  for (const auto& [dpi, initial, minimum, atInitial] : kInitial) {
    EXPECT_EQ(std::tuple(CaCertInitialSize(dpi), CaCertMinimumSize(dpi), Placed(dpi, initial)),
              std::tuple(initial, minimum, atInitial))
        << dpi;
  }
  for (const auto& [dpi, client, summaryHeight, confirm, cancel] : kSmall) {
    const Rects r = Placed(dpi, client);
    EXPECT_EQ(std::tuple(r[3].height, r[4], r[5]), std::tuple(summaryHeight, confirm, cancel))
        << dpi << " " << client.width;
  }
}

}  // namespace
}  // namespace qm
