// SPDX-License-Identifier: MIT
#include "ui/QtFileChooser.h"

#include <QFileDialog>

namespace qm {

QString QtFileChooser::ChooseOpenFile(QWidget* parent, const QString& filters) {
  // The open dialog only accepts existing files.
  return QFileDialog::getOpenFileName(parent, QString(), QString(), filters);
}

QString QtFileChooser::ChooseSaveFile(QWidget* parent, const QString& defaultName,
                                      const QString& filters) {
  // The save dialog asks before it replaces an existing file.
  return QFileDialog::getSaveFileName(parent, QString(), defaultName, filters);
}

}  // namespace qm
