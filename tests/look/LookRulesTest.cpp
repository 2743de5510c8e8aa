// SPDX-License-Identifier: MIT
// Scaling, the button look, the layouts of the three windows and the main window's colours.
#include <gtest/gtest.h>

#include <tuple>

#include "look/ButtonLook.h"
#include "look/CaCertLayout.h"
#include "look/MainColors.h"
#include "look/MainLayout.h"
#include "look/SimLayout.h"

namespace qm {

using Rects = std::vector<Rect>;
using S = ButtonState;
using K = MainControlKind;
constexpr MainTextWidths kShort{30, 60, 20, 40};  // short captions: the minimum widths apply

// clang-format off
// Half away from zero, for both signs; below 96 dpi too.
const std::tuple<int, int, int> kScaled[] = {{1, 96, 1}, {1, 144, 2}, {10, 120, 13}, {0, 192, 0},
    {-1, 144, -2}, {-10, 120, -13}, {7, 72, 5}, {5, 72, 4}, {860, 144, 1290}};
const std::tuple<bool, S, ButtonColors> kButtonColours[] = {
    {true, S::Disabled, {0x94C2EA, 0x94C2EA, 0xFFFFFF}}, {true, S::Pressed, {0x03367A, 0x03367A, 0xFFFFFF}},
    {true, S::Hover, {0x0550AE, 0x0550AE, 0xFFFFFF}}, {true, S::Normal, {0x0969DA, 0x0969DA, 0xFFFFFF}},
    {false, S::Disabled, {0xF3F4F6, 0xDADEE2, 0x8C959F}}, {false, S::Pressed, {0xD6DBE3, 0xD0D7DE, 0x24292F}},
    {false, S::Hover, {0xEAEEF2, 0xD0D7DE, 0x24292F}}, {false, S::Normal, {0xF6F8FA, 0xD0D7DE, 0x24292F}}};
// Kind, pages enabled: default look, transparent, text and background.
const std::tuple<K, bool, std::tuple<bool, bool, Rgb, Rgb>> kControlColours[] = {
    {K::HeaderText, false, {false, true, 0xFFFFFF, 0x0F3460}}, {K::Dialog, true, {false, false, 0x374151, 0xF5F7FA}},
    {K::StatusLine, false, {false, true, 0xB91C1C, 0xF8F9FB}}, {K::UsbLabel, true, {false, true, 0x374151, 0xF8F9FB}},
    {K::Edit, false, {false, false, 0x111827, 0xFFFFFF}}, {K::Other, true, {true, false, 0, 0}},
    {K::List, true, {false, false, 0x111827, 0xFFFFFF}}};
// Initial and minimum size; there: header, path label and edit, summary, Confirm, Cancel.
const std::tuple<int, Size, Size, Rects> kCaInitial[] = {
    {96, {580, 400}, {420, 300}, {{16, 16, 548, 28}, {16, 52, 548, 24}, {16, 80, 548, 28}, {16, 116, 548, 220}, {274, 348, 140, 36}, {424, 348, 140, 36}}},
    {120, {725, 500}, {525, 375}, {{20, 20, 685, 35}, {20, 65, 685, 30}, {20, 100, 685, 35}, {20, 145, 685, 275}, {342, 435, 175, 45}, {530, 435, 175, 45}}}};
// Narrow clients: the buttons narrow down to 100 and may leave the left edge; the summary keeps 80.
const std::tuple<int, Size, int, Rect, Rect> kCaSmall[] = {
    {96, {328, 300}, 120, {22, 248, 140, 36}, {172, 248, 140, 36}},
    {96, {327, 300}, 120, {23, 248, 139, 36}, {172, 248, 139, 36}},
    {96, {200, 180}, 80, {-26, 128, 100, 36}, {84, 128, 100, 36}},
    {96, {199, 400}, 0, {}, {}}, {96, {580, 179}, 0, {}, {}}, {144, {299, 400}, 0, {}, {}}};
// 96 dpi: header, accent, separator, status band; 144 dpi: separator.
const Rects kMainBands = {{0, 0, 1000, 56}, {0, 54, 1000, 2}, {12, 646, 976, 1}, {0, 648, 1000, 52}, {18, 919, 1464, 2}};
// Client width: device list width, status width, right edge of Connect.
const std::pair<int, std::tuple<int, int, int>> kStatusRow[] = {{1167, {420, 579, 1155}},
    {1166, {419, 579, 1154}}, {556, {200, 188, 544}}, {555, {200, 187, 543}}, {300, {140, 80, 376}}};
// Page height, CA button shown: rows' room, height and gap; gaps give way first, then heights.
const std::tuple<int, bool, std::tuple<int, int, int>> kNineRows[] = {{398, false, {350, 30, 10}},
    {397, false, {349, 30, 9}}, {342, false, {294, 30, 3}}, {341, false, {293, 29, 4}},
    {100, false, {80, 24, 2}}, {439, true, {349, 30, 9}}};
// Page width, widest label, dpi: the label column (120 wanted, 96..200, 34 % of the page).
const std::tuple<int, int, int, int> kLabelColumn[] = {{588, 400, 96, 199}, {589, 400, 96, 200},
    {282, 400, 96, 96}, {1000, 90, 96, 120}, {1000, 150, 96, 160}, {2000, 10, 144, 180}};
// Page width: the input column's left edge, prefix and edit widths. The prefix takes 52 % of
// the input column (at most 260) or 42 % below 340 (page 469), never under 80; the edit keeps 90.
const std::tuple<int, int, int, int> kPrefix[] = {{800, 140, 260, 404}, {470, 140, 176, 158},
    {469, 140, 142, 191}, {300, 122, 80, 102}, {250, 116, 80, 90}};
// The widest caption + 36, up to 220; narrow pages share the width, 24 apart, at least 110.
const std::tuple<int, int, int, bool, int> kButtons[] = {{700, 150, 90, true, 186},
    {700, 150, 400, true, 220}, {700, 150, 400, false, 186}, {300, 100, 90, true, 138},
    {200, 100, 90, true, 110}};
// dpi: initial and minimum size, accent line, Connect, log, message band, smallest client.
const std::tuple<int, Size, Size, Rect, Rect, Rect, Rect, int> kSimPerDpi[] = {
    {96, {920, 780}, {640, 760}, {0, 54, 920, 2}, {12, 360, 110, 30}, {12, 528, 896, 220}, {0, 754, 920, 26}, 200},
    {144, {1380, 1170}, {960, 1140}, {0, 81, 1380, 3}, {18, 540, 165, 45}, {18, 792, 1344, 330}, {0, 1131, 1380, 39}, 300}};
// clang-format on

Rects CaPlaced(int dpi, Size client) {
  const auto l = ComputeCaCertLayout(dpi, client);
  if (!l) return Rects(6);  // nothing placed
  return {l->header, l->pathLabel, l->pathEdit, l->infoEdit, l->confirmButton, l->cancelButton};
}

MainLayout Layout(int dpi, int w, int h, MainTextWidths texts = kShort) {
  return ComputeMainLayout(dpi, Size{w, h}, texts).value_or(MainLayout{});
}

PageLayout Page(int dpi, const PageLayoutInput& in) { return ComputePageLayout(dpi, in).value(); }

PageLayoutInput NineRows(int height, bool caShown) {
  std::vector<PageRowInput> rows(7, {RowKind::Edit, 90});
  rows.insert(rows.end(), {{RowKind::Combo, 30}, {RowKind::Combo, 95}});
  return {Rect{0, 0, 700, height}, rows, 100, 90, true, caShown};
}

std::optional<SimLayout> Sim(int dpi, int w, int h, int test = 0, int language = 0) {
  return ComputeSimLayout(dpi, {w, h}, {std::vector(9, 60), language, test});
}

TEST(Look, ScaleButtonsMainColoursAndCaDialog) {
  for (const auto& [value, dpi, expected] : kScaled) EXPECT_EQ(Scale(value, dpi), expected) << dpi;
  for (const auto& [primary, state, colours] : kButtonColours)
    EXPECT_EQ(ButtonColorsFor(primary, state), colours) << primary << static_cast<int>(state);
  // Disabled wins over pressed over hover; window, header, accent, border, status band, card.
  EXPECT_EQ(
      std::tuple(ChooseButtonState(true, true, true), ChooseButtonState(false, true, true),
                 ChooseButtonState(false, false, true), ChooseButtonState(false, false, false),
                 std::vector{ButtonGeometryFor(96), ButtonGeometryFor(144), ButtonGeometryFor(40)},
                 std::vector{kMainWindowBackground, kMainHeaderBand, kMainAccentLine,
                             kMainBorderLine, kMainStatusBand, kMainCard}),
      std::tuple(S::Disabled, S::Pressed, S::Hover, S::Normal,
                 std::vector<ButtonGeometry>{{10, 1, 3}, {15, 2, 3}, {4, 1, 3}},
                 std::vector<Rgb>{0xF5F7FA, 0x0F3460, 0x0969DA, 0xD1D5DB, 0xF8F9FB, 0xFFFFFF}));
  for (const auto& [kind, enabled, want] : kControlColours) {
    const ControlColors c = MainControlColors(kind, enabled, 0xB91C1C);
    EXPECT_EQ(std::tuple(c.useDefault, c.transparent, c.text, c.background), want) << int(kind);
  }
  for (const auto& [dpi, initial, minimum, atInitial] : kCaInitial) {
    EXPECT_EQ(std::tuple(CaCertInitialSize(dpi), CaCertMinimumSize(dpi), CaPlaced(dpi, initial)),
              std::tuple(initial, minimum, atInitial));
  }
  for (const auto& [dpi, client, summaryHeight, confirm, cancel] : kCaSmall) {
    const Rects r = CaPlaced(dpi, client);
    EXPECT_EQ(std::tuple(r[3].height, r[4], r[5]), std::tuple(summaryHeight, confirm, cancel));
  }
}

TEST(MainLayout, WindowSizesBandsLimitsStatusRowTabAreaAndPages) {
  EXPECT_EQ((std::vector{MainInitialSize(96), MainInitialSize(120), MainMinimumSize(144)}),
            (std::vector<Size>{{1000, 760}, {1250, 950}, {1290, 1050}}));
  const MainBackground b96 = ComputeMainBackground(96, {1000, 700}),
                       b144 = ComputeMainBackground(144, {1500, 1000});
  EXPECT_EQ((Rects{b96.header, b96.accent, b96.separator, b96.statusBand, b144.separator}),
            kMainBands);
  EXPECT_EQ(std::tuple(b96.cardBorder, b144.cardBorder), std::tuple(1, 2));
  // Nothing below 200 (96 dpi); simulator button 118..160, title and page at least 160 wide.
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
  for (const auto& [width, want] : kStatusRow) {
    const MainLayout l = Layout(96, width, 760);
    EXPECT_EQ(std::tuple(l.usbCombo.width, l.status.width, l.connectButton.right()), want) << width;
  }
  EXPECT_EQ(std::tuple(Layout(96, 1000, 250).tab.height, Layout(96, 1000, 240).tab.height,
                       Layout(144, 1500, 310).tab.height, TabDisplayArea({12, 68, 976, 631}, 30),
                       PageRectangle({12, 98, 976, 601}, 96), PageRectangle({0, 0, 600, 500}, 144)),
            std::tuple(121, 120, 180, Rect{12, 98, 976, 601}, Rect{32, 113, 936, 576},
                       Rect{18, 15, 564, 470}));
  for (const auto& [height, ca, want] : kNineRows) {
    const PageLayout l = Page(96, NineRows(height, ca));
    EXPECT_EQ(std::tuple(l.available, l.rowHeight, l.gap), want) << height;
  }
  EXPECT_EQ(Page(144, NineRows(600, true)).available, 465);
  for (const auto& [pageWidth, widest, dpi, column] : kLabelColumn)
    EXPECT_EQ(Page(dpi, {{0, 0, pageWidth, 400}, {{RowKind::Edit, widest}}}).labelColumn, column);
  for (const auto& [pageWidth, inputX, prefix, edit] : kPrefix) {
    const PageRowPlacement row =
        Page(96, {Rect{10, 20, pageWidth, 400}, {{RowKind::Edit, 10}, {RowKind::PrefixedEdit, 10}}})
            .rows[1];
    EXPECT_EQ((Rects{row.prefix, row.input}),
              (Rects{{inputX, 60, prefix, 30}, {inputX + prefix + 6, 60, edit, 30}}))
        << pageWidth;
  }
  PageLayout l = Page(96, {Rect{20, 100, 700, 500}, {{RowKind::Edit, 10}}, 100, 90});
  EXPECT_EQ((Rects{l.selfTestButton, l.writeButton, l.caButton}),
            (Rects{{20, 560, 156, 40}, {564, 560, 156, 40}, {20, 518, 280, 34}}));
  for (const auto& [width, write, selfTest, hasSelfTest, want] : kButtons) {
    l = Page(96, {Rect{0, 0, width, 500}, {{RowKind::Edit, 10}}, write, selfTest, hasSelfTest});
    EXPECT_EQ(std::tuple(l.writeButton.x, l.writeButton.width, l.selfTestButton.width),
              std::tuple(width - want, want, want));
  }
  EXPECT_EQ(l.caButton.width, 200);
}

TEST(SimLayout, RowsLanguageCaptionAndPerDpi) {
  const SimLayout l = Sim(96, 920, 780, 27, 80).value();  // the caption widens leftwards
  ASSERT_EQ(l.rowLabels.size() + l.rowInputs.size(), 18u);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ((Rects{l.rowLabels[i], l.rowInputs[i]}),
              (Rects{{12, 68 + 32 * i, 110, 26}, {130, 68 + 32 * i, 778, 26}}));
  }
  EXPECT_EQ(std::tuple(l.languageLabel, Sim(96, 920, 780, 27, 56)->languageLabel),
            std::tuple(Rect{726, 15, 88, 26}, Rect{750, 15, 64, 26}));
  for (const auto& [dpi, initial, minimum, accent, connect, log, messageLine, limit] : kSimPerDpi) {
    const SimLayout s = Sim(dpi, initial.width, initial.height).value();
    EXPECT_EQ(std::tuple(SimInitialSize(dpi), SimMinimumSize(dpi),
                         ComputeSimBackground(dpi, initial).accent, s.connectButton, s.log,
                         s.messageLine, Sim(dpi, limit - 1, 900).has_value(),
                         Sim(dpi, 900, limit - 1).has_value(), Sim(dpi, limit, limit).has_value()),
              std::tuple(initial, minimum, accent, connect, log, messageLine, false, false, true));
  }
  // Client height: row height and gap (the gaps give way first, to 2, then the rows, to 22).
  for (const auto& [h, row, gap] :
       {std::tuple{560, 26, 6}, {559, 26, 5}, {529, 26, 2}, {527, 25, 3}, {400, 22, 2}})
    EXPECT_EQ(std::tuple(Sim(96, 920, h)->rowHeight, Sim(96, 920, h)->rowGap),
              std::tuple(row, gap));
  // Widest label, width, Test caption: label column (+8, at most 32 % but 90) and Test width.
  for (const auto& [label, w, test, column, tw] :
       {std::tuple{200, 920, 60, 208, 88}, {300, 920, 61, 294, 89}, {300, 250, 0, 90, 88}})
    EXPECT_EQ(std::tuple(ComputeSimLayout(96, {w, 780}, {{60, label}, 0, test})->labelColumn,
                         Sim(96, w, 780, test)->testButton.width),
              std::tuple(column, tw));
}

}  // namespace qm
