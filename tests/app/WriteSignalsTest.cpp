// SPDX-License-Identifier: MIT
// The program's start-up step taken in a forked child, which then fails a write: the child
// lives on and reports the error. The test's own process never ignores the signals.
#include "app/WriteSignals.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ui/CMqttSimDlg.h"
#include "ui/FileChooser.h"

namespace qm {
namespace {

struct SaveTo final : FileChooser {
  QString ChooseOpenFile(QWidget*, const QString&, const QString&) override { return {}; }
  QString ChooseSaveFile(QWidget*, const QString&, const QString&) override { return path; }
  QString path;
};

// The simulator's Export of a log line longer than a file size limit of 16 bytes: its last line.
std::string ExportOverTheSizeLimit(const std::string& file) {
  int argc = 1;
  char name[] = "quillmark", *argv[] = {name, nullptr};
  QApplication app(argc, argv);
  SaveTo chooser;
  chooser.path = QString::fromStdString(file);
  CMqttSimDlg sim(nullptr, false, chooser);
  sim.SetLogClock([] { return QTime(9, 5, 3); });
  sim.show();
  sim.AppendLog(u"more than sixteen bytes of log", LogKind::Info);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &limit);
  QTest::mouseClick(sim.Control(kIdSimExport), Qt::LeftButton);
  return sim.Log()->document()->lastBlock().text().toStdString();
}

std::string WriteIntoAPipeWithoutReader(const std::string&) {
  int ends[2];
  const bool made = pipe(ends) == 0 && close(ends[0]) == 0;
  return made && write(ends[1], "x", 1) < 0 && errno == EPIPE ? "EPIPE" : "written";
}

// "exit N: what body returned" or "signal N"; a child still running after 20 s is killed.
std::string InChild(std::string (*body)(const std::string&), const std::string& file) {
  int ends[2];
  if (pipe(ends) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    IgnoreWriteSignals();
    const std::string report = body(file);
    _exit(write(ends[1], report.data(), report.size()) < 0 ? 3 : 0);
  }
  close(ends[1]);
  int status = 0, waited = 0;
  while (waitpid(child, &status, WNOHANG) == 0 && ++waited < 2000) usleep(10'000);
  if (waited == 2000) kill(child, SIGKILL), waitpid(child, &status, 0);
  char report[256];
  const ssize_t got = read(ends[0], report, sizeof report);
  close(ends[0]);
  if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
  return "exit " + std::to_string(WEXITSTATUS(status)) + ": " +
         std::string(report, std::size_t(std::max<ssize_t>(got, 0)));
}

// The old file stays as it was, and nothing is left beside it.
TEST(WriteSignals, AWriteThatFailsIsAnErrorNotTheEndOfTheProgram) {
  const std::tuple<std::string (*)(const std::string&), std::string> cases[] = {
      {ExportOverTheSizeLimit, "exit 0: [09:05:03] Export failed.|old log\n|1"},
      {WriteIntoAPipeWithoutReader, "exit 0: EPIPE|old log\n|1"},
  };
  for (const auto& [body, expected] : cases) {
    std::string dir = "/tmp/qm-signals-XXXXXX";
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    std::ofstream(dir + "/log.txt") << "old log\n";
    const std::string outcome = InChild(body, dir + "/log.txt");
    std::ifstream file(dir + "/log.txt");
    EXPECT_EQ(outcome + "|" + std::string(std::istreambuf_iterator<char>(file), {}) + "|" +
                  std::to_string(std::distance(std::filesystem::directory_iterator(dir), {})),
              expected);
    std::filesystem::remove_all(dir);
  }
}

}  // namespace
}  // namespace qm
