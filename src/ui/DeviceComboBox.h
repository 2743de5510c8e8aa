// SPDX-License-Identifier: MIT
// The device drop-down: its own list never opens; the window shows a menu
// in its place.
#pragma once

#include <QComboBox>

namespace qm {

class DeviceComboBox final : public QComboBox {
  Q_OBJECT

 public:
  explicit DeviceComboBox(QWidget* parent = nullptr) : QComboBox(parent) {}

  void showPopup() override { emit DropDownRequested(); }

 signals:
  void DropDownRequested();
};

}  // namespace qm
