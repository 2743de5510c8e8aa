// SPDX-License-Identifier: MIT
// A sink that hands the MQTT client's records to one consumer through a
// bounded backlog.
#pragma once

#include "simulator/MqttEventSink.h"
#include "simulator/RecordBacklog.h"

namespace qm {

// Puts each record into its RecordBacklog and calls Wake() when the backlog
// asks for the consumer to be woken; the consumer then takes the records
// with Backlog().Take() until none is left. A status never waits; a message
// at QoS 0 that does not fit is dropped and counted, one at QoS 1 or 2 waits
// for room, and while it waits the client's requests run on its thread
// (see RecordBacklog). Records still held go with the sink.
class BacklogSink : public MqttEventSink {
 public:
  explicit BacklogSink(RecordBacklog::Limits limits = {}) : m_backlog(limits) {}

  void PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) override;
  void PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) override;
  void ReleaseWaits(bool released) override { m_backlog.ReleaseWaits(released); }
  bool RunOnPostingThread(const std::function<void()>& work, std::chrono::microseconds recent,
                          std::chrono::microseconds patience) override {
    return m_backlog.RunOnPushingThread(work, recent, patience);
  }

  RecordBacklog& Backlog() { return m_backlog; }

 protected:
  // From the posting thread, at most once until the consumer has found the
  // backlog empty. Must not wait.
  virtual void Wake() {}

 private:
  RecordBacklog m_backlog;
};

}  // namespace qm
