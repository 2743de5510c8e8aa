// SPDX-License-Identifier: MIT
// The program's start-up step taken in a child process, which then fails a write: the child
// lives on and reports the error; the test process itself never ignores the signals.
#include "app/WriteSignals.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ui/CMqttSimDlg.h"
#include "ui/FileChooser.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

struct FixedSaveChooser final : FileChooser {
  explicit FixedSaveChooser(QString file) : path(std::move(file)) {}
  QString ChooseOpenFile(QWidget*, const QString&, const QString&) override { return {}; }
  QString ChooseSaveFile(QWidget*, const QString&, const QString&) override { return path; }
  QString path;
};

// The simulator's Export under a file size limit of 16 bytes: the log's last line.
std::string ExportOverTheSizeLimit(const fs::path& dir) {
  int argc = 1;
  char name[] = "quillmark";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  FixedSaveChooser chooser(QString::fromStdString((dir / "log.txt").string()));
  CMqttSimDlg sim(nullptr, false, chooser);
  sim.SetLogClock([] { return QTime(9, 5, 3); });
  sim.show();
  if (!QTest::qWaitForWindowExposed(&sim)) return "not shown";
  sim.AppendLog(u"a line of more than sixteen bytes", LogKind::Info);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &limit);
  QTest::mouseClick(sim.Control(kIdSimExport), Qt::LeftButton);
  return sim.Log()->document()->lastBlock().text().toStdString();
}

std::string WriteIntoAPipeWithoutReader(const fs::path&) {
  int ends[2];
  if (pipe(ends) != 0) return "no pipe";
  close(ends[0]);
  const ssize_t written = write(ends[1], "x", 1);
  return written < 0 && errno == EPIPE ? "EPIPE" : "wrote " + std::to_string(written);
}

// Forks; the child takes the start-up step, runs `body` and sends back what it returned.
// "exit N: report" or "signal N", within 20 s.
std::string RunChild(std::string (*body)(const fs::path&), const fs::path& dir) {
  int ends[2];
  if (pipe(ends) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    IgnoreWriteSignals();
    const std::string report = body(dir);
    _exit(write(ends[1], report.data(), report.size()) == ssize_t(report.size()) ? 0 : 3);
  }
  close(ends[1]);
  std::string report;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  char buffer[256];
  for (pollfd in{ends[0], POLLIN, 0}; std::chrono::steady_clock::now() < deadline;) {
    if (poll(&in, 1, 100) <= 0) continue;
    const ssize_t got = read(ends[0], buffer, sizeof buffer);
    if (got <= 0) break;
    report.append(buffer, std::size_t(got));
  }
  close(ends[0]);
  if (std::chrono::steady_clock::now() >= deadline) kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
  return "exit " + std::to_string(WEXITSTATUS(status)) + ": " + report;
}

// Every file of the folder with its bytes.
std::string Listing(const fs::path& dir) {
  std::string listing;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    std::ifstream file(entry.path(), std::ios::binary);
    listing += entry.path().filename().string() + "=" +
               std::string(std::istreambuf_iterator<char>(file), {}) + ";";
  }
  return listing;
}

TEST(WriteSignals, AWriteThatFailsIsAnErrorNotTheEndOfTheProgram) {
  const std::tuple<std::string (*)(const fs::path&), std::string> cases[] = {
      {ExportOverTheSizeLimit, "exit 0: [09:05:03] Export failed.|log.txt=old log\n;"},
      {WriteIntoAPipeWithoutReader, "exit 0: EPIPE|log.txt=old log\n;"},
  };
  for (const auto& [body, expected] : cases) {
    std::string dir = "/tmp/qm-signals-XXXXXX";
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    std::ofstream(dir + "/log.txt", std::ios::binary) << "old log\n";
    EXPECT_EQ(RunChild(body, dir) + "|" + Listing(dir), expected);
    fs::remove_all(dir);
  }
}

}  // namespace
}  // namespace qm
