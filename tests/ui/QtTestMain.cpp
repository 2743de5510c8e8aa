// SPDX-License-Identifier: MIT
// Test entry for the window tests: one QApplication for the whole run, with
// the user's folders pointed at an empty scratch home so that anything the
// program wrote there would be found.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cstdlib>
#include <string>

#include "ui/UiTestSupport.h"

int main(int argc, char* argv[]) {
  char pattern[] = "/tmp/qm-ui-home-XXXXXX";
  const char* home = mkdtemp(pattern);
  if (home == nullptr) return 2;
  const std::string base(home);
  for (const char* sub : {"/config", "/data", "/cache", "/state", "/runtime"}) QDir().mkpath(QString::fromStdString(base + sub));
  setenv("HOME", home, 1);
  setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (base + "/cache").c_str(), 1);
  setenv("XDG_STATE_HOME", (base + "/state").c_str(), 1);
  QFile::setPermissions(QString::fromStdString(base + "/runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  setenv("XDG_RUNTIME_DIR", (base + "/runtime").c_str(), 1);
  qm::test::SetScratchHome(QString::fromStdString(base));

  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Tessaline"));
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  QDir(QString::fromStdString(base)).removeRecursively();
  return result;
}
