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
  return ComputeMainLayout(dpi, Size{w, h}, texts).value_or(MainLayout{});
}

PageLayout Page(int dpi, const PageLayoutInput& in) {
  const auto l = ComputePageLayout(dpi, in);
  EXPECT_TRUE(l.has_value());
  return l.value_or(PageLayout{});
}

TEST(MainLayout, WindowSizesBandsAndLimits) {
  EXPECT_EQ((std::vector{MainInitialSize(96), MainInitialSize(120), MainMinimumSize(144)}),
            (std::vector<Size>{{1000, 760}, {1250, 950}, {1290, 1050}}));
  const MainBackground b96 = ComputeMainBackground(96, Size{1000, 700});
  const MainBackground b144 = ComputeMainBackground(144, Size{1500, 1000});
  const Rect bands[] = {{0, 0, 1000, 56},   {0, 54, 1000, 2}, {12, 646, 976, 1},
                        {0, 648, 1000, 52}, {0, 81, 1500, 3}, {18, 919, 1464, 2},
                        {0, 922, 1500, 78}, {15, 732, 970, 1}};
  EXPECT_EQ(
      (Rects{b96.header, b96.accent, b96.separator, b96.statusBand, b144.accent, b144.separator,
             b144.statusBand, ComputeMainBackground(120, {1000, 800}).separator}),
      Rects(std::begin(bands), std::end(bands)));
  EXPECT_EQ(std::tuple(b96.cardBorder, b144.cardBorder), std::tuple(1, 2));
  // Nothing below 200 (96 dpi) in either direction; the simulator button 118..160, the title
  // at least 160 wide; a page at least 160 wide and with rows.
  for (const auto& [dpi, s200, s118, s160, s300] :
       {std::tuple{96, 200, 118, 160, 300}, std::tuple{144, 300, 177, 240, 450}}) {
    const auto fits = [d = dpi](int w, int h) { return ComputeMainLayout(d, {w, h}, kShort); };
    const auto page = [d = dpi](int w, std::vector<PageRowInput> rows) {
      return ComputePageLayout(d, {Rect{0, 0, w, 400}, rows}).has_value();
    };
    EXPECT_EQ((std::vector{fits(s200 - 1, 800).has_value(), fits(1200, s200 - 1).has_value(),
                           fits(s200, s200).has_value(), page(s160 - 1, {{RowKind::Edit, 10}}),
                           page(s160, {{RowKind::Edit, 10}}), page(s160, {})}),
              (std::vector{false, false, true, false, true, false}));
    EXPECT_EQ(std::tuple(Layout(dpi, 2000, 1500, {10, 5, 10, 10}).simulatorButton.width,
                         Layout(dpi, 2000, 1500, {10, 900, 10, 10}).simulatorButton.width,
                         Layout(dpi, s300, 1500, {10, 900, 10, 10}).title.width),
              std::tuple(s118, s160, s160));
  }
}

// Client width: device list width, status width, right edge of Connect.
const std::tuple<int, int, int, int> kStatusRow[] = {{1167, 420, 579, 1155}, {1166, 419, 579, 1154},
                                                     {556, 200, 188, 544},   {555, 200, 187, 543},
                                                     {500, 192, 140, 488},   {300, 140, 80, 376}};

TEST(MainLayout, StatusRowHeaderAndTabArea) {
  for (const auto& [width, combo, status, connectRight] : kStatusRow) {
    const MainLayout l = Layout(96, width, 760);
    EXPECT_EQ(std::tuple(l.usbCombo.width, l.status.width, l.connectButton.right()),
              std::tuple(combo, status, connectRight))
        << width;
  }
  MainLayout l = Layout(96, 1000, 760, MainTextWidths{60, 100, 36, 70});  // text + 8, + 28
  const Rect at96[] = {{12, 712, 458, 36}, {478, 712, 44, 36}, {522, 717, 360, 26},
                       {890, 716, 98, 28}, {900, 15, 88, 26},  {826, 15, 68, 26},
                       {688, 13, 128, 30}, {0, 0, 680, 56},    {12, 68, 976, 631}};
  EXPECT_EQ((Rects{l.status, l.usbLabel, l.usbCombo, l.connectButton, l.languageCombo,
                   l.languageLabel, l.simulatorButton, l.title, l.tab}),
            Rects(std::begin(at96), std::end(at96)));
  l = Layout(144, 1500, 1100, MainTextWidths{60, 100, 30, 40});
  EXPECT_EQ(
      (Rects{l.languageCombo, l.languageLabel, l.simulatorButton, l.status}),
      (Rects{{1350, 22, 132, 39}, {1263, 22, 78, 39}, {1071, 19, 177, 45}, {18, 1028, 708, 54}}));
  EXPECT_EQ((std::vector{Layout(96, 1000, 250).tab.height, Layout(96, 1000, 240).tab.height,
                         Layout(144, 1500, 310).tab.height}),
            (std::vector{121, 120, 180}));
  EXPECT_EQ(
      (Rects{TabDisplayArea(Rect{12, 68, 976, 631}, 30), PageRectangle({12, 98, 976, 601}, 96),
             PageRectangle({0, 0, 300, 200}, 96), PageRectangle({0, 0, 600, 500}, 144)}),
      (Rects{{12, 98, 976, 601}, {32, 113, 936, 576}, {12, 10, 276, 180}, {18, 15, 564, 470}}));
}

// Page height, CA button shown: rows' room, height and gap; gaps give way first, then heights.
const std::tuple<int, bool, int, int, int> kNineRows[] = {
    {398, false, 350, 30, 10}, {397, false, 349, 30, 9}, {342, false, 294, 30, 3},
    {341, false, 293, 29, 4},  {248, false, 200, 24, 2}, {100, false, 80, 24, 2},
    {439, true, 349, 30, 9}};

PageLayoutInput NineRows(int height, bool caShown = false) {
  std::vector<PageRowInput> rows(7, {RowKind::Edit, 90});
  rows.insert(rows.end(), {{RowKind::Combo, 30}, {RowKind::Combo, 95}});
  return {Rect{0, 0, 700, height}, rows, 100, 90, true, caShown};
}

TEST(PageLayout, RowsShrinkGapsFirstThenHeights) {
  for (const auto& [height, ca, available, rowHeight, gap] : kNineRows) {
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

// Page width, widest label, dpi: the label column (120 wanted, 96..200, 34 % of the page).
const std::tuple<int, int, int, int> kLabelColumn[] = {{588, 400, 96, 199},  {589, 400, 96, 200},
                                                       {282, 400, 96, 96},   {1000, 90, 96, 120},
                                                       {1000, 150, 96, 160}, {2000, 10, 144, 180}};
// Prefix 52 % of the input (at most 260), 42 % under 340, at least 80; the edit keeps 90.
// clang-format off
const std::tuple<int, int, int, int> kPrefix[] = {
    {800, 140, 260, 404}, {470, 140, 176, 158}, {469, 140, 142, 191}, {300, 122, 80, 102},
    {250, 116, 80, 90}};
// clang-format on

TEST(PageLayout, LabelColumnAndTopicPrefix) {
  for (const auto& [pageWidth, widestLabel, dpi, column] : kLabelColumn) {
    PageLayoutInput in{Rect{0, 0, pageWidth, 400}, {{RowKind::Edit, widestLabel}}};
    EXPECT_EQ(Page(dpi, in).labelColumn, column) << pageWidth;
  }
  for (const auto& [pageWidth, inputX, prefix, edit] : kPrefix) {
    PageLayoutInput in{Rect{10, 20, pageWidth, 400}, {{RowKind::Edit, 10}}};
    in.rows.push_back({RowKind::PrefixedEdit, 10});
    const PageRowPlacement row = Page(96, in).rows[1];
    EXPECT_EQ((Rects{row.prefix, row.input}),
              (Rects{{inputX, 60, prefix, 30}, {inputX + prefix + 6, 60, edit, 30}}));
  }
}

// The widest caption + 36, up to 220; narrow pages share the width, 24 apart, at least 110.
// clang-format off
const std::tuple<int, int, int, bool, int> kButtons[] = {
    {700, 150, 90, true, 186}, {700, 150, 400, true, 220}, {700, 150, 400, false, 186},
    {300, 100, 90, true, 138}, {200, 100, 90, true, 110}};
// clang-format on

TEST(PageLayout, ButtonsAlongTheBottom) {
  PageLayout l = Page(96, {Rect{20, 100, 700, 500}, {{RowKind::Edit, 10}}, 100, 90});
  EXPECT_EQ((Rects{l.selfTestButton, l.writeButton, l.caButton}),
            (Rects{{20, 560, 156, 40}, {564, 560, 156, 40}, {20, 518, 280, 34}}));
  for (const auto& [width, write, selfTest, hasSelfTest, want] : kButtons) {
    l = Page(96, {Rect{0, 0, width, 500}, {{RowKind::Edit, 10}}, write, selfTest, hasSelfTest});
    EXPECT_EQ(std::tuple(l.writeButton.x, l.writeButton.width, l.selfTestButton.width),
              std::tuple(width - want, want, want))
        << width;
  }
  EXPECT_EQ(l.caButton.width, 200);
}

using K = MainControlKind;
const std::tuple<K, bool, bool, bool, Rgb, Rgb> kControlColours[] = {
    {K::HeaderText, false, false, true, 0xFFFFFF, 0x0F3460},
    {K::Dialog, true, false, false, 0x374151, 0xF5F7FA},
    {K::StatusLine, false, false, true, 0xB91C1C, 0xF8F9FB},
    {K::UsbLabel, true, false, true, 0x374151, 0xF8F9FB},
    {K::PageStatic, false, false, true, 0x9CA3AF, 0xF5F7FA},
    {K::PageStatic, true, false, true, 0x374151, 0xF5F7FA},
    {K::Edit, false, false, false, 0x111827, 0xFFFFFF},
    {K::Other, true, true, false, 0, 0},
    {K::List, true, false, false, 0x111827, 0xFFFFFF}};

TEST(MainColors, PaintedBandsAndRuleByControlKind) {
  // Window, header band, accent line, separator and card outline, status band, card.
  EXPECT_EQ((std::vector{kMainWindowBackground, kMainHeaderBand, kMainAccentLine, kMainBorderLine,
                         kMainStatusBand, kMainCard}),
            (std::vector<Rgb>{0xF5F7FA, 0x0F3460, 0x0969DA, 0xD1D5DB, 0xF8F9FB, 0xFFFFFF}));
  for (const auto& [kind, enabled, useDefault, transparent, text, background] : kControlColours) {
    const ControlColors got = MainControlColors(kind, enabled, 0xB91C1C);
    EXPECT_EQ(std::tuple(got.useDefault, got.transparent, got.text, got.background),
              std::tuple(useDefault, transparent, text, background))
        << static_cast<int>(kind);
  }
}

}  // namespace
}  // namespace qm
