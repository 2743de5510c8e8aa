// SPDX-License-Identifier: MIT
// Language switch of the windows' input rows and drop-downs.
#pragma once

#include <string>
#include <vector>

#include "ui/PageState.h"

class QComboBox;

namespace qm {

// Empties the drop-down and fills it with the items, then selects `keep`
// again when it names an item, else item 0. Sends no user-choice notice.
void RefillCombo(QComboBox* combo, const std::vector<std::u16string>& items, int keep);

// Shows the row in the chosen language: its label (the English one where
// the Chinese one is empty) and, on a drop-down row, its items in that
// language with the selected index kept.
void RetextFieldRow(FieldSpec& row, bool chinese);

}  // namespace qm
