// SPDX-License-Identifier: MIT
// Palette and colour rule of the MQTT simulator window, and the colours of
// its log lines.
#pragma once

#include "look/Geometry.h"
#include "look/MainColors.h"

namespace qm {

inline constexpr Rgb kSimBackground = 0xF5F7FA;
inline constexpr Rgb kSimHeaderBand = 0x0F3460;
inline constexpr Rgb kSimAccentLine = 0x0969DA;
inline constexpr Rgb kSimMessageBand = 0xF8F9FB;
inline constexpr Rgb kSimWhite = 0xFFFFFF;
inline constexpr Rgb kSimText = 0x374151;
inline constexpr Rgb kSimConnectedText = 0x166534;
inline constexpr Rgb kSimDisconnectedText = 0xB91C1C;

enum class SimControlKind {
  HeaderText,   // the title and the language caption on the header band
  MessageBand,  // the one-line message band at the bottom edge
  Status,       // the connection status
  Static,       // every other caption, and the window itself
  Edit,         // edits, drop-downs and the log's background
  Other,        // buttons keep their own look
};

ControlColors SimControlColors(SimControlKind kind, bool connected);

// The kind of a log line, which chooses its text colour.
enum class LogKind : int { Info = 0, Received = 1, Sent = 2, Error = 3 };

// Info #374151, Received #166534, Sent #0969DA, Error #B91C1C; a value
// outside the four is shown as Info.
Rgb LogKindColor(LogKind kind);

}  // namespace qm
