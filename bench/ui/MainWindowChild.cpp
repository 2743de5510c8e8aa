// SPDX-License-Identifier: MIT
// The program as src/app/main.cpp starts it, with a probe on the main window.
#include <QApplication>

#include "FirstPaintProbe.h"
#include "ui/CMainDlg.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillmark"));
  QApplication::setOrganizationName(QStringLiteral("Tessaline"));
  QApplication::setDesktopFileName(QStringLiteral("quillmark"));
  qm::CMainDlg dialog;
  qm::bench::FirstPaintProbe probe(&dialog);
  dialog.exec();
  return 1;  // closed without painting
}
