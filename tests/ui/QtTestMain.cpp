// SPDX-License-Identifier: MIT
// Test entry for the window tests: one QApplication for the whole run, with
// the user's folders in an empty scratch home ($HOME) where anything written shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdlib>

int main(int argc, char* argv[]) {
  char pattern[] = "/tmp/qm-ui-home-XXXXXX";
  const char* home = mkdtemp(pattern);
  if (home == nullptr) return 2;
  setenv("HOME", home, 1);
  for (const char* sub : {"CONFIG", "DATA", "CACHE", "STATE", "RUNTIME"}) {
    const QString dir = QString::fromLatin1(home) + u'/' + QString::fromLatin1(sub).toLower();
    QDir().mkpath(dir);
    QFile::setPermissions(dir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const std::string var = std::string("XDG_") + sub + (sub[0] == 'R' ? "_DIR" : "_HOME");
    setenv(var.c_str(), dir.toLocal8Bit().constData(), 1);
  }
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Tessaline"));
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  QDir(QString::fromLatin1(home)).removeRecursively();
  return result;
}
