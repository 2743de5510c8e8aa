// SPDX-License-Identifier: MIT
// The program's file chooser: Qt's file dialogs.
#pragma once

#include "ui/FileChooser.h"

namespace qm {

class QtFileChooser final : public FileChooser {
 public:
  QString ChooseOpenFile(QWidget* parent, const QString& filters,
                         const QString& defaultSuffix) override;
  QString ChooseSaveFile(QWidget* parent, const QString& defaultName,
                         const QString& filters) override;
};

}  // namespace qm
