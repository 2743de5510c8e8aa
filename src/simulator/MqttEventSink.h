// SPDX-License-Identifier: MIT
// Where the MQTT client delivers its status and message records.
#pragma once

#include <chrono>
#include <functional>
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
  // A message at QoS 0 is taken or dropped at once. One at QoS 1 or 2 is
  // not dropped while the sink has room up to its ceiling: the sink may keep
  // the caller waiting for room, but not while waits are released.
  virtual void PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) = 0;
  // Called by the client on its owner's thread, true before and false after
  // each of its operations: while any is under way, no post may wait, since
  // the owner's thread may be about to take a lock that the waiting thread
  // holds (the MQTT library's own).
  virtual void ReleaseWaits(bool /*released*/) {}
  // Called by the client on its owner's thread while messages come (the
  // last one was posted at most `recent` ago): the sink hands the work to the
  // next message post, a post waiting for room among them, and returns true
  // once it has run there. Posts of messages come on the MQTT library's
  // thread and hold its lock, so library requests made there need none.
  // False, without running it, when messages do not come or no post took it
  // up within the patience.
  virtual bool RunOnPostingThread(const std::function<void()>& /*work*/,
                                  std::chrono::microseconds /*recent*/,
                                  std::chrono::microseconds /*patience*/) {
    return false;
  }

 protected:
  MqttEventSink() = default;
  MqttEventSink(const MqttEventSink&) = default;
  MqttEventSink& operator=(const MqttEventSink&) = default;
};

}  // namespace qm
