// SPDX-License-Identifier: MIT
// Plain rectangles, sizes, colours and the DPI scaling rule shared by the layouts.
#pragma once

#include <cstdint>

namespace qm {

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// x, y of the top-left corner plus width and height, in client pixels.
struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  int right() const { return x + width; }
  int bottom() const { return y + height; }
  static Rect FromEdges(int left, int top, int right, int bottom) {
    return Rect{left, top, right - left, bottom - top};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A 96-dpi length at the given dpi: v * dpi / 96 rounded half away from
// zero, the rounding every scaled length of the windows uses.
int Scale(int value, int dpi);

// A window size in pixels at one dpi, taken to another so that it keeps its
// size in 96-dpi units (rounded half up).
Size Rescale(Size size, int fromDpi, int toDpi);

// Height and gap of the rows of a form.
struct RowFit {
  int height = 0;
  int gap = 0;
};

// Fits n rows (n >= 1) that take more than `available` at `wanted`: the gap
// gives way first, down to firstGapFloor; if that is not enough the rows
// shrink, down to heightFloor, as though the gaps were firstGapFloor, and
// the gap takes what is left, down to gapFloor.
RowFit ShrinkRows(int n, int available, RowFit wanted, int firstGapFloor, int heightFloor,
                  int gapFloor);

}  // namespace qm
