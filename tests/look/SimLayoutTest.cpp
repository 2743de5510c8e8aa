// SPDX-License-Identifier: MIT
#include "look/SimLayout.h"

#include <gtest/gtest.h>

#include <ostream>

namespace qm {

void PrintTo(const Rect& r, std::ostream* os);

namespace {

SimLayoutInput Texts(int labelWidth = 60, int testWidth = 0, int languageWidth = 0) {
  return SimLayoutInput{std::vector<int>(9, labelWidth), languageWidth, testWidth};
}

SimLayout Layout(int dpi, int w, int h, const SimLayoutInput& input = Texts()) {
  const auto layout = ComputeSimLayout(dpi, Size{w, h}, input);
  EXPECT_TRUE(layout.has_value());
  return layout.value_or(SimLayout{});
}

TEST(SimLayout, EveryControlAtNinetySixDpi) {
  const SimLayout l = Layout(96, 920, 780, Texts(60, 27, 80));
  EXPECT_EQ(l.title, (Rect{0, 0, 740, 56}));
  EXPECT_EQ(l.languageCombo, (Rect{820, 15, 88, 26}));
  EXPECT_EQ(l.languageLabel, (Rect{726, 15, 88, 26}));  // widened to the left for its text
  EXPECT_EQ(Layout(96, 920, 780, Texts(60, 27, 56)).languageLabel, (Rect{750, 15, 64, 26}));
  ASSERT_EQ(l.rowLabels.size(), 9u);
  ASSERT_EQ(l.rowInputs.size(), 9u);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(l.rowLabels[i], (Rect{12, 68 + 32 * i, 110, 26})) << i;
    EXPECT_EQ(l.rowInputs[i], (Rect{130, 68 + 32 * i, 778, 26})) << i;
  }
  EXPECT_EQ(l.connectButton, (Rect{12, 360, 110, 30}));
  EXPECT_EQ(l.disconnectButton, (Rect{128, 360, 110, 30}));
  EXPECT_EQ(l.status, (Rect{252, 360, 656, 30}));
  EXPECT_EQ(l.publishLabel, (Rect{12, 398, 160, 26}));
  EXPECT_EQ(l.contentLabel, (Rect{12, 430, 110, 26}));
  EXPECT_EQ(l.contentCombo, (Rect{130, 430, 684, 26}));
  EXPECT_EQ(l.testButton, (Rect{820, 430, 88, 30}));
  EXPECT_EQ(l.topicLabel, (Rect{12, 462, 110, 26}));
  EXPECT_EQ(l.topicEdit, (Rect{130, 462, 778, 26}));
  EXPECT_EQ(l.logLabel, (Rect{12, 496, 140, 26}));
  EXPECT_EQ(l.clearButton, (Rect{774, 496, 64, 30}));
  EXPECT_EQ(l.exportButton, (Rect{844, 496, 64, 30}));
  EXPECT_EQ(l.log, (Rect{12, 528, 896, 220}));
  EXPECT_EQ(l.messageLine, (Rect{0, 754, 920, 26}));
  EXPECT_EQ(SimInitialSize(96), (Size{920, 780}));
  EXPECT_EQ(SimMinimumSize(96), (Size{640, 760}));
  EXPECT_EQ(ComputeSimBackground(96, Size{920, 780}).accent, (Rect{0, 54, 920, 2}));
}

TEST(SimLayout, SizesBandsAndSectionsPerDpi) {
  struct Case {
    int dpi;
    Size initial, minimum;
    Rect accent, connect, log, messageLine;
  };
  // clang-format off
  const Case cases[] = {
      {120, {1150, 975}, {800, 950}, {0, 67, 1150, 3}, {15, 459, 138, 38}, {15, 673, 1120, 261},
       {0, 942, 1150, 33}},
      {144, {1380, 1170}, {960, 1140}, {0, 81, 1380, 3}, {18, 540, 165, 45}, {18, 792, 1344, 330},
       {0, 1131, 1380, 39}},
      {192, {1840, 1560}, {1280, 1520}, {0, 108, 1840, 4}, {24, 720, 220, 60}, {24, 1056, 1792, 440},
       {0, 1508, 1840, 52}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(SimInitialSize(c.dpi), c.initial);
    EXPECT_EQ(SimMinimumSize(c.dpi), c.minimum);
    EXPECT_EQ(ComputeSimBackground(c.dpi, c.initial).accent, c.accent);
    const SimLayout l = Layout(c.dpi, c.initial.width, c.initial.height);
    EXPECT_EQ(l.connectButton, c.connect);
    EXPECT_EQ(l.log, c.log);
    EXPECT_EQ(l.messageLine, c.messageLine);
  }
}

TEST(SimLayout, LowClientShrinksGapsThenRowsAndTheLogKeepsItsMinimum) {
  struct Case {
    int dpi, height, rowHeight, rowGap, connectY;
    Rect log;
  };
  const Case cases[] = {
      {96, 560, 26, 6, 360, {12, 528, 896, 80}},  // the form still fits
      {96, 559, 26, 5, 351, {12, 516, 896, 80}},    {96, 530, 26, 2, 324, {12, 480, 896, 80}},
      {96, 520, 25, 2, 315, {12, 467, 896, 80}},  // gaps at their floor, rows give way
      {96, 400, 22, 2, 288, {12, 428, 896, 80}},  // both at their floors; log below the band
      {96, 278, 26, 6, 360, {12, 528, 896, 80}},  // no room at all: nothing is fitted
      {144, 700, 33, 3, 432, {18, 642, 1344, 120}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    const SimLayout l = Layout(c.dpi, c.dpi == 96 ? 920 : 1380, c.height);
    EXPECT_EQ(l.rowHeight, c.rowHeight);
    EXPECT_EQ(l.rowGap, c.rowGap);
    EXPECT_EQ(l.rowLabels[8].height, c.rowHeight);
    EXPECT_EQ(l.publishLabel.height, c.rowHeight);  // the fitted sizes hold below the form
    EXPECT_EQ(l.connectButton.y, c.connectY);
    EXPECT_EQ(l.log, c.log);
  }
}

TEST(SimLayout, LabelColumnUpToItsCapAndTestWidthFromItsCaption) {
  struct Case {
    int dpi, width, widestLabel, testCaption, column, test;
  };
  const Case cases[] = {
      {96, 920, 60, 27, 110, 88},   {96, 920, 150, 70, 158, 98},    {96, 920, 400, 27, 294, 88},
      {96, 250, 200, 27, 90, 88},   {144, 1380, 500, 50, 441, 132}, {144, 1380, 60, 100, 165, 142},
      {192, 400, 300, 0, 180, 176}, {120, 1150, 130, 0, 140, 110},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " " << c.width << " " << c.widestLabel);
    SimLayoutInput input = Texts(40, c.testCaption);
    input.rowLabelWidths[4] = c.widestLabel;
    const SimLayout l = Layout(c.dpi, c.width, 800, input);
    EXPECT_EQ(l.labelColumn, c.column);
    EXPECT_EQ(l.topicLabel.width, c.column);
    EXPECT_EQ(l.testButton.width, c.test);
  }
}

TEST(SimLayout, NothingMovesBelowTwoHundredPixels) {
  for (int dpi : {96, 120, 144, 192}) {
    const int limit = Scale(200, dpi);
    EXPECT_FALSE(ComputeSimLayout(dpi, Size{limit - 1, 900}, Texts()).has_value()) << dpi;
    EXPECT_FALSE(ComputeSimLayout(dpi, Size{900, limit - 1}, Texts()).has_value()) << dpi;
    EXPECT_TRUE(ComputeSimLayout(dpi, Size{limit, limit}, Texts()).has_value()) << dpi;
  }
}

}  // namespace
}  // namespace qm
