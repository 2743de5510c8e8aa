// SPDX-License-Identifier: MIT
// Where the MQTT client delivers its status and message records.
#pragma once

#include <memory>

#include "simulator/MqttEvents.h"

namespace qm {

// Implemented by the simulator window (posting to its own thread) and by the
// tests. The posts come from any thread, the MQTT library's included, and
// never call back into the client. Ownership of the record passes to the
// sink whatever happens to it.
class MqttEventSink {
 public:
  virtual ~MqttEventSink() = default;
  // Never waits.
  virtual void PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) = 0;
  // A message at QoS 0 is taken or dropped at once. One at QoS 1 or 2 must
  // not be dropped: the sink may keep the caller waiting for room, but not
  // while waits are released.
  virtual void PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) = 0;
  // Called by the client on its owner's thread, true before and false after
  // each of its operations: while any is under way, no post may wait, since
  // the owner's thread may be about to take a lock that the waiting thread
  // holds (the MQTT library's own).
  virtual void ReleaseWaits(bool /*released*/) {}

 protected:
  MqttEventSink() = default;
  MqttEventSink(const MqttEventSink&) = default;
  MqttEventSink& operator=(const MqttEventSink&) = default;
};

}  // namespace qm
