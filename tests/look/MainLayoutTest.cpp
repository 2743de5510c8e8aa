// SPDX-License-Identifier: MIT
#include "look/MainLayout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include "look/MainColors.h"

namespace qm {

void PrintTo(const Rect& r, std::ostream* os) {
  *os << '{' << r.x << ", " << r.y << ", " << r.width << ", " << r.height << '}';
}

namespace {

using Rects = std::vector<Rect>;
constexpr MainTextWidths kShort{30, 60, 20, 40};  // short captions: the minimum widths apply

MainLayout Layout(int dpi, int w, int h, MainTextWidths texts = kShort) {
  const auto layout = ComputeMainLayout(dpi, Size{w, h}, texts);
  return layout.value_or(MainLayout{});
}

TEST(MainLayout, WindowSizesBandsAndLimits) {
  EXPECT_EQ((std::vector{MainInitialSize(96), MainInitialSize(120), MainMinimumSize(144)}),
            (std::vector<Size>{{1000, 760}, {1250, 950}, {1290, 1050}}));
  const MainBackground b96 = ComputeMainBackground(96, Size{1000, 700});
  EXPECT_EQ((Rects{b96.header, b96.accent, b96.separator, b96.statusBand}),
            (Rects{{0, 0, 1000, 56}, {0, 54, 1000, 2}, {12, 646, 976, 1}, {0, 648, 1000, 52}}));
  EXPECT_EQ(b96.cardBorder, 1);
  const MainBackground b144 = ComputeMainBackground(144, Size{1500, 1000});
  EXPECT_EQ((Rects{b144.accent, b144.separator, b144.statusBand}),
            (Rects{{0, 81, 1500, 3}, {18, 919, 1464, 2}, {0, 922, 1500, 78}}));
  EXPECT_EQ(ComputeMainBackground(120, Size{1000, 800}).separator, (Rect{15, 732, 970, 1}));
  for (const auto& [dpi, s200, s118, s160, s300] :
       {std::tuple{96, 200, 118, 160, 300}, std::tuple{144, 300, 177, 240, 450}}) {
    const auto fits = [d = dpi](int w, int h) { return ComputeMainLayout(d, {w, h}, kShort); };
    EXPECT_EQ((std::vector{fits(s200 - 1, 800).has_value(), fits(1200, s200 - 1).has_value(),
                           fits(s200, s200).has_value()}),
              (std::vector{false, false, true}));
    EXPECT_EQ(Layout(dpi, 2000, 1500, {10, 5, 10, 10}).simulatorButton.width, s118);
    EXPECT_EQ(Layout(dpi, 2000, 1500, {10, 900, 10, 10}).simulatorButton.width, s160);
    EXPECT_EQ(Layout(dpi, s300, 1500, {10, 900, 10, 10}).title.width, s160);
    const auto page = [d = dpi](int w, std::vector<PageRowInput> rows) {
      return ComputePageLayout(d, {Rect{0, 0, w, 400}, rows}).has_value();
    };  // at least 160 wide, with rows
    EXPECT_EQ((std::vector{page(s160 - 1, {{RowKind::Edit, 10}}), page(s160, {{RowKind::Edit, 10}}),
                           page(s160, {})}),
              (std::vector{false, true, false}));
  }
}

TEST(MainLayout, StatusRowHeaderAndTabArea) {
  for (const auto& [width, combo, status, connectRight] : {std::tuple{1167, 420, 579, 1155},
                                                           {1166, 419, 579, 1154},
                                                           {556, 200, 188, 544},
                                                           {555, 200, 187, 543},
                                                           {500, 192, 140, 488},
                                                           {300, 140, 80, 376}}) {
    const MainLayout l = Layout(96, width, 760);
    EXPECT_EQ(std::tuple(l.usbCombo.width, l.status.width, l.connectButton.right()),
              std::tuple(combo, status, connectRight))
        << width;
  }
  MainLayout l = Layout(96, 1000, 760, MainTextWidths{60, 100, 36, 70});  // text + 8, + 28
  EXPECT_EQ((Rects{l.status, l.usbLabel, l.usbCombo, l.connectButton, l.languageCombo,
                   l.languageLabel, l.simulatorButton, l.title, l.tab}),
            (Rects{{12, 712, 458, 36},
                   {478, 712, 44, 36},
                   {522, 717, 360, 26},
                   {890, 716, 98, 28},
                   {900, 15, 88, 26},
                   {826, 15, 68, 26},
                   {688, 13, 128, 30},
                   {0, 0, 680, 56},
                   {12, 68, 976, 631}}));
  l = Layout(144, 1500, 1100, MainTextWidths{60, 100, 30, 40});
  EXPECT_EQ(
      (Rects{l.languageCombo, l.languageLabel, l.simulatorButton, l.status}),
      (Rects{{1350, 22, 132, 39}, {1263, 22, 78, 39}, {1071, 19, 177, 45}, {18, 1028, 708, 54}}));
  EXPECT_EQ((std::vector{Layout(96, 1000, 250).tab.height, Layout(96, 1000, 240).tab.height,
                         Layout(144, 1500, 310).tab.height}),
            (std::vector{121, 120, 180}));
  EXPECT_EQ(TabDisplayArea(Rect{12, 68, 976, 631}, 30), (Rect{12, 98, 976, 601}));
  EXPECT_EQ((Rects{PageRectangle({12, 98, 976, 601}, 96), PageRectangle({0, 0, 300, 200}, 96),
                   PageRectangle({0, 0, 600, 500}, 144)}),
            (Rects{{32, 113, 936, 576}, {12, 10, 276, 180}, {18, 15, 564, 470}}));
}

PageLayoutInput NineRows(int height, bool caShown = false) {
  std::vector<PageRowInput> rows(7, {RowKind::Edit, 90});
  rows.insert(rows.end(), {{RowKind::Combo, 30}, {RowKind::Combo, 95}});
  return {Rect{0, 0, 700, height}, rows, 100, 90, true, caShown};
}

PageLayout Page(int dpi, const PageLayoutInput& in) {
  const auto l = ComputePageLayout(dpi, in);
  EXPECT_TRUE(l.has_value());
  return l.value_or(PageLayout{});
}

TEST(PageLayout, RowsShrinkGapsFirstThenHeights) {
  for (const auto& [height, ca, available, rowHeight, gap] : {std::tuple{398, false, 350, 30, 10},
                                                              {397, false, 349, 30, 9},
                                                              {342, false, 294, 30, 3},
                                                              {341, false, 293, 29, 4},
                                                              {248, false, 200, 24, 2},
                                                              {100, false, 80, 24, 2},
                                                              {439, true, 349, 30, 9}}) {
    const PageLayout l = Page(96, NineRows(height, ca));
    EXPECT_EQ(std::tuple(l.available, l.rowHeight, l.gap), std::tuple(available, rowHeight, gap))
        << height;
  }
  EXPECT_EQ(Page(144, NineRows(600, true)).available, 465);
  PageLayoutInput in = NineRows(1250);
  in.page.width = 1250;
  EXPECT_EQ((Rects{Page(120, in).rows[1].label, Page(120, in).writeButton}),
            (Rects{{0, 51, 150, 38}, {1055, 1200, 195, 50}}));
}

TEST(PageLayout, LabelColumnAndTopicPrefix) {
  for (const auto& [pageWidth, widestLabel, dpi, column] : {std::tuple{588, 400, 96, 199},
                                                            {589, 400, 96, 200},
                                                            {282, 400, 96, 96},
                                                            {1000, 90, 96, 120},
                                                            {1000, 150, 96, 160},
                                                            {2000, 10, 144, 180}}) {
    PageLayoutInput in{Rect{0, 0, pageWidth, 400}, {{RowKind::Edit, widestLabel}}};
    EXPECT_EQ(Page(dpi, in).labelColumn, column) << pageWidth;
  }
  // Prefix 52 % of the input (at most 260), 42 % under 340, at least 80; the edit keeps 90.
  for (const auto& [pageWidth, inputX, prefix, edit] : {std::tuple{800, 140, 260, 404},
                                                        {470, 140, 176, 158},
                                                        {469, 140, 142, 191},
                                                        {300, 122, 80, 102},
                                                        {250, 116, 80, 90}}) {
    PageLayoutInput in{Rect{10, 20, pageWidth, 400}, {{RowKind::Edit, 10}}};
    in.rows.push_back({RowKind::PrefixedEdit, 10});
    const PageRowPlacement row = Page(96, in).rows[1];
    EXPECT_EQ((Rects{row.prefix, row.input}),
              (Rects{{inputX, 60, prefix, 30}, {inputX + prefix + 6, 60, edit, 30}}));
  }
}

TEST(PageLayout, ButtonsAlongTheBottom) {
  PageLayout l = Page(96, {Rect{20, 100, 700, 500}, {{RowKind::Edit, 10}}, 100, 90});
  EXPECT_EQ((Rects{l.selfTestButton, l.writeButton, l.caButton}),
            (Rects{{20, 560, 156, 40}, {564, 560, 156, 40}, {20, 518, 280, 34}}));
  // The widest caption + 36, up to 220; narrow pages share the width, 24 apart, at least 110.
  for (const auto& [width, write, selfTest, hasSelfTest, want] :
       {std::tuple{700, 150, 90, true, 186},
        {700, 150, 400, true, 220},
        {700, 150, 400, false, 186},
        {300, 100, 90, true, 138},
        {200, 100, 90, true, 110}}) {
    l = Page(96, {Rect{0, 0, width, 500}, {{RowKind::Edit, 10}}, write, selfTest, hasSelfTest});
    EXPECT_EQ(std::tuple(l.writeButton.x, l.writeButton.width, l.selfTestButton.width),
              std::tuple(width - want, want, want))
        << width;
  }
  EXPECT_EQ(l.caButton.width, 200);
}

TEST(MainColors, RuleByControlKind) {
  using K = MainControlKind;
  for (const auto& [kind, enabled, useDefault, transparent, text, background] :
       {std::tuple{K::HeaderText, false, false, true, 0xFFFFFFu, 0x0F3460u},
        {K::Dialog, true, false, false, 0x374151u, 0xF5F7FAu},
        {K::StatusLine, false, false, true, 0xB91C1Cu, 0xF8F9FBu},
        {K::UsbLabel, true, false, true, 0x374151u, 0xF8F9FBu},
        {K::PageStatic, false, false, true, 0x9CA3AFu, 0xF5F7FAu},
        {K::PageStatic, true, false, true, 0x374151u, 0xF5F7FAu},
        {K::Edit, false, false, false, 0x111827u, 0xFFFFFFu},
        {K::Other, true, true, false, 0u, 0u},
        {K::List, true, false, false, 0x111827u, 0xFFFFFFu}}) {
    const ControlColors got = MainControlColors(kind, enabled, 0xB91C1C);
    EXPECT_EQ(std::tuple(got.useDefault, got.transparent, got.text, got.background),
              std::tuple(useDefault, transparent, text, background))
        << static_cast<int>(kind);
  }
}

}  // namespace
}  // namespace qm
