// SPDX-License-Identifier: MIT
// Language switch of the windows' input rows and drop-downs.
#include "ui/FieldRows.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "ui/ControlCharacterValidator.h"
#include "ui/ElidedLabel.h"
#include "ui/UiText.h"

namespace qm {

QStringList PickAll(const std::vector<TextPair>& texts, bool chinese) {
  QStringList picked;
  for (const TextPair& text : texts) picked << Q(text.Pick(chinese));
  return picked;
}

void RefillCombo(QComboBox* combo, const QStringList& items, int keep) {
  const QSignalBlocker quiet(combo);
  combo->clear();
  combo->addItems(items);
  combo->setCurrentIndex(keep >= 0 && keep < combo->count() ? keep : 0);
}

QLineEdit* CreateFieldEdit(const QString& text, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setValidator(new ControlCharacterValidator(edit));
  edit->setText(text);
  return edit;
}

void RetextFieldRow(FieldSpec& row, bool chinese) {
  if (row.label != nullptr) row.label->setText(Q(row.labelText.Pick(chinese)));
  if (row.combo != nullptr)
    RefillCombo(row.combo, PickAll(row.options, chinese), row.combo->currentIndex());
}

}  // namespace qm
