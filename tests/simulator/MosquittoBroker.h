// SPDX-License-Identifier: MIT
// A real mosquitto broker on a free loopback port, for the MQTT client tests.
#pragma once

#include <signal.h>

#include <string>
#include <utility>
#include <vector>

#include "simulator/TestProcesses.h"

namespace qm::test {

struct BrokerSettings {
  std::string user, password;            // with a password: anonymous clients are refused
  std::vector<std::string> extraConfig;  // further mosquitto.conf lines
};

class MosquittoBroker final {
 public:
  explicit MosquittoBroker(BrokerSettings settings = {}) : m_settings(std::move(settings)) {}
  ~MosquittoBroker() { Stop(); }

  // Starts on the port (0: a free one); false when it does not accept connections.
  bool Start(int port = 0);
  void Stop() { StopProgram(std::exchange(m_pid, -1), SIGTERM); }
  void Kill() { StopProgram(std::exchange(m_pid, -1), SIGKILL); }  // as a crash
  int port() const { return m_port; }
  std::string Uri() const { return "mqtt://127.0.0.1:" + std::to_string(m_port); }
  // Arguments for mosquitto_pub / mosquitto_sub that reach this broker.
  std::vector<std::string> ClientArgs(const std::string& program) const;
  // mosquitto_pub's arguments for a QoS 1 message sent repeat times, as from an outside client.
  std::vector<std::string> PubArgs(const std::string& topic, const std::string& payload,
                                   int repeat = 1) const;
  std::string Log() const { return ReadFile(m_dir.File("broker.log")); }  // its own output

 private:
  BrokerSettings m_settings;
  TempDir m_dir;
  pid_t m_pid = -1;
  int m_port = 0;
};

}  // namespace qm::test
