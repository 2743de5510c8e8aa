// SPDX-License-Identifier: MIT
// The program: the application object runs the main window, and the program
// ends when that window closes.
#include <QApplication>

#include "ui/CMainDlg.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillmark"));
  // The organisation the program belongs to; it stores no settings there.
  QApplication::setOrganizationName(QStringLiteral("Tessaline"));
  QApplication::setDesktopFileName(QStringLiteral("quillmark"));
  {
    // The main window's modal run is the program's only event loop.
    qm::CMainDlg dialog;
    dialog.exec();
  }
  return 0;
}
