// SPDX-License-Identifier: MIT
// Language switch of the windows' input rows and drop-downs.
#include "ui/FieldRows.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "ui/ElidedLabel.h"
#include "ui/UiText.h"

namespace qm {

void RefillCombo(QComboBox* combo, const std::vector<std::u16string>& items, int keep) {
  const QSignalBlocker quiet(combo);
  combo->clear();
  for (const std::u16string& item : items) combo->addItem(Q(item));
  combo->setCurrentIndex(keep >= 0 && keep < combo->count() ? keep : 0);
}

void RetextFieldRow(FieldSpec& row, bool chinese) {
  if (row.label != nullptr) row.label->setText(Q(chinese && !row.labelZh.empty() ? row.labelZh : row.labelEn));
  if (row.combo == nullptr) return;
  const bool useChinese = chinese && !row.optionsZh.empty();
  RefillCombo(row.combo, useChinese ? row.optionsZh : row.optionsEn, row.combo->currentIndex());
}

}  // namespace qm
