// SPDX-License-Identifier: MIT
// A one-line static text that ends in an ellipsis when it does not fit.
#pragma once

#include <QLabel>

namespace qm {

class ElidedLabel final : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(Qt::Alignment alignment, QWidget* parent = nullptr);

  // The text as drawn at the current width (the full text when it fits).
  QString DisplayedText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace qm
