// SPDX-License-Identifier: MIT
// One device page of the main window and one input row of a page.
#pragma once

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;

namespace qm {

class CModernButton;
class ElidedLabel;

// One input row. The widgets are children of the main window, which deletes
// them; the row only points at them.
struct FieldSpec {
  std::u16string key;
  std::u16string labelEn;
  std::u16string labelZh;  // empty: the English label in both languages
  std::vector<std::u16string> optionsEn;
  std::vector<std::u16string> optionsZh;
  ElidedLabel* label = nullptr;
  ElidedLabel* prefix = nullptr;  // fixed text before the edit box, or none
  QLineEdit* edit = nullptr;
  QComboBox* combo = nullptr;
  int controlId = 0;
};

struct PageState {
  std::u16string tabTitleEn;
  std::u16string tabTitleZh;
  std::u16string descriptionEn;
  std::u16string descriptionZh;
  std::u16string selfTestCaptionEn;
  std::u16string selfTestCaptionZh;
  std::u16string writeCaptionEn;
  std::u16string writeCaptionZh;
  std::u16string caCaptionEn;
  std::u16string caCaptionZh;
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
