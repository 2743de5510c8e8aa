// SPDX-License-Identifier: MIT
#include "simulator/MosquittoBroker.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

namespace qm::test {

constexpr std::chrono::milliseconds kStartDeadline{15000};  // a loaded machine is slow to start

bool MosquittoBroker::Start(int port) {
  // Another process may take a free port between the check and the start: three tries.
  for (int attempt = 0; attempt < 3; ++attempt) {
    Stop();
    m_port = port != 0 ? port : LoopbackPort();
    const std::string passwords = m_dir.File("passwd"), conf = m_dir.File("mosquitto.conf");
    std::ofstream out(conf, std::ios::trunc);
    out << "listener " << m_port << " 127.0.0.1\npersistence false\nlog_dest stderr\n";
    // As root, mosquitto would switch to a user that cannot read our directory.
    if (geteuid() == 0) out << "user root\n";
    const std::vector<std::string> passwd = {
        "mosquitto_passwd", "-c", "-b", passwords, m_settings.user, m_settings.password};
    if (m_settings.password.empty()) {
      out << "allow_anonymous true\n";
    } else if (RunProgram(passwd, kStartDeadline) == 0) {
      out << "allow_anonymous false\npassword_file " << passwords << "\n";
    }
    for (const std::string& line : m_settings.extraConfig) out << line << "\n";
    out.close();
    const std::size_t logged = Log().size();  // the log goes on across restarts
    m_pid = SpawnProgram({"/usr/sbin/mosquitto", "-c", conf}, m_dir.File("broker.log"));
    const auto up = [&] {
      if (m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == m_pid) m_pid = -1;   // e.g. port taken
      return m_pid < 0 || Log().find(" running", logged) != std::string::npos;  // listening
    };
    if (PollUntil(up, kStartDeadline) && m_pid > 0) return true;
    Kill();
  }
  return false;
}

std::vector<std::string> MosquittoBroker::ClientArgs(const std::string& program) const {
  std::vector<std::string> args = {program, "-h", "127.0.0.1", "-p", std::to_string(m_port)};
  if (!m_settings.password.empty()) {
    args.insert(args.end(), {"-u", m_settings.user, "-P", m_settings.password});
  }
  return args;
}

std::vector<std::string> MosquittoBroker::PubArgs(const std::string& topic,
                                                  const std::string& payload, int repeat) const {
  std::vector<std::string> args = ClientArgs("mosquitto_pub");
  args.insert(args.end(),
              {"-q", "1", "-t", topic, "-m", payload, "--repeat", std::to_string(repeat)});
  return args;
}

}  // namespace qm::test
