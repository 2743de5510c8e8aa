// SPDX-License-Identifier: MIT
// Where the MQTT client delivers its status and message records.
#pragma once

#include <memory>

#include "simulator/MqttEvents.h"

namespace qm {

// Implemented by the simulator window (posting to its own thread) and by the
// tests. Both calls come from any thread, the MQTT library's included, and
// must neither block on the window thread nor call back into the client.
// Ownership of the record passes to the sink whatever happens to it.
class MqttEventSink {
 public:
  virtual ~MqttEventSink() = default;
  virtual void PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) = 0;
  virtual void PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) = 0;

 protected:
  MqttEventSink() = default;
  MqttEventSink(const MqttEventSink&) = default;
  MqttEventSink& operator=(const MqttEventSink&) = default;
};

}  // namespace qm
