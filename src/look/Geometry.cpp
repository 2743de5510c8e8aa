// SPDX-License-Identifier: MIT
// The DPI scaling rules.
#include "look/Geometry.h"

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

}  // namespace qm
