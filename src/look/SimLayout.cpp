// SPDX-License-Identifier: MIT
// Geometry rules of the MQTT simulator window.
#include "look/SimLayout.h"

#include <algorithm>

namespace qm {
namespace {

constexpr int kInitialWidth = 920;
constexpr int kInitialHeight = 780;
constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 760;
constexpr int kMinimumClient = 200;

constexpr int kMargin = 12;
constexpr int kHeaderHeight = 56;
constexpr int kAccentHeight = 2;
constexpr int kBandHeight = 26;
constexpr int kButtonHeight = 30;
constexpr int kSectionGap = 8;
constexpr int kColumnGap = 8;
constexpr int kRowHeight = 26;
constexpr int kRowGap = 6;
constexpr int kRowHeightMin = 22;
constexpr int kRowGapMin = 2;
constexpr int kConnectionLead = 4;
constexpr int kLogLead = 12;

constexpr int kLabelColumn = 110;
constexpr int kLabelPadding = 8;
constexpr int kLabelCapMin = 90;
constexpr int kLabelCapPercent = 32;
constexpr int kInputMin = 80;
constexpr int kTitleMin = 120;
constexpr int kTitleReserve = 180;
constexpr int kLanguageComboWidth = 88;
constexpr int kLanguageLabelWidth = 64;
constexpr int kHeaderFieldHeight = 26;
constexpr int kConnectionButtonWidth = 110;
constexpr int kPublishLabelWidth = 160;
constexpr int kTestMin = 88;
constexpr int kTestPadding = 28;
constexpr int kLogLabelWidth = 140;
constexpr int kLogButtonWidth = 64;
constexpr int kLogMinHeight = 80;

// Fits n rows into the height left for the form: the gaps give way first,
// down to S(2), then the rows, down to S(22).
RowFit FitForm(int dpi, int n, int clientHeight) {
  const auto S = [dpi](int v) { return Scale(v, dpi); };
  const RowFit wanted{S(kRowHeight), S(kRowGap)};
  const int avail = clientHeight - S(kHeaderHeight) - S(kMargin) - S(kButtonHeight) -
                    S(kBandHeight) - 3 * wanted.gap - S(kConnectionLead) - S(kLogLead) -
                    2 * (S(kSectionGap) + 2 * wanted.height);
  if (n < 1 || avail < 1 || n * wanted.height + (n - 1) * wanted.gap <= avail) return wanted;
  return ShrinkRows(n, avail, wanted, S(kRowGapMin), S(kRowHeightMin), S(kRowGapMin));
}

int LabelColumn(int dpi, int clientWidth, const std::vector<int>& labelWidths) {
  int column = Scale(kLabelColumn, dpi);
  for (int width : labelWidths) column = std::max(column, width + Scale(kLabelPadding, dpi));
  return std::min(column, std::max(Scale(kLabelCapMin, dpi), clientWidth * kLabelCapPercent / 100));
}

}  // namespace

Size SimInitialSize(int dpi) { return {Scale(kInitialWidth, dpi), Scale(kInitialHeight, dpi)}; }

Size SimMinimumSize(int dpi) { return {Scale(kMinimumWidth, dpi), Scale(kMinimumHeight, dpi)}; }

SimBackground ComputeSimBackground(int dpi, Size client) {
  const int header = Scale(kHeaderHeight, dpi);
  const int accent = Scale(kAccentHeight, dpi);
  return {{0, 0, client.width, header}, {0, header - accent, client.width, accent}};
}

std::optional<SimLayout> ComputeSimLayout(int dpi, Size client, const SimLayoutInput& input) {
  const auto S = [dpi](int v) { return Scale(v, dpi); };
  const int w = client.width;
  const int h = client.height;
  if (w < S(kMinimumClient) || h < S(kMinimumClient)) return std::nullopt;
  SimLayout out;
  const int m = S(kMargin);
  const int header = S(kHeaderHeight);
  const int band = S(kBandHeight);
  const int buttonHeight = S(kButtonHeight);
  const int g1 = S(kSectionGap);
  const int g2 = S(kColumnGap);
  const RowFit rows = FitForm(dpi, static_cast<int>(input.rowLabelWidths.size()), h);
  const int hr = rows.height;
  const int gr = rows.gap;
  out.rowHeight = hr;
  out.rowGap = gr;
  out.labelColumn = LabelColumn(dpi, w, input.rowLabelWidths);
  const int lw = out.labelColumn;
  const int inputX = m + lw + g2;
  const int inputWidth = std::max(S(kInputMin), w - 2 * m - lw - g2);

  // Header: title on the left, language choice and its caption on the right.
  out.title = {0, 0, std::max(S(kTitleMin), w - S(kTitleReserve)), header};
  const int fieldTop = (header - S(kHeaderFieldHeight)) / 2;
  out.languageCombo = {w - m - S(kLanguageComboWidth), fieldTop, S(kLanguageComboWidth),
                       S(kHeaderFieldHeight)};
  const int languageLabel =
      std::max(S(kLanguageLabelWidth), input.languageLabelWidth + S(kLabelPadding));
  out.languageLabel = {w - m - S(6) - languageLabel - S(kLanguageComboWidth), fieldTop,
                       languageLabel, S(kHeaderFieldHeight)};

  int y = header + m;
  for (std::size_t i = 0; i < input.rowLabelWidths.size(); ++i) {
    out.rowLabels.push_back({m, y, lw, hr});
    out.rowInputs.push_back({inputX, y, inputWidth, hr});
    y += hr + gr;
  }

  y += S(kConnectionLead);
  const int connectWidth = S(kConnectionButtonWidth);
  out.connectButton = {m, y, connectWidth, buttonHeight};
  out.disconnectButton = {m + connectWidth + gr, y, connectWidth, buttonHeight};
  const int statusX = m + 2 * (connectWidth + gr) + g2;
  out.status = {statusX, y, std::max(S(kInputMin), w - statusX - m), buttonHeight};
  y += buttonHeight + g1;

  out.publishLabel = {m, y, S(kPublishLabelWidth), hr};
  y += hr + gr;

  out.testWidth = std::max(S(kTestMin), input.testCaptionWidth + S(kTestPadding));
  const int tw = out.testWidth;
  out.contentLabel = {m, y, lw, hr};
  out.contentCombo = {inputX, y, std::max(S(kInputMin), w - 2 * m - tw - lw - gr - g2), hr};
  out.testButton = {w - tw - m, y, tw, buttonHeight};
  y += hr + gr;

  out.topicLabel = {m, y, lw, hr};
  out.topicEdit = {inputX, y, inputWidth, hr};
  y += hr + g1;

  const int logButton = S(kLogButtonWidth);
  out.logLabel = {m, y, S(kLogLabelWidth), hr};
  out.exportButton = {w - logButton - m, y, logButton, buttonHeight};
  out.clearButton = {w - 2 * logButton - gr - m, y, logButton, buttonHeight};
  y += hr + gr;

  out.log = {m, y, w - 2 * m, std::max(S(kLogMinHeight), h - y - gr - band)};
  out.messageLine = {0, h - band, w, band};
  return out;
}

}  // namespace qm
