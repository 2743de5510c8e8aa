// SPDX-License-Identifier: MIT
// The file choosers of the windows: the one outside effect of picking a file,
// behind an interface so that tests choose files without a native dialog.
#pragma once

#include <QString>

class QWidget;

namespace qm {

class FileChooser {
 public:
  virtual ~FileChooser() = default;

  // An existing file to open; filters in Qt's "Name (*.ext);;..." form. A
  // name typed without an extension gets defaultSuffix ("pem", no dot).
  // Empty when the user cancelled.
  virtual QString ChooseOpenFile(QWidget* parent, const QString& filters,
                                 const QString& defaultSuffix) = 0;

  // A file to write, proposing defaultName; asks before replacing an
  // existing file. Empty when the user cancelled.
  virtual QString ChooseSaveFile(QWidget* parent, const QString& defaultName,
                                 const QString& filters) = 0;
};

}  // namespace qm
