// SPDX-License-Identifier: MIT
// Starting and stopping helper programs (broker, command-line clients) in tests.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace qm::test {

// Starts the program (searched in PATH) with its output sent to outputFile
// (or /dev/null); returns its pid, or -1.
pid_t SpawnProgram(const std::vector<std::string>& argv, const std::string& outputFile = {});
// Waits for the program to end within the timeout; its exit code, or -1 when
// it did not end in time (it is then killed) or ended by a signal.
int WaitProgram(pid_t pid, std::chrono::milliseconds timeout);
// Sends the signal and reaps the program.
void StopProgram(pid_t pid, int signal);
// Runs a program to its end; its exit code, or -1.
int RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

// A loopback TCP port that nothing listens on at the moment of the call.
int FreeLoopbackPort();
// True once a TCP connection to 127.0.0.1:port is accepted.
bool PortAcceptsConnections(int port);

// A loopback port that completes TCP handshakes but never answers: an MQTT
// connect to it stays pending until the library's connect time-out.
class SilentListener final {
 public:
  SilentListener();
  ~SilentListener();
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;
  std::string Uri() const { return "mqtt://127.0.0.1:" + std::to_string(m_port); }

 private:
  int m_fd = -1;
  int m_port = 0;
};

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

void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace qm::test
