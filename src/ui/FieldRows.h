// SPDX-License-Identifier: MIT
// Language switch of the windows' input rows and drop-downs.
#pragma once

#include <QStringList>
#include <vector>

#include "text/TextPair.h"
#include "ui/PageState.h"

class QComboBox;
class QLineEdit;
class QString;
class QWidget;

namespace qm {

// The texts of the chosen language.
QStringList PickAll(const std::vector<TextPair>& texts, bool chinese);

// Empties the drop-down and fills it with the items, then selects `keep`
// again when it names an item, else item 0. Sends no user-choice notice.
void RefillCombo(QComboBox* combo, const QStringList& items, int keep);

// An input field of either window: no control character gets in, whether
// typed, pasted, dropped or set.
QLineEdit* CreateFieldEdit(const QString& text, QWidget* parent);

// Shows the row in the chosen language: its label and, on a drop-down row,
// its items, with the selected index kept.
void RetextFieldRow(FieldSpec& row, bool chinese);

}  // namespace qm
