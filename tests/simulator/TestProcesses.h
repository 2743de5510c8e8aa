// SPDX-License-Identifier: MIT
// Helper programs (broker, command-line clients), ports, files and waits for tests.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace qm::test {

// Polls every 5 ms until done() holds (true) or the time-out has passed (false).
bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
// Starts the program (from PATH), output to outputFile or /dev/null; its pid or -1.
pid_t SpawnProgram(const std::vector<std::string>& argv, const std::string& outputFile = {});
// Its exit code, or -1 when it ended by a signal or not in time (it is then killed).
int WaitProgram(pid_t pid, std::chrono::milliseconds timeout);
void StopProgram(pid_t pid, int signal);  // signals and reaps
int RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);
// A loopback port nothing listens on now or, silent, one that accepts TCP but never answers.
int LoopbackPort(bool silent = false);
std::string ReadFile(const std::string& path);  // empty when missing

// A fresh private directory, removed with its files on destruction.
class TempDir final {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

}  // namespace qm::test
