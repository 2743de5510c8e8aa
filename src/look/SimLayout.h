// SPDX-License-Identifier: MIT
// Geometry rules of the MQTT simulator window: its sizes, the painted header
// band and the place of every control. Every length is a 96-dpi value
// scaled with Scale(); text widths come in measured by the window.
#pragma once

#include <optional>
#include <vector>

#include "look/Geometry.h"

namespace qm {

// Client sizes the window opens at and may not be made smaller than.
Size SimInitialSize(int dpi);
Size SimMinimumSize(int dpi);

// The painted header band and its accent line, its lowest two scaled pixels.
struct SimBackground {
  Rect header;
  Rect accent;
};
SimBackground ComputeSimBackground(int dpi, Size client);

struct SimLayoutInput {
  // The current label text of each form row, measured in the normal font.
  std::vector<int> rowLabelWidths;
  // The language caption of the current language, measured in the normal
  // font: the caption widens to the left when its text and S(8) need more
  // than S(64).
  int languageLabelWidth = 0;
  // The Test caption of the current language, measured in the semibold font.
  int testCaptionWidth = 0;
};

// A drop-down's rectangle is its field; its list opens as a popup of its own.
struct SimLayout {
  Rect title;
  Rect languageLabel;
  Rect languageCombo;
  std::vector<Rect> rowLabels;
  std::vector<Rect> rowInputs;
  Rect connectButton;
  Rect disconnectButton;
  Rect status;
  Rect publishLabel;
  Rect contentLabel;
  Rect contentCombo;
  Rect testButton;
  Rect topicLabel;
  Rect topicEdit;
  Rect logLabel;
  Rect clearButton;
  Rect exportButton;
  Rect log;
  Rect messageLine;
  int rowHeight = 0;  // after fitting the form; holds for the whole layout
  int rowGap = 0;
  int labelColumn = 0;
  int testWidth = 0;
};

// Nothing is placed while the client area is below S(200) in either
// direction: the controls keep their last places.
std::optional<SimLayout> ComputeSimLayout(int dpi, Size client, const SimLayoutInput& input);

}  // namespace qm
