// SPDX-License-Identifier: MIT
#include "look/SimLayout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

namespace qm {

void PrintTo(const Rect& r, std::ostream* os);

namespace {

using Rects = std::vector<Rect>;

SimLayoutInput Texts(int labelWidth = 60, int testWidth = 0, int languageWidth = 0) {
  return SimLayoutInput{std::vector<int>(9, labelWidth), languageWidth, testWidth};
}

SimLayout Layout(int dpi, int w, int h, const SimLayoutInput& input = Texts()) {
  return ComputeSimLayout(dpi, Size{w, h}, input).value_or(SimLayout{});
}

// Title, language caption and choice, Disconnect, status, Publish, content caption and choice,
// Test, topic caption and edit, log caption, Clear, Export.
const Rect kAt96[] = {{0, 0, 740, 56},     {726, 15, 88, 26},   {820, 15, 88, 26},
                      {128, 360, 110, 30}, {252, 360, 656, 30}, {12, 398, 160, 26},
                      {12, 430, 110, 26},  {130, 430, 684, 26}, {820, 430, 88, 30},
                      {12, 462, 110, 26},  {130, 462, 778, 26}, {12, 496, 140, 26},
                      {774, 496, 64, 30},  {844, 496, 64, 30}};

TEST(SimLayout, EveryControlAtNinetySixDpi) {
  const SimLayout l = Layout(96, 920, 780, Texts(60, 27, 80));  // the caption widens leftwards
  ASSERT_EQ(l.rowLabels.size() + l.rowInputs.size(), 18u);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ((Rects{l.rowLabels[i], l.rowInputs[i]}),
              (Rects{{12, 68 + 32 * i, 110, 26}, {130, 68 + 32 * i, 778, 26}}));
  }
  EXPECT_EQ((Rects{l.title, l.languageLabel, l.languageCombo, l.disconnectButton, l.status,
                   l.publishLabel, l.contentLabel, l.contentCombo, l.testButton, l.topicLabel,
                   l.topicEdit, l.logLabel, l.clearButton, l.exportButton}),
            Rects(std::begin(kAt96), std::end(kAt96)));
  EXPECT_EQ(Layout(96, 920, 780, Texts(60, 27, 56)).languageLabel, (Rect{750, 15, 64, 26}));
}

// dpi: initial and minimum size, accent line, Connect, log, message band, smallest client.
// clang-format off
const std::tuple<int, Size, Size, Rect, Rect, Rect, Rect, int> kPerDpi[] = {
    {96, {920, 780}, {640, 760}, {0, 54, 920, 2}, {12, 360, 110, 30}, {12, 528, 896, 220},
     {0, 754, 920, 26}, 200},
    {120, {1150, 975}, {800, 950}, {0, 67, 1150, 3}, {15, 459, 138, 38}, {15, 673, 1120, 261},
     {0, 942, 1150, 33}, 250},
    {144, {1380, 1170}, {960, 1140}, {0, 81, 1380, 3}, {18, 540, 165, 45}, {18, 792, 1344, 330},
     {0, 1131, 1380, 39}, 300}};
// clang-format on

TEST(SimLayout, SizesBandsSectionsAndLimitPerDpi) {
  for (const auto& [dpi, initial, minimum, accent, connect, log, messageLine, limit] : kPerDpi) {
    const SimLayout l = Layout(dpi, initial.width, initial.height);
    EXPECT_EQ(std::tuple(SimInitialSize(dpi), SimMinimumSize(dpi),
                         ComputeSimBackground(dpi, initial).accent, l.connectButton, l.log,
                         l.messageLine),
              std::tuple(initial, minimum, accent, connect, log, messageLine))
        << dpi;
    const auto fits = [d = dpi](int w, int h) { return ComputeSimLayout(d, {w, h}, Texts()); };
    EXPECT_EQ((std::vector{fits(limit - 1, 900).has_value(), fits(900, limit - 1).has_value(),
                           fits(limit, limit).has_value()}),
              (std::vector{false, false, true}));
  }
}

// dpi, client height: row height and gap, Connect's top, the log's top and height.
const std::tuple<int, int, int, int, int, int, int> kLowClient[] = {
    {96, 560, 26, 6, 360, 528, 80}, {96, 559, 26, 5, 351, 516, 80},
    {96, 520, 25, 2, 315, 467, 80}, {96, 400, 22, 2, 288, 428, 80},
    {96, 278, 26, 6, 360, 528, 80}, {144, 700, 33, 3, 432, 642, 120}};

TEST(SimLayout, LowClientShrinksGapsThenRowsAndTheLogKeepsItsMinimum) {
  for (const auto& [dpi, height, rowHeight, rowGap, connectY, logY, logHeight] : kLowClient) {
    const SimLayout l = Layout(dpi, dpi == 96 ? 920 : 1380, height);
    EXPECT_EQ(std::tuple(l.rowHeight, l.rowGap, l.rowLabels[8].height, l.publishLabel.height,
                         l.connectButton.y, l.log.y, l.log.height),
              std::tuple(rowHeight, rowGap, rowHeight, rowHeight, connectY, logY, logHeight))
        << height;
  }
}

// dpi, client width, widest label, Test caption: label column and Test width.
const std::tuple<int, int, int, int, int, int> kColumns[] = {{96, 920, 150, 70, 158, 98},
                                                             {96, 920, 400, 27, 294, 88},
                                                             {96, 250, 200, 27, 90, 88},
                                                             {144, 1380, 500, 50, 441, 132},
                                                             {144, 1380, 60, 100, 165, 142}};

TEST(SimLayout, LabelColumnUpToItsCapAndTestWidthFromItsCaption) {
  for (const auto& [dpi, width, widestLabel, testCaption, column, test] : kColumns) {
    SimLayoutInput input = Texts(40, testCaption);
    input.rowLabelWidths[4] = widestLabel;
    const SimLayout l = Layout(dpi, width, 800, input);
    EXPECT_EQ(std::tuple(l.labelColumn, l.topicLabel.width, l.testButton.width),
              std::tuple(column, column, test))
        << dpi << " " << width << " " << widestLabel;
  }
}

}  // namespace
}  // namespace qm
