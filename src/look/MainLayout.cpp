// SPDX-License-Identifier: MIT
// Geometry rules of the main window.
#include "look/MainLayout.h"

#include <algorithm>

namespace qm {
namespace {

constexpr int kInitialWidth = 1000;
constexpr int kInitialHeight = 760;
constexpr int kMinimumWidth = 860;
constexpr int kMinimumHeight = 700;
constexpr int kMinimumClient = 200;

constexpr int kHeaderHeight = 56;
constexpr int kAccentHeight = 2;
constexpr int kMargin = 12;
constexpr int kStatusRowHeight = 36;
constexpr int kSeparatorGap = 6;
constexpr int kStatusBandLead = 4;

constexpr int kLanguageComboWidth = 88;
constexpr int kHeaderFieldHeight = 26;
constexpr int kLanguageLabelMin = 52;
constexpr int kSimulatorMin = 118;
constexpr int kSimulatorMax = 160;
constexpr int kSimulatorHeight = 30;
constexpr int kTitleMin = 160;

constexpr int kRowGap = 8;
constexpr int kUsbLabelMin = 40;
constexpr int kConnectMin = 88;
constexpr int kConnectHeight = 28;
constexpr int kDeviceComboMin = 200;
constexpr int kDeviceComboMax = 420;
constexpr int kDeviceComboNarrow = 140;
constexpr int kStatusWanted = 140;
constexpr int kStatusMin = 80;
constexpr int kLabelPadding = 8;
constexpr int kButtonPadding = 28;
constexpr int kTabMinHeight = 120;

constexpr int kPageMinWidth = 160;
constexpr int kPageButtonHeight = 40;
constexpr int kPageButtonMin = 156;
constexpr int kPageButtonMax = 220;
constexpr int kPageButtonNarrowMin = 110;
constexpr int kPageButtonPadding = 36;
constexpr int kPageButtonGap = 24;
constexpr int kCaButtonHeight = 34;
constexpr int kCaButtonMaxWidth = 280;
constexpr int kButtonSpacing = 8;
constexpr int kRowsMinHeight = 80;
constexpr int kRowHeight = 30;
constexpr int kRowGapFull = 10;
constexpr int kRowGapTight = 3;
constexpr int kRowHeightMin = 24;
constexpr int kRowGapMin = 2;
constexpr int kLabelColumnWanted = 120;
constexpr int kLabelColumnMin = 96;
constexpr int kLabelColumnMax = 200;
constexpr int kColumnGap = 10;
constexpr int kInputMin = 80;
constexpr int kPrefixMax = 260;
constexpr int kPrefixNarrowInput = 340;
constexpr int kPrefixGap = 6;
constexpr int kPrefixedEditMin = 90;

// Shrinks the gaps first, then the rows, until n rows fit into `available`.
RowFit FitRows(int dpi, int n, int available) {
  const RowFit wanted{Scale(kRowHeight, dpi), Scale(kRowGapFull, dpi)};
  if (n <= 1 || n * wanted.height + (n - 1) * wanted.gap <= available) return wanted;
  return ShrinkRows(n, available, wanted, Scale(kRowGapTight, dpi), Scale(kRowHeightMin, dpi),
                    Scale(kRowGapMin, dpi));
}

int PageButtonWidth(int dpi, const PageLayoutInput& input, int pageWidth) {
  const int padding = Scale(kPageButtonPadding, dpi);
  int width = std::max(Scale(kPageButtonMin, dpi), input.writeCaptionWidth + padding);
  if (input.hasSelfTest) width = std::max(width, input.selfTestCaptionWidth + padding);
  width = std::min(width, Scale(kPageButtonMax, dpi));
  if (pageWidth < Scale(kPageButtonGap, dpi) + 2 * width) {
    width =
        std::max(Scale(kPageButtonNarrowMin, dpi), (pageWidth - Scale(kPageButtonGap, dpi)) / 2);
  }
  return width;
}

}  // namespace

Size MainInitialSize(int dpi) { return {Scale(kInitialWidth, dpi), Scale(kInitialHeight, dpi)}; }

Size MainMinimumSize(int dpi) { return {Scale(kMinimumWidth, dpi), Scale(kMinimumHeight, dpi)}; }

MainBackground ComputeMainBackground(int dpi, Size client) {
  const int w = client.width;
  const int h = client.height;
  const int header = Scale(kHeaderHeight, dpi);
  const int accent = Scale(kAccentHeight, dpi);
  const int margin = Scale(kMargin, dpi);
  const int statusRow = Scale(kStatusRowHeight, dpi);
  const int line = std::max(1, Scale(1, dpi));
  MainBackground result;
  result.header = {0, 0, w, header};
  result.accent = {0, header - accent, w, accent};
  result.separator = {margin, h - Scale(kSeparatorGap, dpi) - statusRow - margin, w - 2 * margin,
                      line};
  const int bandTop = h - statusRow - margin - Scale(kStatusBandLead, dpi);
  result.statusBand = Rect::FromEdges(0, bandTop, w, h);
  result.cardBorder = line;
  return result;
}

std::optional<MainLayout> ComputeMainLayout(int dpi, Size client, const MainTextWidths& texts) {
  const auto S = [dpi](int v) { return Scale(v, dpi); };
  const int w = client.width;
  const int h = client.height;
  if (w < S(kMinimumClient) || h < S(kMinimumClient)) return std::nullopt;
  MainLayout out;

  // Header row, from the right edge inwards.
  const int header = S(kHeaderHeight);
  const int comboWidth = S(kLanguageComboWidth);
  const int fieldY = (header - S(kHeaderFieldHeight)) / 2;
  out.languageCombo = {w - S(kMargin) - comboWidth, fieldY, comboWidth, S(kHeaderFieldHeight)};
  const int labelWidth = std::max(S(kLanguageLabelMin), texts.languageLabel + S(kLabelPadding));
  out.languageLabel = {out.languageCombo.x - S(6) - labelWidth, fieldY, labelWidth,
                       S(kHeaderFieldHeight)};
  const int simWidth = std::min(
      S(kSimulatorMax), std::max(S(kSimulatorMin), texts.simulatorCaption + S(kButtonPadding)));
  out.simulatorButton = {out.languageLabel.x - S(10) - simWidth, (header - S(kSimulatorHeight)) / 2,
                         simWidth, S(kSimulatorHeight)};
  const int titleWidth =
      std::max(S(kTitleMin), w - (S(10) + S(6) + simWidth + labelWidth + comboWidth) - S(20));
  out.title = {0, 0, titleWidth, header};

  // Status row along the bottom edge.
  const int rowTop = h - S(kStatusRowHeight) - S(kMargin);
  const int usbWidth = std::max(S(kUsbLabelMin), texts.usbLabel + S(kLabelPadding));
  const int connectWidth = std::max(S(kConnectMin), texts.connectCaption + S(kButtonPadding));
  const int fixed = w - 2 * (S(kRowGap) + S(kMargin)) - connectWidth - usbWidth;
  int deviceWidth = std::min(S(kDeviceComboMax), std::max(S(kDeviceComboMin), w * 36 / 100));
  int statusWidth = fixed - deviceWidth;
  if (statusWidth < S(kStatusWanted)) {
    // Narrow window: the device list gives way before the status text does.
    deviceWidth = std::max(S(kDeviceComboNarrow), fixed - S(kStatusWanted));
    statusWidth = fixed - deviceWidth;
  }
  statusWidth = std::max(S(kStatusMin), statusWidth);
  out.status = {S(kMargin), rowTop, statusWidth, S(kStatusRowHeight)};
  out.usbLabel = {S(kMargin) + statusWidth + S(kRowGap), rowTop, usbWidth, S(kStatusRowHeight)};
  out.usbCombo = {out.usbLabel.right(), rowTop + (S(kStatusRowHeight) - S(26)) / 2, deviceWidth,
                  S(26)};
  out.connectButton = {out.usbCombo.right() + S(kRowGap),
                       rowTop + (S(kStatusRowHeight) - S(kConnectHeight)) / 2, connectWidth,
                       S(kConnectHeight)};

  // Tab area between the header band and the status row.
  const int tabTop = header + S(kMargin);
  int tabBottom = rowTop - S(1) - S(kMargin);
  if (tabBottom - tabTop < S(kTabMinHeight)) tabBottom = tabTop + S(kTabMinHeight);
  out.tab = Rect::FromEdges(S(kMargin), tabTop, w - S(kMargin), tabBottom);
  return out;
}

Rect TabDisplayArea(const Rect& tab, int stripHeight) {
  return Rect::FromEdges(tab.x, tab.y + stripHeight, tab.right(), tab.bottom());
}

Rect PageRectangle(const Rect& displayArea, int dpi) {
  const auto S = [dpi](int v) { return Scale(v, dpi); };
  const int side = std::max(S(12), std::min(S(20), displayArea.width / 40));
  const int top = std::max(S(10), std::min(S(16), displayArea.height / 40));
  return Rect::FromEdges(displayArea.x + side, displayArea.y + top, displayArea.right() - side,
                         displayArea.bottom() - S(10));
}

std::optional<PageLayout> ComputePageLayout(int dpi, const PageLayoutInput& input) {
  const auto S = [dpi](int v) { return Scale(v, dpi); };
  const Rect& page = input.page;
  const int n = static_cast<int>(input.rows.size());
  if (n == 0 || page.width < S(kPageMinWidth)) return std::nullopt;
  PageLayout out;

  const int buttonHeight = S(kPageButtonHeight);
  const int buttonWidth = PageButtonWidth(dpi, input, page.width);
  int reserved = S(kButtonSpacing) + buttonHeight;
  if (input.caButtonShown) reserved += S(kButtonSpacing) + S(kCaButtonHeight);
  out.available = std::max(S(kRowsMinHeight), page.height - reserved);
  const RowFit rows = FitRows(dpi, n, out.available);
  out.rowHeight = rows.height;
  out.gap = rows.gap;

  int widest = 0;
  for (const PageRowInput& row : input.rows) widest = std::max(widest, row.labelWidth);
  const int wanted = std::max(S(kLabelColumnWanted), widest + S(10));
  out.labelColumn =
      std::max(S(kLabelColumnMin), std::min({wanted, S(kLabelColumnMax), page.width * 34 / 100}));
  const int inputX = page.x + out.labelColumn + S(kColumnGap);
  const int inputWidth = std::max(S(kInputMin), page.right() - inputX);
  int prefix = std::min(S(kPrefixMax), inputWidth * 52 / 100);
  if (inputWidth < S(kPrefixNarrowInput)) prefix = inputWidth * 42 / 100;
  const int prefixWidth = std::max(S(kInputMin), prefix);

  int y = page.y;
  for (const PageRowInput& row : input.rows) {
    PageRowPlacement placed;
    placed.label = {page.x, y, out.labelColumn, rows.height};
    if (row.kind == RowKind::PrefixedEdit) {
      placed.prefix = {inputX, y, prefixWidth, rows.height};
      const int editX = inputX + prefixWidth + S(kPrefixGap);
      placed.input = {editX, y, std::max(S(kPrefixedEditMin), page.right() - editX), rows.height};
    } else {
      placed.input = {inputX, y, inputWidth, rows.height};
    }
    out.rows.push_back(placed);
    y += rows.height + rows.gap;
  }

  const int buttonY = page.bottom() - buttonHeight;
  out.caButton = {page.x, buttonY - S(kButtonSpacing) - S(kCaButtonHeight),
                  std::min(page.width, S(kCaButtonMaxWidth)), S(kCaButtonHeight)};
  out.selfTestButton = {page.x, buttonY, buttonWidth, buttonHeight};
  out.writeButton = {page.right() - buttonWidth, buttonY, buttonWidth, buttonHeight};
  return out;
}

}  // namespace qm
