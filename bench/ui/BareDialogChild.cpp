// SPDX-License-Identifier: MIT
// The start-up benchmark's yardstick: a bare Qt dialog with a few line edits,
// linked against Qt Widgets only.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QVBoxLayout>

#include "FirstPaintProbe.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Dialog"));
  auto* layout = new QVBoxLayout(&dialog);
  for (int i = 0; i < 3; ++i) layout->addWidget(new QLineEdit(&dialog));
  qm::bench::FirstPaintProbe probe(&dialog);
  dialog.exec();
  return 1;  // closed without painting
}
