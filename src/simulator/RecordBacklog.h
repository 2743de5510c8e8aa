// SPDX-License-Identifier: MIT
// The bounded hand-over of the MQTT client's records to the window thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <variant>

#include "simulator/MqttEvents.h"

namespace qm {

// Messages refused in a row because the backlog was full. Kept ones had
// arrived at QoS 1 or 2: the broker had been told they arrived, so they are
// lost for good.
struct DroppedMessages {
  std::uint64_t count = 0;
  bool kept = false;
};

// The records of the client in arrival order, filled from any thread (the
// MQTT library's among them) and emptied by one consumer. Bounded in records
// and in bytes of topic, payload and status text: a QoS 0 message that does
// not fit is freed at once and counted, and the drops of one run become one
// DroppedMessages entry, where the run began (status records that come
// meanwhile stay behind it). Once a message was dropped, QoS 0 messages go
// in again only when the backlog is down to half its limits, so that a
// steady flood gives a drop entry per batch, not one after every record
// taken. Status records always go in: they are
// few, follow the window's own requests and carry the connected state. A
// message over the byte cap goes in only into an empty backlog, so a single
// message of any size still gets through.
//
// A message that arrived at QoS 1 or 2 (a kept one) is not dropped at the
// limits: while it does not fit, the pushing thread waits until the
// consumer has taken one. Dropped QoS 0 messages make no room for it, nor
// does a run of drops hold it back. While waits are released
// (ReleaseWaits) it does not wait but goes in over the limits, up to the
// ceiling; past the ceiling it is dropped and counted as kept (lost).
// The ceiling is never passed by a message, released or not.
//
// The consumer's thread can have work run by the next message push, on the
// pushing thread (RunOnPushingThread), instead of waiting for a lock that
// the pushing thread holds; a kept message waiting for room takes it up too.
class RecordBacklog final {
 public:
  struct Limits {
    std::size_t records = 20000;
    std::size_t bytes = std::size_t{64} << 20;
    // Above the limits: no message passes them, released or not.
    std::size_t ceilingRecords = 40000;
    std::size_t ceilingBytes = std::size_t{128} << 20;
  };
  using Entry = std::variant<std::unique_ptr<MqttStatusEvent>, std::unique_ptr<MqttMessageEvent>,
                             DroppedMessages>;

  explicit RecordBacklog(Limits limits) : m_limits(limits) {}
  RecordBacklog() : RecordBacklog(Limits{}) {}

  // Each is true when the consumer must be woken: no wake was pending, so
  // the caller is to send one. Later pushes return false until the consumer
  // has found the backlog empty.
  bool PushStatus(std::unique_ptr<MqttStatusEvent> record);
  // May wait (see above).
  bool PushMessage(std::unique_ptr<MqttMessageEvent> record);
  // The oldest entry; none when the backlog is empty, which also ends the
  // pending wake (the next push asks for a new one).
  std::optional<Entry> Take();
  // Nested: while more calls with true than with false have come, no push
  // waits, and one that waits goes in at once (or is dropped past the
  // ceiling).
  void ReleaseWaits(bool released);
  // From the consumer's thread, while messages come (the last one was pushed
  // at most `recent` ago): hands the work to the next message push (a kept
  // message waiting for room among them), which runs it on its thread
  // outside the backlog's lock; true once it has run. False, without running
  // it, when messages do not come, when no push took it up within the
  // patience, or while waits are released. The work must not touch the
  // backlog.
  bool RunOnPushingThread(const std::function<void()>& work, std::chrono::microseconds recent,
                          std::chrono::microseconds patience);
  // The most message records held at once so far.
  std::size_t PeakMessages() const;

 private:
  bool PushLocked(Entry entry, std::size_t bytes);
  bool PushOrDropLocked(std::unique_ptr<MqttMessageEvent>& record, std::size_t bytes);
  bool PushKeptLocked(std::unique_lock<std::mutex>& lock, std::unique_ptr<MqttMessageEvent>& record,
                      std::size_t bytes);
  // Runs the consumer's work handed to a waiting push, then wakes the consumer.
  void RunHandedWorkLocked(std::unique_lock<std::mutex>& lock);
  // Counts a dropped message into the open entry of its kind, or starts one.
  bool CountDropLocked(DroppedMessages*& open, bool kept);
  // Room for a message of these bytes within the limits, or the ceiling.
  bool FitsLocked(std::size_t bytes) const;
  bool UnderCeilingLocked(std::size_t bytes) const;

  const Limits m_limits;
  mutable std::mutex m_mutex;                     // a leaf: nothing else is called while it is held
  std::condition_variable m_roomOrRelease;        // a kept message waits on it
  std::condition_variable m_workDone;             // the consumer waits on it for its handed work
  int m_waiting = 0;                              // kept messages waiting
  int m_released = 0;                             // ReleaseWaits(true) not yet undone
  const std::function<void()>* m_work = nullptr;  // handed to a waiting push, not yet run
  bool m_workRan = false;                         // the handed work has run
  std::chrono::steady_clock::time_point m_lastPush;     // of a message
  std::deque<std::pair<Entry, std::size_t>> m_entries;  // with their bytes
  std::size_t m_records = 0;                            // status and message records held
  std::size_t m_messages = 0;                           // of them message records
  std::size_t m_peakMessages = 0;
  std::size_t m_bytes = 0;
  bool m_wakePending = false;
  // The entry counting the current run of drops, from the first drop until
  // a message goes in again or the entry is taken (a deque keeps its
  // elements in place when either end changes).
  DroppedMessages* m_openDrop = nullptr;
  DroppedMessages* m_openLost = nullptr;  // the same for kept messages
  bool m_dropping = false;                // the last message was refused
};

}  // namespace qm
