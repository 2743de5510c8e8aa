// SPDX-License-Identifier: MIT
#include "simulator/RecordingSink.h"

namespace qm::test {

void RecordingSink::RecordLocked() {
  m_faults += m_closed || std::this_thread::get_id() == m_forbidden ? 1 : 0;
  m_changed.notify_all();
}

void RecordingSink::PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) {
  std::lock_guard lock(m_mutex);
  m_statuses.push_back({event->connected, event->text});
  RecordLocked();
}

void RecordingSink::PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) {
  std::lock_guard lock(m_mutex);
  m_messages.push_back(std::move(*event));
  RecordLocked();
}

int RecordingSink::WaitForStatus(const std::string& text, std::size_t from,
                                 std::chrono::milliseconds timeout, bool prefix) const {
  int found = -1;
  WaitUntil(
      [&] {
        for (std::size_t i = from; i < m_statuses.size() && found < 0; ++i) {
          const std::string& t = m_statuses[i].text;
          if (prefix ? t.starts_with(text) : t == text) found = static_cast<int>(i);
        }
        return found >= 0;
      },
      timeout);
  return found;
}

bool RecordingSink::WaitForMessages(std::size_t count, std::chrono::milliseconds timeout) const {
  return WaitUntil([&] { return m_messages.size() >= count; }, timeout);
}

void RecordingSink::Forbid(bool all, std::thread::id thread) {
  std::lock_guard lock(m_mutex);
  m_closed = all;
  m_forbidden = thread;
}

bool RecordingSink::WaitUntil(const std::function<bool()>& done,
                              std::chrono::milliseconds timeout) const {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, timeout, done);
}

}  // namespace qm::test
