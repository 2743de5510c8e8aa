// SPDX-License-Identifier: MIT
#include "ui/QtFileChooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace qm {

QString QtFileChooser::ChooseOpenFile(QWidget* parent, const QString& filters) {
  // The open dialog only accepts existing files.
  return QFileDialog::getOpenFileName(parent, QString(), QString(), filters);
}

QString QtFileChooser::ChooseSaveFile(QWidget* parent, const QString& defaultName,
                                      const QString& filters) {
  // The save dialog asks before it replaces an existing file; a name typed
  // without an extension gets the proposed name's.
  QFileDialog dialog(parent, QString(), QString(), filters);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QFileInfo(defaultName).suffix());
  dialog.selectFile(defaultName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

}  // namespace qm
