// SPDX-License-Identifier: MIT
#include "simulator/TestProcesses.h"

#include <arpa/inet.h>
#include <fcntl.h>
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

bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

pid_t SpawnProgram(const std::vector<std::string>& argv, const std::string& outputFile) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
  const char* out = outputFile.empty() ? "/dev/null" : outputFile.c_str();
  posix_spawn_file_actions_addopen(&fa, 1, out, O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&fa, 1, 2);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, args[0], &fa, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  return rc == 0 ? pid : -1;
}

int WaitProgram(pid_t pid, std::chrono::milliseconds timeout) {
  int status = -1;
  const bool ended =
      pid > 0 && PollUntil([&] { return waitpid(pid, &status, WNOHANG) != 0; }, timeout);
  if (!ended) StopProgram(pid, SIGKILL);
  return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void StopProgram(pid_t pid, int signal) {
  if (pid > 0 && kill(pid, signal) == 0) waitpid(pid, nullptr, 0);
}

int RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
  return WaitProgram(SpawnProgram(argv), timeout);
}

int LoopbackPort(bool silent) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  auto* a = reinterpret_cast<sockaddr*>(&addr);
  socklen_t len = sizeof addr;
  if (fd < 0 || bind(fd, a, len) != 0 || listen(fd, 64) != 0 || getsockname(fd, a, &len) != 0) {
    throw std::runtime_error("cannot bind a loopback port");
  }
  if (!silent) close(fd);  // else left open, never accepted: the kernel completes the handshakes
  return ntohs(addr.sin_port);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), {}};
}

TempDir::TempDir() : m_path((std::filesystem::temp_directory_path() / "qm-mqtt-XXXXXX").string()) {
  if (mkdtemp(m_path.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
}

TempDir::~TempDir() { std::filesystem::remove_all(m_path); }

}  // namespace qm::test
