// SPDX-License-Identifier: MIT
// Starting and stopping helper programs (broker, command-line clients) in tests.
#include "simulator/TestProcesses.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace qm::test {
namespace {

constexpr std::chrono::milliseconds kPoll{5};

sockaddr_in Loopback(int port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return addr;
}

// A socket on a port of loopback the kernel chose, listening if asked.
int BoundLoopbackSocket(int& port, bool listening) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr = Loopback(0);
  socklen_t len = sizeof addr;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      (listening && listen(fd, 64) != 0) ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    throw std::runtime_error("cannot bind a loopback port");
  }
  port = ntohs(addr.sin_port);
  return fd;
}

}  // namespace

pid_t SpawnProgram(const std::vector<std::string>& argv, const std::string& outputFile) {
  std::vector<char*> args;
  for (const std::string& arg : argv) {
    args.push_back(const_cast<char*>(arg.c_str()));
  }
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string out = outputFile.empty() ? "/dev/null" : outputFile;
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

int WaitProgram(pid_t pid, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      StopProgram(pid, SIGKILL);
      return -1;
    }
    std::this_thread::sleep_for(kPoll);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void StopProgram(pid_t pid, int signal) {
  if (pid <= 0) {
    return;
  }
  kill(pid, signal);
  int status = 0;
  waitpid(pid, &status, 0);
}

int RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
  const pid_t pid = SpawnProgram(argv);
  return pid < 0 ? -1 : WaitProgram(pid, timeout);
}

int FreeLoopbackPort() {
  int port = 0;
  close(BoundLoopbackSocket(port, false));
  return port;
}

bool PortAcceptsConnections(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in addr = Loopback(port);
  const bool ok = fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  if (fd >= 0) {
    close(fd);
  }
  return ok;
}

SilentListener::SilentListener() { m_fd = BoundLoopbackSocket(m_port, true); }

SilentListener::~SilentListener() { close(m_fd); }

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qm-mqtt-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace qm::test
