// SPDX-License-Identifier: MIT
// Geometry of the CA certificate confirmation dialog.
#include "look/CaCertLayout.h"

#include <algorithm>

namespace qm {
namespace {

constexpr int kInitialWidth = 580;
constexpr int kInitialHeight = 400;
constexpr int kMinimumWidth = 420;
constexpr int kMinimumHeight = 300;
constexpr int kTooSmallWidth = 200;
constexpr int kTooSmallHeight = 180;

constexpr int kMargin = 16;
constexpr int kLabelHeight = 24;
constexpr int kButtonWidth = 140;
constexpr int kButtonNarrowMin = 100;
constexpr int kButtonHeight = 36;
constexpr int kButtonGap = 10;
constexpr int kHeaderHeight = 28;
constexpr int kHeaderStep = 36;
constexpr int kLabelGap = 4;
constexpr int kEditHeight = 28;
constexpr int kEditStep = 36;
constexpr int kInfoMinHeight = 80;
constexpr int kInfoGap = 12;

}  // namespace

Size CaCertInitialSize(int dpi) {
  return Size{Scale(kInitialWidth, dpi), Scale(kInitialHeight, dpi)};
}

Size CaCertMinimumSize(int dpi) {
  return Size{Scale(kMinimumWidth, dpi), Scale(kMinimumHeight, dpi)};
}

std::optional<CaCertLayout> ComputeCaCertLayout(int dpi, Size client) {
  const auto s = [dpi](int v) { return Scale(v, dpi); };
  const int w = client.width;
  const int h = client.height;
  if (w < s(kTooSmallWidth) || h < s(kTooSmallHeight)) return std::nullopt;

  const int m = s(kMargin);
  const int bh = s(kButtonHeight);
  int bw = s(kButtonWidth);
  // Too narrow for two full buttons: both shrink alike, down to a floor.
  if (w < 3 * m + 2 * bw) bw = std::max(s(kButtonNarrowMin), (w - 3 * m) / 2);

  CaCertLayout layout;
  const int fullWidth = w - 2 * m;
  layout.header = Rect{m, m, fullWidth, s(kHeaderHeight)};
  int y = m + s(kHeaderStep);
  layout.pathLabel = Rect{m, y, fullWidth, s(kLabelHeight)};
  y += s(kLabelHeight) + s(kLabelGap);
  layout.pathEdit = Rect{m, y, fullWidth, s(kEditHeight)};
  y += s(kEditStep);
  const int buttonTop = h - bh - m;
  layout.infoEdit = Rect{m, y, fullWidth, std::max(s(kInfoMinHeight), buttonTop - y - s(kInfoGap))};
  layout.cancelButton = Rect{w - bw - m, buttonTop, bw, bh};
  layout.confirmButton = Rect{w - 2 * bw - s(kButtonGap) - m, buttonTop, bw, bh};
  return layout;
}

}  // namespace qm
