// SPDX-License-Identifier: MIT
#include "ui/QtFileChooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace qm {
namespace {

// Runs one file dialog; a name typed without an extension gets
// `defaultSuffix`. Empty when the user cancelled.
QString RunFileDialog(QWidget* parent, const QString& filters, QFileDialog::AcceptMode mode,
                      const QString& defaultSuffix, const QString& proposedName) {
  QFileDialog dialog(parent, QString(), QString(), filters);
  dialog.setAcceptMode(mode);
  // The open dialog only accepts existing files; the save dialog asks before
  // it replaces one.
  if (mode == QFileDialog::AcceptOpen) dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(defaultSuffix);
  if (!proposedName.isEmpty()) dialog.selectFile(proposedName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtFileChooser::ChooseOpenFile(QWidget* parent, const QString& filters,
                                      const QString& defaultSuffix) {
  return RunFileDialog(parent, filters, QFileDialog::AcceptOpen, defaultSuffix, QString());
}

QString QtFileChooser::ChooseSaveFile(QWidget* parent, const QString& defaultName,
                                      const QString& filters) {
  // The proposed name's extension is the one a bare typed name gets.
  return RunFileDialog(parent, filters, QFileDialog::AcceptSave, QFileInfo(defaultName).suffix(),
                       defaultName);
}

}  // namespace qm
