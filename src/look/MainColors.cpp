// SPDX-License-Identifier: MIT
// Colour rule of the main window.
#include "look/MainColors.h"

namespace qm {

ControlColors MainControlColors(MainControlKind kind, bool pagesEnabled, Rgb statusColor) {
  switch (kind) {
    case MainControlKind::HeaderText:
      return {false, true, kMainHeaderText, kMainHeaderBand};
    case MainControlKind::Dialog:
      return {false, false, kMainLabelText, kMainWindowBackground};
    case MainControlKind::StatusLine:
      return {false, true, statusColor, kMainStatusBand};
    case MainControlKind::UsbLabel:
      return {false, true, kMainLabelText, kMainStatusBand};
    case MainControlKind::PageStatic:
      // Grey labels tell the user the pages are locked until a device is connected.
      return {false, true, pagesEnabled ? kMainLabelText : kMainLockedLabelText,
              kMainWindowBackground};
    case MainControlKind::Edit:
    case MainControlKind::List:
      return {false, false, kMainEditText, kMainCard};
    case MainControlKind::Other:
      break;
  }
  return {true, false, 0, 0};
}

}  // namespace qm
