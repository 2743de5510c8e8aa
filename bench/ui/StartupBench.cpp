// SPDX-License-Identifier: MIT
// Start-up time: from starting a process to the main window's first paint,
// offscreen. The benchmark starts itself as the child that opens the window.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/CMainDlg.h"

extern char** environ;

namespace {

long long NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Reports the moment the window has painted for the first time, then ends.
class FirstPaint final : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !m_seen) {
      m_seen = true;
      auto* widget = static_cast<QWidget*>(watched);
      QMetaObject::invokeMethod(widget, [] {
        std::printf("%lld\n", NowNs());
        std::fflush(stdout);
        std::_Exit(0);
      }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  bool m_seen = false;
};

int RunChild(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Tessaline"));
  qm::CMainDlg dialog;
  FirstPaint probe;
  dialog.installEventFilter(&probe);
  dialog.exec();
  return 1;  // the window closed without painting
}

std::string g_self;

void BM_StartToFirstPaint(benchmark::State& state) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  for (auto _ : state) {
    int out[2];
    if (pipe(out) != 0) state.SkipWithError("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* args[] = {g_self.data(), const_cast<char*>("--child"), nullptr};
    const long long start = NowNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, g_self.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char buffer[64] = {};
    const ssize_t n = spawned == 0 ? read(out[0], buffer, sizeof buffer - 1) : -1;
    close(out[0]);
    int status = 0;
    if (spawned == 0) waitpid(pid, &status, 0);
    if (n <= 0) {
      state.SkipWithError("the child reported no paint");
      break;
    }
    state.SetIterationTime(static_cast<double>(std::atoll(buffer) - start) / 1e9);
  }
}
BENCHMARK(BM_StartToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return RunChild(argc, argv);
  g_self = argv[0];
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
