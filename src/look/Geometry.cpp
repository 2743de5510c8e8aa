// SPDX-License-Identifier: MIT
// The DPI scaling rules and the fitting of form rows.
#include "look/Geometry.h"

#include <algorithm>

namespace qm {

int Scale(int value, int dpi) {
  constexpr long long kBase = 96;
  const long long product = static_cast<long long>(value) * dpi;
  // Integer rounding half away from zero keeps every scaled length exact.
  if (product >= 0) return static_cast<int>((product + kBase / 2) / kBase);
  return -static_cast<int>((-product + kBase / 2) / kBase);
}

Size Rescale(Size size, int fromDpi, int toDpi) {
  const auto rescale = [&](int v) {
    return static_cast<int>((static_cast<long long>(v) * toDpi + fromDpi / 2) / fromDpi);
  };
  return Size{rescale(size.width), rescale(size.height)};
}

RowFit ShrinkRows(int n, int available, RowFit wanted, int firstGapFloor, int heightFloor,
                  int gapFloor) {
  const int d = std::max(n - 1, 1);
  RowFit fit = wanted;
  fit.gap = std::max(firstGapFloor, (available - n * fit.height) / d);
  if (n * fit.height + (n - 1) * fit.gap > available) {
    fit.height = std::max(heightFloor, (available - (n - 1) * firstGapFloor) / n);
    fit.gap = std::max(gapFloor, (available - n * fit.height) / d);
  }
  return fit;
}

}  // namespace qm
