// SPDX-License-Identifier: MIT
// One device page of the main window and one input row of a page.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "text/TextPair.h"

class QComboBox;
class QLineEdit;

namespace qm {

class CModernButton;
class ElidedLabel;

// One input row. The widgets are children of the main window, which deletes
// them; the row only points at them. The texts of rows and pages are the
// window's own constants, which the records only refer to.
struct FieldSpec {
  std::u16string key;
  TextPair labelText;             // no Chinese text: the English label in both languages
  std::vector<TextPair> options;  // the items of a drop-down row, in item order
  ElidedLabel* label = nullptr;
  ElidedLabel* prefix = nullptr;  // fixed text before the edit box, or none
  QLineEdit* edit = nullptr;
  QComboBox* combo = nullptr;
  int controlId = 0;
};

struct PageState {
  TextPair tabTitle;
  TextPair description;
  TextPair selfTestCaption;
  TextPair writeCaption;
  TextPair caCaption;
  std::vector<std::unique_ptr<FieldSpec>> fields;  // in display order
  CModernButton* selfTestButton = nullptr;
  CModernButton* writeButton = nullptr;
  CModernButton* caButton = nullptr;
  int selfTestId = 0;
  int writeId = 0;
  int caId = 0;
  bool hasSelfTest = true;
  bool hasCaButton = false;
  bool isCloudBox = false;
};

}  // namespace qm
