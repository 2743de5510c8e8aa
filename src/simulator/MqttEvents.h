// SPDX-License-Identifier: MIT
// The records the MQTT client hands to the simulator window.
#pragma once

#include <string>

namespace qm {

// One status report: the connected flag reported with an English text.
struct MqttStatusEvent {
  bool connected = false;
  std::string text;  // UTF-8
};

// One arrived message, bytes exactly as received (zero bytes included).
struct MqttMessageEvent {
  std::string topic;
  std::string payload;
  // The QoS it arrived with: a message at 0 may be dropped when the window
  // cannot keep up; one at 1 or 2 was promised to arrive and never is.
  int qos = 0;
};

}  // namespace qm
