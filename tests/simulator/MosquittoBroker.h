// SPDX-License-Identifier: MIT
// A real mosquitto broker on a free loopback port, for the MQTT client tests.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "simulator/TestProcesses.h"

namespace qm::test {

struct BrokerSettings {
  std::string user;      // with a password: anonymous clients are refused
  std::string password;
  std::vector<std::string> extraConfig;  // further mosquitto.conf lines
};

// Writes its configuration (and password file) into a private directory,
// runs /usr/sbin/mosquitto in the foreground and stops it on destruction.
class MosquittoBroker final {
 public:
  explicit MosquittoBroker(BrokerSettings settings = {});
  ~MosquittoBroker();
  MosquittoBroker(const MosquittoBroker&) = delete;
  MosquittoBroker& operator=(const MosquittoBroker&) = delete;

  // Starts on the given port (0: a free one) and waits until it accepts
  // connections. False when it did not come up.
  bool Start(int port = 0);
  void Stop();  // orderly (SIGTERM)
  void Kill();  // as a crash would (SIGKILL)

  int port() const { return m_port; }
  std::string Uri() const { return "mqtt://127.0.0.1:" + std::to_string(m_port); }
  // Arguments for mosquitto_pub / mosquitto_sub that reach this broker.
  std::vector<std::string> ClientArgs(const std::string& program) const;
  // The broker's own output, for failure messages.
  std::string Log() const;

 private:
  bool StartOn(int port);

  BrokerSettings m_settings;
  TempDir m_dir;
  pid_t m_pid = -1;
  int m_port = 0;
};

}  // namespace qm::test
