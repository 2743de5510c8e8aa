// SPDX-License-Identifier: MIT
#include "simulator/RecordBacklog.h"

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
  if (record->qos > 0) return PushKeptLocked(lock, record, bytes);
  const bool wake = PushOrDropLocked(record, bytes);
  dropped = std::move(record);
  return wake;
}

bool RecordBacklog::FitsLocked(std::size_t bytes) const {
  return m_records == 0 || (m_records < m_limits.records && m_bytes + bytes <= m_limits.bytes);
}

bool RecordBacklog::PushOrDropLocked(std::unique_ptr<MqttMessageEvent>& record, std::size_t bytes) {
  // After a drop, room for one message is not enough: messages go in again
  // once the backlog is down to half its limits.
  const bool roomy =
      !m_dropping || (m_records <= m_limits.records / 2 && m_bytes <= m_limits.bytes / 2);
  // An empty backlog is always roomy and always has room.
  const bool fits = roomy && FitsLocked(bytes);
  m_dropping = !fits;
  if (fits) {
    m_openDrop = nullptr;
    return PushLocked(std::move(record), bytes);
  }
  if (m_openDrop != nullptr) {
    ++m_openDrop->count;
    return false;
  }
  const bool wake = PushLocked(DroppedMessages{1}, 0);
  m_openDrop = &std::get<DroppedMessages>(m_entries.back().first);
  return wake;
}

bool RecordBacklog::PushKeptLocked(std::unique_lock<std::mutex>& lock,
                                   std::unique_ptr<MqttMessageEvent>& record, std::size_t bytes) {
  ++m_waiting;
  m_roomOrRelease.wait(lock, [&] { return m_released > 0 || FitsLocked(bytes); });
  --m_waiting;
  // Drops after it start a new count behind it.
  m_openDrop = nullptr;
  return PushLocked(std::move(record), bytes);
}

void RecordBacklog::ReleaseWaits(bool released) {
  const std::lock_guard lock(m_mutex);
  m_released += released ? 1 : -1;
  if (released && m_waiting > 0) m_roomOrRelease.notify_all();
}

bool RecordBacklog::PushLocked(Entry entry, std::size_t bytes) {
  if (!std::holds_alternative<DroppedMessages>(entry)) ++m_records;
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
  if (std::get_if<DroppedMessages>(&m_entries.front().first) == m_openDrop) m_openDrop = nullptr;
  auto [entry, bytes] = std::move(m_entries.front());
  m_entries.pop_front();
  if (!std::holds_alternative<DroppedMessages>(entry)) --m_records;
  m_bytes -= bytes;
  if (m_waiting > 0) m_roomOrRelease.notify_all();
  return std::move(entry);
}

}  // namespace qm
