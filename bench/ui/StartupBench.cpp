// SPDX-License-Identifier: MIT
// Start-up time of the program against a bare Qt dialog: spawns the two
// children alternately, each from just before posix_spawn to the end of its
// window's first paint (offscreen), and prints medians and their ratio.
//
//   ui_startup_bench [pairs]   (default 60, after 3 warm-up pairs)
#include <fcntl.h>
#include <spawn.h>
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

// Milliseconds from spawn to the child's report; negative on failure.
double SpawnToFirstPaintMs(const std::string& program) {
  int out[2];
  if (pipe(out) != 0) return -1;
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
  if (spawned == 0) waitpid(pid, &status, 0);
  if (n <= 0) return -1;
  return static_cast<double>(std::atoll(buffer) - start) / 1e6;
}

double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double at = q * static_cast<double>(values.size() - 1);
  const auto low = static_cast<std::size_t>(at);
  const std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

void PrintRow(const char* name, const std::vector<double>& ms) {
  std::printf("%-12s median %6.2f ms   p10 %6.2f   p90 %6.2f\n", name, Quantile(ms, 0.5), Quantile(ms, 0.1),
              Quantile(ms, 0.9));
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

  std::vector<double> bareMs;
  std::vector<double> programMs;
  std::vector<double> ratios;
  for (int i = -kWarmUpPairs; i < pairs; ++i) {
    const double b = SpawnToFirstPaintMs(bare);
    const double p = SpawnToFirstPaintMs(program);
    if (b <= 0 || p <= 0) {
      std::fprintf(stderr, "a child reported no paint\n");
      return 1;
    }
    if (i < 0) continue;
    bareMs.push_back(b);
    programMs.push_back(p);
    ratios.push_back(p / b);
  }
  std::printf("%d alternating pairs, spawn to end of first paint\n", pairs);
  PrintRow("bare QDialog", bareMs);
  PrintRow("Quillmark", programMs);
  std::printf("ratio of medians %.2f, median of pair ratios %.2f\n",
              Quantile(programMs, 0.5) / Quantile(bareMs, 0.5), Quantile(ratios, 0.5));
  return 0;
}
