// SPDX-License-Identifier: MIT
// Window tests' entry: one QApplication; the user's folders in a scratch home, runtime 0700.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
  char home[] = "/tmp/qm-ui-home-XXXXXX";
  const std::string runtime = mkdtemp(home) ? std::string(home) + "/runtime" : std::string();
  if (runtime.empty() || mkdir(runtime.c_str(), 0700) != 0) return 2;
  setenv("HOME", home, 1);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
    unsetenv(var);
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Tessaline"));
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  QDir(QString::fromLatin1(home)).removeRecursively();
  return result;
}
