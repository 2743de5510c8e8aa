// SPDX-License-Identifier: MIT
// A real mosquitto broker on a free loopback port, for the MQTT client tests.
#include "simulator/MosquittoBroker.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace qm::test {
namespace {

constexpr char kBroker[] = "/usr/sbin/mosquitto";
// A loaded machine may take a while to start a process.
constexpr std::chrono::milliseconds kStartDeadline{15000};
constexpr std::chrono::milliseconds kPoll{10};
constexpr int kStartAttempts = 3;

}  // namespace

MosquittoBroker::MosquittoBroker(BrokerSettings settings) : m_settings(std::move(settings)) {}

MosquittoBroker::~MosquittoBroker() { Stop(); }

bool MosquittoBroker::Start(int port) {
  if (port != 0) {
    return StartOn(port);
  }
  // Another process may take the free port between the check and the start.
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    if (StartOn(FreeLoopbackPort())) {
      return true;
    }
  }
  return false;
}

bool MosquittoBroker::StartOn(int port) {
  Stop();
  m_port = port;
  std::ostringstream conf;
  conf << "listener " << port << " 127.0.0.1\n"
       << "persistence false\n"
       << "log_dest stderr\n";
  // Run as root, mosquitto would switch to its own user, which cannot read
  // our private directory.
  if (geteuid() == 0) {
    conf << "user root\n";
  }
  if (m_settings.password.empty()) {
    conf << "allow_anonymous true\n";
  } else {
    const std::string passwords = m_dir.File("passwd");
    if (RunProgram({"mosquitto_passwd", "-c", "-b", passwords, m_settings.user, m_settings.password},
                   kStartDeadline) != 0) {
      return false;
    }
    conf << "allow_anonymous false\n"
         << "password_file " << passwords << "\n";
  }
  for (const std::string& line : m_settings.extraConfig) {
    conf << line << "\n";
  }
  WriteFile(m_dir.File("mosquitto.conf"), conf.str());

  m_pid = SpawnProgram({kBroker, "-c", m_dir.File("mosquitto.conf")}, m_dir.File("broker.log"));
  if (m_pid < 0) {
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + kStartDeadline;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
      m_pid = -1;  // it gave up, e.g. the port was taken
      return false;
    }
    if (PortAcceptsConnections(port)) {
      return true;
    }
    std::this_thread::sleep_for(kPoll);
  }
  Kill();
  return false;
}

void MosquittoBroker::Stop() {
  StopProgram(m_pid, SIGTERM);
  m_pid = -1;
}

void MosquittoBroker::Kill() {
  StopProgram(m_pid, SIGKILL);
  m_pid = -1;
}

std::vector<std::string> MosquittoBroker::ClientArgs(const std::string& program) const {
  std::vector<std::string> args = {program, "-h", "127.0.0.1", "-p", std::to_string(m_port)};
  if (!m_settings.password.empty()) {
    args.insert(args.end(), {"-u", m_settings.user, "-P", m_settings.password});
  }
  return args;
}

std::string MosquittoBroker::Log() const {
  std::ifstream in(m_dir.File("broker.log"));
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace qm::test
