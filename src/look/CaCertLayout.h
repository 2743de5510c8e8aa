// SPDX-License-Identifier: MIT
// Geometry and colours of the CA certificate confirmation dialog. Every
// length is a 96-dpi value scaled with Scale().
#pragma once

#include <optional>

#include "look/Geometry.h"

namespace qm {

// The dialog's background and the text of its statics and read-only edits.
inline constexpr Rgb kCaCertBackground = 0xF5F7FA;
inline constexpr Rgb kCaCertText = 0x374151;

// Sizes the dialog opens at and may not be made smaller than.
Size CaCertInitialSize(int dpi);
Size CaCertMinimumSize(int dpi);

struct CaCertLayout {
  Rect header;
  Rect pathLabel;
  Rect pathEdit;
  Rect infoEdit;
  Rect confirmButton;
  Rect cancelButton;
};

// Header, path row and summary from the top, the two buttons at the bottom
// right, Confirm left of Cancel. Nothing is placed while the client area is
// narrower than S(200) or lower than S(180) (a minimised dialog).
std::optional<CaCertLayout> ComputeCaCertLayout(int dpi, Size client);

}  // namespace qm
