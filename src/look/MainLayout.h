// SPDX-License-Identifier: MIT
// Geometry rules of the main window: painted bands, header row, status row,
// tab area, page rectangle and the rows and buttons of one device page.
// Every length is a 96-dpi value scaled with Scale(); text widths come in
// measured by the window.
#pragma once

#include <optional>
#include <vector>

#include "look/Geometry.h"

namespace qm {

// Outer sizes the window opens at and may not be made smaller than.
Size MainInitialSize(int dpi);
Size MainMinimumSize(int dpi);

// The painted background of a client area of the given size.
struct MainBackground {
  Rect header;
  Rect accent;
  Rect separator;
  Rect statusBand;
  int cardBorder = 0;  // pen width of the page card's outline
};
MainBackground ComputeMainBackground(int dpi, Size client);

// Widths of the header and status texts, measured in the window's fonts.
struct MainTextWidths {
  int languageLabel = 0;     // "Language:" / "语言：", normal font
  int simulatorCaption = 0;  // "MQTT Simulator" / "MQTT 模拟器", semibold font
  int usbLabel = 0;          // always "USB:", normal font
  int connectCaption = 0;    // the Connect button's current caption, semibold font
};

// Places of the header and status controls and the whole tab area. A combo
// box rectangle is its edit field; its list opens as a popup of its own.
struct MainLayout {
  Rect title;
  Rect languageLabel;
  Rect languageCombo;
  Rect simulatorButton;
  Rect status;
  Rect usbLabel;
  Rect usbCombo;
  Rect connectButton;
  Rect tab;  // the tab strip on top plus the page area below it
};

// Nothing is placed while the client area is below S(200) in either direction.
std::optional<MainLayout> ComputeMainLayout(int dpi, Size client, const MainTextWidths& texts);

// The page area inside the tab area: everything below the tab strip.
Rect TabDisplayArea(const Rect& tab, int stripHeight);

// The rectangle the device pages are laid out in: the display area with its
// margins.
Rect PageRectangle(const Rect& displayArea, int dpi);

enum class RowKind { Edit, Combo, PrefixedEdit };

struct PageRowInput {
  RowKind kind = RowKind::Edit;
  int labelWidth = 0;  // the label's current text in the normal font
};

struct PageLayoutInput {
  Rect page;
  std::vector<PageRowInput> rows;
  int writeCaptionWidth = 0;     // semibold font
  int selfTestCaptionWidth = 0;  // semibold font; read only with hasSelfTest
  bool hasSelfTest = true;
  bool caButtonShown = false;  // the CA button is shown, so room is kept for it
};

struct PageRowPlacement {
  Rect label;
  Rect prefix;  // only for RowKind::PrefixedEdit
  Rect input;   // the edit box or the combo's field
};

struct PageLayout {
  std::vector<PageRowPlacement> rows;
  Rect caButton;
  Rect selfTestButton;
  Rect writeButton;
  int rowHeight = 0;
  int gap = 0;
  int available = 0;  // height A given to the rows
  int labelColumn = 0;
};

// Nothing is placed for a page without rows or narrower than S(160).
std::optional<PageLayout> ComputePageLayout(int dpi, const PageLayoutInput& input);

}  // namespace qm
