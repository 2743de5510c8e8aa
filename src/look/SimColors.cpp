// SPDX-License-Identifier: MIT
// Colour rule of the MQTT simulator window.
#include "look/SimColors.h"

namespace qm {

ControlColors SimControlColors(SimControlKind kind, bool connected) {
  switch (kind) {
    case SimControlKind::HeaderText:
      return {false, true, kSimWhite, kSimHeaderBand};
    case SimControlKind::MessageBand:
      return {false, false, kSimText, kSimMessageBand};
    case SimControlKind::Status:
      return {false, true, connected ? kSimConnectedText : kSimDisconnectedText, kSimBackground};
    case SimControlKind::Static:
      return {false, true, kSimText, kSimBackground};
    case SimControlKind::Edit:
      return {false, false, kSimText, kSimWhite};
    case SimControlKind::Other:
      break;
  }
  return {true, false, 0, 0};
}

Rgb LogKindColor(LogKind kind) {
  switch (kind) {
    case LogKind::Received:
      return 0x166534;
    case LogKind::Sent:
      return 0x0969DA;
    case LogKind::Error:
      return 0xB91C1C;
    case LogKind::Info:
      break;
  }
  return 0x374151;
}

}  // namespace qm
