// SPDX-License-Identifier: MIT
// Test entry for the window tests: one QApplication for the whole run, with
// the user's folders in an empty scratch home where anything written shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdlib>
#include <string>

#include "ui/UiTestSupport.h"

int main(int argc, char* argv[]) {
  char pattern[] = "/tmp/qm-ui-home-XXXXXX";
  const char* home = mkdtemp(pattern);
  if (home == nullptr) return 2;
  const std::string base(home);
  setenv("HOME", home, 1);
  for (const char* sub : {"CONFIG", "DATA", "CACHE", "STATE", "RUNTIME"}) {
    const std::string dir = base + "/" + QString::fromLatin1(sub).toLower().toStdString();
    QDir().mkpath(QString::fromStdString(dir));
    setenv((std::string("XDG_") + sub + (sub[0] == 'R' ? "_DIR" : "_HOME")).c_str(), dir.c_str(), 1);
  }
  QFile::setPermissions(QString::fromStdString(base + "/runtime"), QFileDevice::ReadOwner |
                        QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qm::test::SetScratchHome(QString::fromStdString(base));
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Tessaline"));
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  QDir(QString::fromStdString(base)).removeRecursively();
  return result;
}
