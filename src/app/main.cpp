// SPDX-License-Identifier: MIT
// The program: the application object runs the main window, and the program
// ends when that window closes.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/WriteSignals.h"
#include "ui/CMainDlg.h"

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

// A window needs a display server, unless a Qt platform (such as offscreen)
// is chosen explicitly in the environment or on the command line. Without
// one, Qt would abort with a core dump instead of an answer.
bool HasDesktopSession(int argc, char* argv[]) {
  if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM")) return true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  // A failed write (an export beyond the file size limit, a closed pipe) is
  // an error the window reports, not the end of the program.
  qm::IgnoreWriteSignals();
  if (!HasDesktopSession(argc, argv)) {
    std::fputs(
        "Quillmark needs a desktop session (X11 or Wayland): "
        "neither DISPLAY nor WAYLAND_DISPLAY is set.\n",
        stderr);
    return 1;
  }
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
