// SPDX-License-Identifier: MIT
#include "simulator/RecordBacklog.h"

#include <algorithm>
#include <utility>

namespace qm {

bool RecordBacklog::PushStatus(std::unique_ptr<MqttStatusEvent> record) {
  if (record == nullptr) return false;
  const std::size_t bytes = record->text.size();
  const std::lock_guard lock(m_mutex);
  return PushLocked(std::move(record), bytes);
}

bool RecordBacklog::PushMessage(std::unique_ptr<MqttMessageEvent> record) {
  if (record == nullptr) return false;
  const std::size_t bytes = record->topic.size() + record->payload.size();
  std::unique_ptr<MqttMessageEvent> dropped;  // freed after the lock is released
  std::unique_lock lock(m_mutex);
  m_lastPush = std::chrono::steady_clock::now();
  if (m_work != nullptr) RunHandedWorkLocked(lock);
  const bool wake =
      record->qos > 0 ? PushKeptLocked(lock, record, bytes) : PushOrDropLocked(record, bytes);
  dropped = std::move(record);
  return wake;
}

bool RecordBacklog::FitsLocked(std::size_t bytes) const {
  return m_records == 0 || (m_records < m_limits.records && m_bytes + bytes <= m_limits.bytes);
}

bool RecordBacklog::UnderCeilingLocked(std::size_t bytes) const {
  return m_records == 0 ||
         (m_records < m_limits.ceilingRecords && m_bytes + bytes <= m_limits.ceilingBytes);
}

bool RecordBacklog::CountDropLocked(DroppedMessages*& open, bool kept) {
  if (open != nullptr) {
    ++open->count;
    return false;
  }
  const bool wake = PushLocked(DroppedMessages{1, kept}, 0);
  open = &std::get<DroppedMessages>(m_entries.back().first);
  return wake;
}

bool RecordBacklog::PushOrDropLocked(std::unique_ptr<MqttMessageEvent>& record, std::size_t bytes) {
  // After a drop, room for one message is not enough: messages go in again
  // once the backlog is down to half its limits.
  const bool roomy =
      !m_dropping || (m_records <= m_limits.records / 2 && m_bytes <= m_limits.bytes / 2);
  // An empty backlog is always roomy and always has room.
  const bool fits = roomy && FitsLocked(bytes);
  m_dropping = !fits;
  if (!fits) return CountDropLocked(m_openDrop, false);
  m_openDrop = m_openLost = nullptr;
  return PushLocked(std::move(record), bytes);
}

bool RecordBacklog::PushKeptLocked(std::unique_lock<std::mutex>& lock,
                                   std::unique_ptr<MqttMessageEvent>& record, std::size_t bytes) {
  ++m_waiting;
  for (;;) {
    m_roomOrRelease.wait(lock,
                         [&] { return m_work != nullptr || m_released > 0 || FitsLocked(bytes); });
    // Handed work runs before the push leaves: the consumer waits for it.
    if (m_work == nullptr) break;
    RunHandedWorkLocked(lock);
  }
  --m_waiting;
  // Released: over the limits, but never past the ceiling.
  if (!FitsLocked(bytes) && !UnderCeilingLocked(bytes)) return CountDropLocked(m_openLost, true);
  // Drops after it start a new count behind it.
  m_openDrop = m_openLost = nullptr;
  return PushLocked(std::move(record), bytes);
}

void RecordBacklog::RunHandedWorkLocked(std::unique_lock<std::mutex>& lock) {
  const std::function<void()>& work = *std::exchange(m_work, nullptr);
  lock.unlock();
  work();
  lock.lock();
  m_workRan = true;
  m_workDone.notify_all();
}

bool RecordBacklog::RunOnPushingThread(const std::function<void()>& work,
                                       std::chrono::microseconds recent,
                                       std::chrono::microseconds patience) {
  std::unique_lock lock(m_mutex);
  const bool flowing = m_waiting > 0 || std::chrono::steady_clock::now() - m_lastPush <= recent;
  if (m_released > 0 || !flowing) return false;
  m_work = &work;
  m_workRan = false;
  if (m_waiting > 0) m_roomOrRelease.notify_all();
  const auto ran = [this] { return m_workRan; };
  if (m_workDone.wait_for(lock, patience, ran)) return true;
  // Not taken up yet: withdrawn. Taken up: it is running, and ends soon.
  if (m_work != nullptr) {
    m_work = nullptr;
    return false;
  }
  m_workDone.wait(lock, ran);
  return true;
}

std::size_t RecordBacklog::PeakMessages() const {
  const std::lock_guard lock(m_mutex);
  return m_peakMessages;
}

void RecordBacklog::ReleaseWaits(bool released) {
  const std::lock_guard lock(m_mutex);
  m_released += released ? 1 : -1;
  if (released && m_waiting > 0) m_roomOrRelease.notify_all();
}

bool RecordBacklog::PushLocked(Entry entry, std::size_t bytes) {
  if (!std::holds_alternative<DroppedMessages>(entry)) ++m_records;
  if (std::holds_alternative<std::unique_ptr<MqttMessageEvent>>(entry)) {
    m_peakMessages = std::max(m_peakMessages, ++m_messages);
  }
  m_bytes += bytes;
  m_entries.emplace_back(std::move(entry), bytes);
  const bool wake = !m_wakePending;
  m_wakePending = true;
  return wake;
}

std::optional<RecordBacklog::Entry> RecordBacklog::Take() {
  const std::lock_guard lock(m_mutex);
  if (m_entries.empty()) {
    m_wakePending = false;
    return std::nullopt;
  }
  // Drops after the open entry is taken start a new one, behind what came
  // meanwhile.
  const DroppedMessages* front = std::get_if<DroppedMessages>(&m_entries.front().first);
  if (front == m_openDrop) m_openDrop = nullptr;
  if (front == m_openLost) m_openLost = nullptr;
  auto [entry, bytes] = std::move(m_entries.front());
  m_entries.pop_front();
  if (!std::holds_alternative<DroppedMessages>(entry)) --m_records;
  if (std::holds_alternative<std::unique_ptr<MqttMessageEvent>>(entry)) --m_messages;
  m_bytes -= bytes;
  if (m_waiting > 0) m_roomOrRelease.notify_all();
  return std::move(entry);
}

}  // namespace qm
