// SPDX-License-Identifier: MIT
// Palette and colour rule of the main window: which text and background
// colour each kind of control gets in the window's current state.
#pragma once

#include "look/Geometry.h"

namespace qm {

inline constexpr Rgb kMainWindowBackground = 0xF5F7FA;
inline constexpr Rgb kMainHeaderBand = 0x0F3460;
inline constexpr Rgb kMainAccentLine = 0x0969DA;
inline constexpr Rgb kMainBorderLine = 0xD1D5DB;
inline constexpr Rgb kMainStatusBand = 0xF8F9FB;
inline constexpr Rgb kMainCard = 0xFFFFFF;
inline constexpr Rgb kMainLabelText = 0x374151;
inline constexpr Rgb kMainLockedLabelText = 0x9CA3AF;
inline constexpr Rgb kMainEditText = 0x111827;
inline constexpr Rgb kMainHeaderText = 0xFFFFFF;

// Status line colours by kind.
inline constexpr Rgb kStatusInfo = 0x374151;
inline constexpr Rgb kStatusWarning = 0xB91C1C;
inline constexpr Rgb kStatusSuccess = 0x15803D;

enum class MainControlKind {
  HeaderText,  // the title and the language label on the header band
  Dialog,      // the window itself
  StatusLine,
  UsbLabel,
  PageStatic,  // row labels, topic prefixes, and edit boxes while disabled
  Edit,        // enabled edit boxes
  List,        // drop-down lists
  Other,       // buttons and anything else keep the default look
};

struct ControlColors {
  bool useDefault = false;   // nothing of the rule applies
  bool transparent = false;  // the text is drawn over the painted background
  Rgb text = 0;
  Rgb background = 0;
};

ControlColors MainControlColors(MainControlKind kind, bool pagesEnabled, Rgb statusColor);

}  // namespace qm
