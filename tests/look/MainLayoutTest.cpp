// SPDX-License-Identifier: MIT
#include "look/MainLayout.h"

#include <gtest/gtest.h>

#include <ostream>

#include "look/MainColors.h"

namespace qm {

void PrintTo(const Rect& r, std::ostream* os) {
  *os << '{' << r.x << ", " << r.y << ", " << r.width << ", " << r.height << '}';
}

namespace {

// Text widths of short captions, so that the minimum widths apply.
constexpr MainTextWidths kShort{30, 60, 20, 40};

MainLayout Layout(int dpi, int w, int h, MainTextWidths texts = kShort) {
  const auto layout = ComputeMainLayout(dpi, Size{w, h}, texts);
  EXPECT_TRUE(layout.has_value()) << dpi << " " << w << "x" << h;
  return layout.value_or(MainLayout{});
}

TEST(MainLayout, WindowSizesAndBackgroundBands) {
  EXPECT_EQ(MainInitialSize(96), (Size{1000, 760}));
  EXPECT_EQ(MainInitialSize(120), (Size{1250, 950}));
  EXPECT_EQ(MainMinimumSize(144), (Size{1290, 1050}));
  EXPECT_EQ(MainMinimumSize(192), (Size{1720, 1400}));
  const MainBackground b96 = ComputeMainBackground(96, Size{1000, 700});
  EXPECT_EQ(b96.header, (Rect{0, 0, 1000, 56}));
  EXPECT_EQ(b96.accent, (Rect{0, 54, 1000, 2}));
  EXPECT_EQ(b96.separator, (Rect{12, 646, 976, 1}));
  EXPECT_EQ(b96.statusBand, (Rect{0, 648, 1000, 52}));
  EXPECT_EQ(b96.cardBorder, 1);
  const MainBackground b144 = ComputeMainBackground(144, Size{1500, 1000});
  EXPECT_EQ(b144.accent, (Rect{0, 81, 1500, 3}));
  EXPECT_EQ(b144.separator, (Rect{18, 919, 1464, 2}));
  EXPECT_EQ(b144.statusBand, (Rect{0, 922, 1500, 78}));
  // At 120 dpi each term is rounded on its own: 6->8, 36->45, 12->15, 2->3.
  const MainBackground b120 = ComputeMainBackground(120, Size{1000, 800});
  EXPECT_EQ(b120.separator, (Rect{15, 732, 970, 1}));
  EXPECT_EQ(b120.accent, (Rect{0, 67, 1000, 3}));
}

TEST(MainLayout, LimitsAtEveryDpi) {
  struct Case {
    int dpi, s200, s12, s118, s160, s300;
  };
  const Case cases[] = {{96, 200, 12, 118, 160, 300},
                        {120, 250, 15, 148, 200, 375},
                        {144, 300, 18, 177, 240, 450},
                        {192, 400, 24, 236, 320, 600}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_FALSE(ComputeMainLayout(c.dpi, Size{c.s200 - 1, 800}, kShort).has_value());
    EXPECT_FALSE(ComputeMainLayout(c.dpi, Size{1200, c.s200 - 1}, kShort).has_value());
    EXPECT_TRUE(ComputeMainLayout(c.dpi, Size{c.s200, c.s200}, kShort).has_value());
    EXPECT_EQ(Layout(c.dpi, 2000, 1500, {10, 5, 10, 10}).simulatorButton.width, c.s118);
    EXPECT_EQ(Layout(c.dpi, 2000, 1500, {10, 900, 10, 10}).simulatorButton.width, c.s160);
    // The title keeps at least 160 in a crowded header.
    EXPECT_EQ(Layout(c.dpi, c.s300, 1500, {10, 900, 10, 10}).title.width, c.s160);
    EXPECT_EQ(Layout(c.dpi, 1601, 1200).connectButton.right(), 1601 - c.s12);
    // A page narrower than 160 or without rows gets no layout.
    PageLayoutInput page{Rect{0, 0, c.s160 - 1, 400}, {{RowKind::Edit, 10}}};
    EXPECT_FALSE(ComputePageLayout(c.dpi, page).has_value());
    page.page.width = c.s160;
    EXPECT_TRUE(ComputePageLayout(c.dpi, page).has_value());
    page.rows.clear();
    EXPECT_FALSE(ComputePageLayout(c.dpi, page).has_value());
  }
}

TEST(MainLayout, StatusRowAndDeviceComboByWidth) {
  struct Case {
    int width, combo, status, connectRight;
  };
  const Case cases[] = {
      {2400, 420, 1812, 2388}, {1167, 420, 579, 1155}, {1166, 419, 579, 1154},
      {1000, 360, 472, 988},   {556, 200, 188, 544},   {555, 200, 187, 543},
      {500, 192, 140, 488},  // the wanted status of 140 shrinks the combo first
      {400, 140, 92, 388},     {300, 140, 80, 376},  // below 80 the row runs past the edge
  };
  for (const Case& c : cases) {
    const MainLayout l = Layout(96, c.width, 760);
    EXPECT_EQ(l.usbCombo.width, c.combo) << c.width;
    EXPECT_EQ(l.status.width, c.status) << c.width;
    EXPECT_EQ(l.connectButton.right(), c.connectRight) << c.width;
  }
  const MainLayout l = Layout(96, 1000, 760, MainTextWidths{60, 100, 27, 50});
  EXPECT_EQ(l.status, (Rect{12, 712, 472, 36}));
  EXPECT_EQ(l.usbLabel, (Rect{492, 712, 40, 36}));
  EXPECT_EQ(l.usbCombo, (Rect{532, 717, 360, 26}));
  EXPECT_EQ(l.connectButton, (Rect{900, 716, 88, 28}));
  // Longer captions widen the label (text + 8) and the button (text + 28).
  const MainLayout wide = Layout(96, 1000, 760, MainTextWidths{60, 100, 36, 70});
  EXPECT_EQ(wide.usbLabel.width, 44);
  EXPECT_EQ(wide.connectButton, (Rect{890, 716, 98, 28}));
}

TEST(MainLayout, HeaderRowAndTabArea) {
  MainLayout l = Layout(96, 1000, 760, MainTextWidths{60, 100, 30, 40});
  EXPECT_EQ(l.languageCombo, (Rect{900, 15, 88, 26}));
  EXPECT_EQ(l.languageLabel, (Rect{826, 15, 68, 26}));
  EXPECT_EQ(l.simulatorButton, (Rect{688, 13, 128, 30}));
  EXPECT_EQ(l.title, (Rect{0, 0, 680, 56}));
  EXPECT_EQ(l.tab, (Rect{12, 68, 976, 631}));
  l = Layout(144, 1500, 1100, MainTextWidths{60, 100, 30, 40});
  EXPECT_EQ(l.languageCombo, (Rect{1350, 22, 132, 39}));
  EXPECT_EQ(l.languageLabel.width, 78);
  EXPECT_EQ(l.simulatorButton, (Rect{1071, 19, 177, 45}));
  EXPECT_EQ(l.status, (Rect{18, 1028, l.status.width, 54}));
  // The tab area keeps 120 at least: 121 fits at 250, 111 would not at 240.
  EXPECT_EQ(Layout(96, 1000, 250).tab.height, 121);
  EXPECT_EQ(Layout(96, 1000, 240).tab.height, 120);
  EXPECT_EQ(Layout(144, 1500, 310).tab.height, 180);
  EXPECT_EQ(TabDisplayArea(Rect{12, 68, 976, 631}, 30), (Rect{12, 98, 976, 601}));
  // Margins: 1/40 of the area, at most 20 and 15, at least 12 and 10.
  EXPECT_EQ(PageRectangle(Rect{12, 98, 976, 601}, 96), (Rect{32, 113, 936, 576}));
  EXPECT_EQ(PageRectangle(Rect{0, 0, 300, 200}, 96), (Rect{12, 10, 276, 180}));
  EXPECT_EQ(PageRectangle(Rect{0, 0, 600, 500}, 144), (Rect{18, 15, 564, 470}));
}

PageLayoutInput NineRows(int height, bool caShown = false) {
  PageLayoutInput in;
  in.page = Rect{0, 0, 700, height};
  for (int i = 0; i < 7; ++i) in.rows.push_back({RowKind::Edit, 90});
  in.rows.push_back({RowKind::Combo, 30});
  in.rows.push_back({RowKind::Combo, 95});
  in.writeCaptionWidth = 100;
  in.selfTestCaptionWidth = 90;
  in.caButtonShown = caShown;
  return in;
}

PageLayout Page(int dpi, const PageLayoutInput& in) {
  const auto l = ComputePageLayout(dpi, in);
  EXPECT_TRUE(l.has_value());
  return l.value_or(PageLayout{});
}

TEST(PageLayout, RowsShrinkGapsFirstThenHeights) {
  struct Case {
    int height, available, rowHeight, gap;
    bool ca;
  };
  const Case cases[] = {
      {448, 400, 30, 10, false}, {398, 350, 30, 10, false}, {397, 349, 30, 9, false},
      {348, 300, 30, 3, false},  {342, 294, 30, 3, false},  {341, 293, 29, 4, false},
      {328, 280, 28, 3, false},  {248, 200, 24, 2, false},  {500, 452, 30, 10, false},
      {100, 80, 24, 2, false},  // the rows keep 80 at least
      {500, 410, 30, 10, true},  // the shown CA button takes 34 + 8
      {439, 349, 30, 9, true},   {390, 300, 30, 3, true},
  };
  for (const Case& c : cases) {
    const PageLayout l = Page(96, NineRows(c.height, c.ca));
    EXPECT_EQ(l.available, c.available) << c.height;
    EXPECT_EQ(l.rowHeight, c.rowHeight) << c.height;
    EXPECT_EQ(l.gap, c.gap) << c.height;
  }
  EXPECT_EQ(Page(144, NineRows(600, true)).available, 465);
  EXPECT_EQ(Page(96, NineRows(248)).rows.back().label.bottom(), 232);
  // The same page at 120 dpi: 30 -> 38, 10 -> 13, 40 -> 50, 156 -> 195.
  PageLayoutInput in = NineRows(1250);
  in.page.width = 1250;
  const PageLayout l = Page(120, in);
  EXPECT_EQ(l.rows[1].label, (Rect{0, 51, 150, 38}));
  EXPECT_EQ(l.writeButton, (Rect{1055, 1200, 195, 50}));
}

TEST(PageLayout, LabelColumnAndTopicPrefix) {
  struct Column {
    int pageWidth, widestLabel, dpi, column;
  };
  const Column columns[] = {
      {500, 400, 96, 170},  {588, 400, 96, 199},  {589, 400, 96, 200}, {1200, 400, 96, 200},
      {282, 400, 96, 96},   {200, 400, 96, 96},   {1000, 90, 96, 120}, {1000, 150, 96, 160},
      {2000, 10, 192, 240}, {2000, 10, 120, 150},
  };
  for (const Column& c : columns) {
    PageLayoutInput in;
    in.page = Rect{0, 0, c.pageWidth, 400};
    in.rows = {{RowKind::Edit, c.widestLabel}, {RowKind::Edit, 10}};
    EXPECT_EQ(Page(c.dpi, in).labelColumn, c.column) << c.pageWidth;
  }
  struct Prefix {
    int pageWidth, inputX, prefix, edit;
  };
  const Prefix prefixes[] = {
      {800, 140, 260, 404},  // input 670: 52 % = 348, capped at 260
      {470, 140, 176, 158},  // input 340: still 52 %
      {469, 140, 142, 191},  // input 339: 42 %
      {300, 122, 80, 102},   // 42 % = 78: at least 80
      {250, 116, 80, 90},    // the edit keeps 90
  };
  for (const Prefix& c : prefixes) {
    PageLayoutInput in;
    in.page = Rect{10, 20, c.pageWidth, 400};
    in.rows = {{RowKind::Edit, 10}, {RowKind::PrefixedEdit, 10}};
    const PageRowPlacement row = Page(96, in).rows[1];
    EXPECT_EQ(row.prefix, (Rect{c.inputX, 60, c.prefix, 30})) << c.pageWidth;
    EXPECT_EQ(row.input, (Rect{c.inputX + c.prefix + 6, 60, c.edit, 30})) << c.pageWidth;
  }
}

TEST(PageLayout, ButtonsAlongTheBottom) {
  PageLayoutInput in = NineRows(500);
  in.page = Rect{20, 100, 700, 500};
  PageLayout l = Page(96, in);
  EXPECT_EQ(l.selfTestButton, (Rect{20, 560, 156, 40}));
  EXPECT_EQ(l.writeButton, (Rect{564, 560, 156, 40}));
  EXPECT_EQ(l.caButton, (Rect{20, 518, 280, 34}));
  // Both buttons take the widest caption + 36, up to 220.
  in.writeCaptionWidth = 150;
  EXPECT_EQ(Page(96, in).writeButton.width, 186);
  in.selfTestCaptionWidth = 170;
  EXPECT_EQ(Page(96, in).selfTestButton.width, 206);
  in.selfTestCaptionWidth = 400;
  EXPECT_EQ(Page(96, in).writeButton.width, 220);
  in.hasSelfTest = false;
  EXPECT_EQ(Page(96, in).writeButton.width, 186);
  // Narrow page: both share the width, 24 apart, at least 110.
  in = NineRows(500);
  in.page = Rect{0, 0, 300, 500};
  l = Page(96, in);
  EXPECT_EQ(l.selfTestButton, (Rect{0, 460, 138, 40}));
  EXPECT_EQ(l.writeButton, (Rect{162, 460, 138, 40}));
  in.page.width = 200;
  l = Page(96, in);
  EXPECT_EQ(l.writeButton.width, 110);
  EXPECT_EQ(l.caButton.width, 200);
}

TEST(MainColors, RuleByControlKind) {
  struct Case {
    MainControlKind kind;
    bool enabled;
    ControlColors expected;
  };
  const Case cases[] = {
      {MainControlKind::HeaderText, false, {false, true, 0xFFFFFF, 0x0F3460}},
      {MainControlKind::Dialog, true, {false, false, 0x374151, 0xF5F7FA}},
      {MainControlKind::StatusLine, false, {false, true, 0xB91C1C, 0xF8F9FB}},
      {MainControlKind::UsbLabel, true, {false, true, 0x374151, 0xF8F9FB}},
      {MainControlKind::PageStatic, false, {false, true, 0x9CA3AF, 0xF5F7FA}},
      {MainControlKind::PageStatic, true, {false, true, 0x374151, 0xF5F7FA}},
      {MainControlKind::Edit, false, {false, false, 0x111827, 0xFFFFFF}},
      {MainControlKind::List, true, {false, false, 0x111827, 0xFFFFFF}},
      {MainControlKind::Other, true, {true, false, 0, 0}},
  };
  for (const Case& c : cases) {
    const ControlColors got = MainControlColors(c.kind, c.enabled, 0xB91C1C);
    const ControlColors& want = c.expected;
    EXPECT_EQ(got.useDefault, want.useDefault) << static_cast<int>(c.kind);
    EXPECT_EQ(got.transparent, want.transparent) << static_cast<int>(c.kind);
    EXPECT_EQ(got.text, want.text) << static_cast<int>(c.kind);
    EXPECT_EQ(got.background, want.background) << static_cast<int>(c.kind);
  }
}

}  // namespace
}  // namespace qm
