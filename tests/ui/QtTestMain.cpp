// SPDX-License-Identifier: MIT
// Test entry for the window tests: one QApplication for the whole run, with
// the user's folders in an empty scratch home ($HOME) where anything written
// shows; the runtime folder is its "runtime" (0700).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <cstdlib>

int main(int argc, char* argv[]) {
  char pattern[] = "/tmp/qm-ui-home-XXXXXX";
  const char* home = mkdtemp(pattern);
  const QString runtime =
      QString::fromLatin1(home != nullptr ? home : "") + QStringLiteral("/runtime");
  if (home == nullptr || !QDir().mkpath(runtime)) return 2;
  QFile::setPermissions(runtime,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  setenv("HOME", home, 1);
  setenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit().constData(), 1);
  for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
    unsetenv(var);
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Tessaline"));
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  QDir(QString::fromLatin1(home)).removeRecursively();
  return result;
}
