// SPDX-License-Identifier: MIT
#include "look/MainLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "look/MainColors.h"

namespace qm {

void PrintTo(const Rect& r, std::ostream* os) {
  *os << '{' << r.x << ", " << r.y << ", " << r.width << ", " << r.height << '}';
}

namespace {

constexpr int kDpis[] = {96, 120, 144, 192};

// Text widths of short captions, so that the minimum widths apply.
MainTextWidths ShortTexts() { return MainTextWidths{30, 60, 20, 40}; }

MainLayout Layout(int dpi, int w, int h, MainTextWidths texts = ShortTexts()) {
  const auto layout = ComputeMainLayout(dpi, Size{w, h}, texts);
  EXPECT_TRUE(layout.has_value());
  return layout.value_or(MainLayout{});
}

TEST(MainLayout, WindowSizes) {
  EXPECT_EQ(MainInitialSize(96), (Size{1000, 760}));
  EXPECT_EQ(MainMinimumSize(96), (Size{860, 700}));
  EXPECT_EQ(MainMinimumSize(144), (Size{1290, 1050}));
  EXPECT_EQ(MainInitialSize(120), (Size{1250, 950}));
  EXPECT_EQ(MainMinimumSize(192), (Size{1720, 1400}));
}

TEST(MainLayout, BackgroundBandsPerDpi) {
  const MainBackground b96 = ComputeMainBackground(96, Size{1000, 700});
  EXPECT_EQ(b96.header, (Rect{0, 0, 1000, 56}));
  EXPECT_EQ(b96.accent, (Rect{0, 54, 1000, 2}));
  EXPECT_EQ(b96.separator, (Rect{12, 700 - 6 - 36 - 12, 976, 1}));
  EXPECT_EQ(b96.statusBand, (Rect{0, 700 - 52, 1000, 52}));
  EXPECT_EQ(b96.cardBorder, 1);

  const MainBackground b144 = ComputeMainBackground(144, Size{1500, 1000});
  EXPECT_EQ(b144.header, (Rect{0, 0, 1500, 84}));
  EXPECT_EQ(b144.accent, (Rect{0, 81, 1500, 3}));
  EXPECT_EQ(b144.separator, (Rect{18, 1000 - 9 - 54 - 18, 1500 - 36, 2}));
  EXPECT_EQ(b144.statusBand, (Rect{0, 1000 - 54 - 18 - 6, 1500, 78}));

  // At 120 dpi each term is rounded on its own: 6->8, 36->45, 12->15.
  const MainBackground b120 = ComputeMainBackground(120, Size{1000, 800});
  EXPECT_EQ(b120.separator, (Rect{15, 800 - 8 - 45 - 15, 970, 1}));
  EXPECT_EQ(b120.accent, (Rect{0, 70 - 3, 1000, 3}));
}

TEST(MainLayout, NothingBelowTwoHundredPixels) {
  for (int dpi : kDpis) {
    const int limit = Scale(200, dpi);
    EXPECT_FALSE(ComputeMainLayout(dpi, Size{limit - 1, 800}, ShortTexts()).has_value());
    EXPECT_FALSE(ComputeMainLayout(dpi, Size{1200, limit - 1}, ShortTexts()).has_value());
    EXPECT_TRUE(ComputeMainLayout(dpi, Size{limit, limit}, ShortTexts()).has_value());
  }
}

TEST(MainLayout, DeviceComboFollowsWidthBetweenLimits) {
  struct Case {
    int width;
    int combo;
  };
  const Case cases[] = {{1000, 360}, {556, 200}, {555, 200}, {600, 216}, {1166, 419},
                        {1167, 420}, {2400, 420}};
  for (const Case& c : cases) {
    EXPECT_EQ(Layout(96, c.width, 760).usbCombo.width, c.combo) << c.width;
  }
}

TEST(MainLayout, NarrowWindowShrinksDeviceComboFirst) {
  struct Case {
    int width;
    int combo;
    int status;
    int connectRight;
  };
  const Case cases[] = {
      {500, 192, 140, 488},  // status 140 wanted: 500 - 40 - 88 - 40 = 332 for status and combo
      {400, 140, 92, 388},
      {300, 140, 80, 376},  // below a status of 80 the row runs past the right edge
  };
  for (const Case& c : cases) {
    const MainLayout l = Layout(96, c.width, 760);
    EXPECT_EQ(l.usbCombo.width, c.combo) << c.width;
    EXPECT_EQ(l.status.width, c.status) << c.width;
    EXPECT_EQ(l.connectButton.right(), c.connectRight) << c.width;
  }
}

TEST(MainLayout, StatusRowAt96Dpi) {
  const MainLayout l = Layout(96, 1000, 760, MainTextWidths{60, 100, 27, 50});
  EXPECT_EQ(l.usbLabel.width, 40);     // max(40, 27 + 8)
  EXPECT_EQ(l.connectButton.width, 88);  // max(88, 50 + 28)
  EXPECT_EQ(l.status, (Rect{12, 712, 1000 - 40 - 360 - 88 - 40, 36}));
  EXPECT_EQ(l.usbLabel, (Rect{12 + 472 + 8, 712, 40, 36}));
  EXPECT_EQ(l.usbCombo, (Rect{532, 717, 360, 26}));
  EXPECT_EQ(l.connectButton, (Rect{900, 716, 88, 28}));
  // A longer caption widens the button: "Disconnect" measured 70.
  const MainLayout wide = Layout(96, 1000, 760, MainTextWidths{60, 100, 36, 70});
  EXPECT_EQ(wide.connectButton.width, 98);
  EXPECT_EQ(wide.usbLabel.width, 44);
  EXPECT_EQ(wide.connectButton.right(), 988);
}

TEST(MainLayout, HeaderRowAt96And144Dpi) {
  MainLayout l = Layout(96, 1000, 760, MainTextWidths{60, 100, 30, 40});
  EXPECT_EQ(l.languageCombo, (Rect{900, 15, 88, 26}));
  EXPECT_EQ(l.languageLabel, (Rect{900 - 6 - 68, 15, 68, 26}));
  EXPECT_EQ(l.simulatorButton, (Rect{826 - 10 - 128, 13, 128, 30}));
  EXPECT_EQ(l.title, (Rect{0, 0, 1000 - (10 + 6 + 128 + 68 + 88) - 20, 56}));

  l = Layout(144, 1500, 1100, MainTextWidths{60, 100, 30, 40});
  EXPECT_EQ(l.title.height, 84);
  EXPECT_EQ(l.languageCombo, (Rect{1500 - 18 - 132, (84 - 39) / 2, 132, 39}));
  EXPECT_EQ(l.languageLabel.width, 78);      // max(78, 60 + 12)
  EXPECT_EQ(l.simulatorButton.width, 177);   // max(177, 100 + 42)
  EXPECT_EQ(l.simulatorButton.y, (84 - 45) / 2);
  EXPECT_EQ(l.status.height, 54);
  EXPECT_EQ(l.status.y, 1100 - 54 - 18);
}

TEST(MainLayout, SimulatorButtonStaysBetweenLimits) {
  for (int dpi : kDpis) {
    EXPECT_EQ(Layout(dpi, 2000, 1500, MainTextWidths{10, 5, 10, 10}).simulatorButton.width, Scale(118, dpi));
    EXPECT_EQ(Layout(dpi, 2000, 1500, MainTextWidths{10, 900, 10, 10}).simulatorButton.width, Scale(160, dpi));
    // Title keeps at least 160 even when the header is crowded.
    EXPECT_EQ(Layout(dpi, Scale(300, dpi), 1500, MainTextWidths{10, 900, 10, 10}).title.width,
              Scale(160, dpi));
  }
}

TEST(MainLayout, StatusRowEndsTwelveBeforeRightEdgeAtEveryDpi) {
  for (int dpi : kDpis) {
    for (int w : {Scale(860, dpi), Scale(1000, dpi), Scale(1600, dpi)}) {
      const MainLayout l = Layout(dpi, w, Scale(760, dpi));
      EXPECT_EQ(l.connectButton.right(), w - Scale(12, dpi)) << dpi << " " << w;
      EXPECT_EQ(l.usbCombo.x, l.usbLabel.right());
      EXPECT_TRUE(l.usbCombo.width >= Scale(140, dpi) && l.usbCombo.width <= Scale(420, dpi));
    }
  }
}

TEST(MainLayout, TabAreaAndMinimumHeight) {
  MainLayout l = Layout(96, 1000, 760);
  EXPECT_EQ(l.tab, Rect::FromEdges(12, 68, 988, 712 - 1 - 12));
  l = Layout(96, 1000, 250);  // 202 - 13 - 68 = 121: still enough
  EXPECT_EQ(l.tab.height, 121);
  l = Layout(96, 1000, 240);  // would be 111: kept at 120
  EXPECT_EQ(l.tab.height, 120);
  EXPECT_EQ(Layout(144, 1500, 310).tab.height, 180);
}

TEST(MainLayout, PageRectangleMargins) {
  EXPECT_EQ(TabDisplayArea(Rect{12, 68, 976, 631}, 30), (Rect{12, 98, 976, 601}));
  // 976 / 40 = 24 -> 20 at most; 601 / 40 = 15.
  EXPECT_EQ(PageRectangle(Rect{12, 98, 976, 601}, 96), Rect::FromEdges(32, 113, 968, 689));
  // Small areas keep the minimum margins of 12 and 10.
  EXPECT_EQ(PageRectangle(Rect{0, 0, 300, 200}, 96), Rect::FromEdges(12, 10, 288, 190));
  EXPECT_EQ(PageRectangle(Rect{0, 0, 600, 500}, 144), Rect::FromEdges(18, 15, 582, 485));
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
    int available;
    int rowHeight;
    int gap;
  };
  const Case cases[] = {{400, 30, 10}, {350, 30, 10}, {349, 30, 9}, {300, 30, 3},
                        {294, 30, 3},  {293, 29, 4},  {280, 28, 3}, {200, 24, 2}};
  for (const Case& c : cases) {
    const PageLayout l = Page(96, NineRows(c.available + 48));
    EXPECT_EQ(l.available, c.available);
    EXPECT_EQ(l.rowHeight, c.rowHeight) << c.available;
    EXPECT_EQ(l.gap, c.gap) << c.available;
  }
  // With A = 200 the last row ends 32 px into the room kept for the buttons.
  const PageLayout tight = Page(96, NineRows(248));
  EXPECT_EQ(tight.rows.back().label.bottom(), 232);
}

TEST(PageLayout, AvailableHeightKeepsRoomForButtonsAndCaButton) {
  EXPECT_EQ(Page(96, NineRows(500)).available, 452);
  EXPECT_EQ(Page(96, NineRows(500, true)).available, 410);
  EXPECT_EQ(Page(96, NineRows(100)).available, 80);
  EXPECT_EQ(Page(144, NineRows(600, true)).available, 600 - 12 - 60 - 12 - 51);
  // The CA button's room can shrink the rows: 392 available without, 350 with.
  EXPECT_EQ(Page(96, NineRows(398 + 42)).gap, 10);
  EXPECT_EQ(Page(96, NineRows(398 + 41, true)).gap, 9);
  EXPECT_EQ(Page(96, NineRows(348 + 42, true)).gap, 3);
}

TEST(PageLayout, SingleRowKeepsFullHeight) {
  PageLayoutInput in;
  in.page = Rect{0, 0, 400, 100};
  in.rows.push_back({RowKind::Edit, 50});
  const PageLayout l = Page(96, in);
  EXPECT_EQ(l.rowHeight, 30);
  EXPECT_EQ(l.rows[0].input, (Rect{130, 0, 270, 30}));
}

TEST(PageLayout, NothingForEmptyOrTooNarrowPages) {
  for (int dpi : kDpis) {
    PageLayoutInput in = NineRows(400);
    in.page.width = Scale(160, dpi) - 1;
    EXPECT_FALSE(ComputePageLayout(dpi, in).has_value());
    in.page.width = Scale(160, dpi);
    EXPECT_TRUE(ComputePageLayout(dpi, in).has_value());
    in.rows.clear();
    EXPECT_FALSE(ComputePageLayout(dpi, in).has_value());
  }
}

TEST(PageLayout, LabelColumn) {
  struct Case {
    int pageWidth;
    int widestLabel;
    int column;
  };
  const Case cases[] = {
      {500, 400, 170},  // 34 % of the page
      {588, 400, 199},  {589, 400, 200}, {1200, 400, 200},  // capped at 200
      {282, 400, 96},   {283, 400, 96},   {200, 400, 96},    // never below 96
      {1000, 90, 120},  // short labels: 120
      {1000, 150, 160},  // label + 10
  };
  for (const Case& c : cases) {
    PageLayoutInput in;
    in.page = Rect{0, 0, c.pageWidth, 400};
    in.rows = {{RowKind::Edit, c.widestLabel}, {RowKind::Edit, 10}};
    EXPECT_EQ(Page(96, in).labelColumn, c.column) << c.pageWidth;
  }
  PageLayoutInput in;
  in.page = Rect{0, 0, 2000, 400};
  in.rows = {{RowKind::Edit, 10}};
  EXPECT_EQ(Page(192, in).labelColumn, 240);
  EXPECT_EQ(Page(120, in).labelColumn, 150);
}

TEST(PageLayout, TopicPrefixWidth) {
  struct Case {
    int pageWidth;
    int prefix;
    int edit;
  };
  // Input column = page - label column - 10 with short labels (column 120,
  // or 34 % on small pages).
  const Case cases[] = {
      {800, 260, 404},  // input 670: 52 % = 348, capped at 260
      {600, 244, 220},  // input 470: 52 %
      {470, 176, 158},  // input 340: still 52 %
      {469, 142, 191},  // input 339: 42 %
      {300, 80, 102},   // column 102, input 188: 42 % = 78, at least 80
      {250, 80, 90},    // column 96, input 144: edit kept at 90
  };
  for (const Case& c : cases) {
    PageLayoutInput in;
    in.page = Rect{10, 20, c.pageWidth, 400};
    in.rows = {{RowKind::Edit, 10}, {RowKind::PrefixedEdit, 10}};
    const PageLayout l = Page(96, in);
    const PageRowPlacement& row = l.rows[1];
    const int inputX = 10 + l.labelColumn + 10;
    EXPECT_EQ(row.prefix, (Rect{inputX, row.label.y, c.prefix, row.label.height})) << c.pageWidth;
    EXPECT_EQ(row.input.x, inputX + c.prefix + 6);
    EXPECT_EQ(row.input.width, c.edit) << c.pageWidth;
    EXPECT_EQ(l.rows[0].input.x, inputX);
    EXPECT_EQ(l.rows[0].input.right(), std::max(10 + c.pageWidth, inputX + 80));
  }
}

TEST(PageLayout, ButtonsAlongTheBottom) {
  PageLayoutInput in = NineRows(500);
  in.page = Rect{20, 100, 700, 500};
  PageLayout l = Page(96, in);
  EXPECT_EQ(l.selfTestButton, (Rect{20, 560, 156, 40}));
  EXPECT_EQ(l.writeButton, (Rect{720 - 156, 560, 156, 40}));
  EXPECT_EQ(l.caButton, (Rect{20, 560 - 8 - 34, 280, 34}));

  // Captions widen the buttons up to 220 (caption 184 + 36).
  in.writeCaptionWidth = 150;
  EXPECT_EQ(Page(96, in).writeButton.width, 186);
  in.selfTestCaptionWidth = 170;
  EXPECT_EQ(Page(96, in).selfTestButton.width, 206);
  in.selfTestCaptionWidth = 400;
  EXPECT_EQ(Page(96, in).writeButton.width, 220);
  // Without a self-test button its caption does not count.
  in.hasSelfTest = false;
  EXPECT_EQ(Page(96, in).writeButton.width, 186);

  // Narrow page: both buttons share the width, 24 apart, at least 110.
  in = NineRows(500);
  in.page = Rect{0, 0, 300, 500};
  l = Page(96, in);
  EXPECT_EQ(l.writeButton.width, 138);
  EXPECT_EQ(l.writeButton.x - l.selfTestButton.right(), 24);
  in.page.width = 200;
  l = Page(96, in);
  EXPECT_EQ(l.writeButton.width, 110);
  EXPECT_EQ(l.caButton.width, 200);
}

TEST(PageLayout, EveryDpiScalesTheConstants) {
  for (int dpi : kDpis) {
    PageLayoutInput in = NineRows(Scale(1000, dpi));
    in.page.width = Scale(1000, dpi);
    const PageLayout l = Page(dpi, in);
    EXPECT_EQ(l.rowHeight, Scale(30, dpi));
    EXPECT_EQ(l.gap, Scale(10, dpi));
    EXPECT_EQ(l.writeButton.height, Scale(40, dpi));
    EXPECT_EQ(l.writeButton.width, Scale(156, dpi));
    EXPECT_EQ(l.rows[1].label.y, Scale(30, dpi) + Scale(10, dpi));
  }
}

TEST(MainColors, RuleByControlKind) {
  EXPECT_EQ(MainControlColors(MainControlKind::HeaderText, false, 0).text, 0xFFFFFFu);
  EXPECT_EQ(MainControlColors(MainControlKind::HeaderText, false, 0).background, 0x0F3460u);
  EXPECT_TRUE(MainControlColors(MainControlKind::HeaderText, true, 0).transparent);
  EXPECT_EQ(MainControlColors(MainControlKind::Dialog, true, 0).background, 0xF5F7FAu);
  EXPECT_EQ(MainControlColors(MainControlKind::StatusLine, false, 0xB91C1C).text, 0xB91C1Cu);
  EXPECT_EQ(MainControlColors(MainControlKind::StatusLine, false, 0xB91C1C).background, 0xF8F9FBu);
  EXPECT_EQ(MainControlColors(MainControlKind::UsbLabel, false, 0).text, 0x374151u);
  EXPECT_EQ(MainControlColors(MainControlKind::UsbLabel, false, 0).background, 0xF8F9FBu);
  EXPECT_EQ(MainControlColors(MainControlKind::PageStatic, false, 0).text, 0x9CA3AFu);
  EXPECT_EQ(MainControlColors(MainControlKind::PageStatic, true, 0).text, 0x374151u);
  EXPECT_EQ(MainControlColors(MainControlKind::PageStatic, true, 0).background, 0xF5F7FAu);
  EXPECT_EQ(MainControlColors(MainControlKind::Edit, false, 0).text, 0x111827u);
  EXPECT_EQ(MainControlColors(MainControlKind::List, true, 0).background, 0xFFFFFFu);
  EXPECT_TRUE(MainControlColors(MainControlKind::Other, true, 0).useDefault);
  EXPECT_FALSE(MainControlColors(MainControlKind::Edit, true, 0).useDefault);
}

}  // namespace
}  // namespace qm
