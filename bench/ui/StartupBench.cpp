// SPDX-License-Identifier: MIT
// Start-up time of the program against a bare Qt dialog: spawns the two
// children alternately, each from just before posix_spawn to the end of its
// window's first paint (offscreen), and prints medians and their ratio.
//
//   ui_startup_bench [pairs]   (default 60, after 3 warm-up pairs)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "MonotonicClock.h"

extern char** environ;

namespace {

constexpr int kWarmUpPairs = 3;

struct Run {
  double wallMs = -1;  // spawn to the child's report
  double cpuMs = -1;   // the child's user and system time, to its exit
};

Run SpawnToFirstPaint(const std::string& program) {
  int out[2];
  if (pipe(out) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  // Qt's warnings of the offscreen platform would drown the figures.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::string path = program;
  char* args[] = {path.data(), nullptr};
  const long long start = qm::bench::NowNs();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  char buffer[64] = {};
  const ssize_t n = spawned == 0 ? read(out[0], buffer, sizeof buffer - 1) : -1;
  close(out[0]);
  int status = 0;
  rusage usage{};
  if (spawned == 0) wait4(pid, &status, 0, &usage);
  if (n <= 0) return {};
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3;
  };
  return {static_cast<double>(std::atoll(buffer) - start) / 1e6,
          ms(usage.ru_utime) + ms(usage.ru_stime)};
}

double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double at = q * static_cast<double>(values.size() - 1);
  const auto low = static_cast<std::size_t>(at);
  const std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

void PrintRow(const char* name, const std::vector<double>& wall, const std::vector<double>& cpu) {
  std::printf("%-12s median %6.2f ms   p10 %6.2f   p90 %6.2f   cpu median %6.2f ms\n", name,
              Quantile(wall, 0.5), Quantile(wall, 0.1), Quantile(wall, 0.9), Quantile(cpu, 0.5));
}

}  // namespace

int main(int argc, char** argv) {
  const int pairs = argc > 1 ? std::atoi(argv[1]) : 60;
  if (pairs <= 0) return 2;
  std::string dir = argv[0];
  dir = dir.substr(0, dir.find_last_of('/') + 1);
  const std::string bare = dir + "ui_startup_bare_child";
  const std::string program = dir + "ui_startup_main_child";
  setenv("QT_QPA_PLATFORM", "offscreen", 1);

  std::vector<double> bareWall, bareCpu, programWall, programCpu, ratios;
  for (int i = -kWarmUpPairs; i < pairs; ++i) {
    const Run b = SpawnToFirstPaint(bare);
    const Run p = SpawnToFirstPaint(program);
    if (b.wallMs <= 0 || p.wallMs <= 0) {
      std::fprintf(stderr, "a child reported no paint\n");
      return 1;
    }
    if (i < 0) continue;
    bareWall.push_back(b.wallMs);
    bareCpu.push_back(b.cpuMs);
    programWall.push_back(p.wallMs);
    programCpu.push_back(p.cpuMs);
    ratios.push_back(p.wallMs / b.wallMs);
  }
  std::printf("%d alternating pairs, spawn to end of first paint\n", pairs);
  PrintRow("bare QDialog", bareWall, bareCpu);
  PrintRow("Quillmark", programWall, programCpu);
  std::printf("ratio of medians %.2f, median of pair ratios %.2f, cpu ratio %.2f\n",
              Quantile(programWall, 0.5) / Quantile(bareWall, 0.5), Quantile(ratios, 0.5),
              Quantile(programCpu, 0.5) / Quantile(bareCpu, 0.5));
  return 0;
}
