// SPDX-License-Identifier: MIT
// A sink that keeps every record the MQTT client posts, for the tests.
#include "simulator/RecordingSink.h"

#include <algorithm>
#include <thread>

namespace qm::test {

void RecordingSink::PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) {
  std::chrono::milliseconds delay{0};
  {
    std::lock_guard lock(m_mutex);
    if (!m_delayPrefix.empty() && event->text.starts_with(m_delayPrefix)) {
      delay = m_delay;
    }
  }
  std::this_thread::sleep_for(delay);
  std::lock_guard lock(m_mutex);
  if (IsForbiddenLocked()) {
    ++m_postsAfterClose;
  }
  m_statuses.push_back({event->connected, event->text});
  m_changed.notify_all();
}

void RecordingSink::PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) {
  std::lock_guard lock(m_mutex);
  if (IsForbiddenLocked()) {
    ++m_postsAfterClose;
  }
  m_messages.push_back(std::move(*event));
  m_changed.notify_all();
}

std::vector<Status> RecordingSink::Statuses() const {
  std::lock_guard lock(m_mutex);
  return m_statuses;
}

std::vector<MqttMessageEvent> RecordingSink::Messages() const {
  std::lock_guard lock(m_mutex);
  return m_messages;
}

bool RecordingSink::WaitUntil(const std::function<bool()>& done,
                              std::chrono::milliseconds timeout) const {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, timeout, done);
}

int RecordingSink::WaitForStatusWhere(const std::function<bool(const std::string&)>& matches,
                                      std::size_t from, std::chrono::milliseconds timeout) const {
  int found = -1;
  WaitUntil(
      [&] {
        for (std::size_t i = from; i < m_statuses.size() && found < 0; ++i) {
          found = matches(m_statuses[i].text) ? static_cast<int>(i) : -1;
        }
        return found >= 0;
      },
      timeout);
  return found;
}

int RecordingSink::WaitForStatus(const std::string& text, std::size_t from,
                                 std::chrono::milliseconds timeout) const {
  return WaitForStatusWhere([&](const std::string& t) { return t == text; }, from, timeout);
}

int RecordingSink::WaitForStatusPrefix(const std::string& prefix, std::size_t from,
                                       std::chrono::milliseconds timeout) const {
  return WaitForStatusWhere([&](const std::string& t) { return t.starts_with(prefix); }, from,
                            timeout);
}

bool RecordingSink::WaitForPayload(const std::string& payload,
                                   std::chrono::milliseconds timeout) const {
  return WaitUntil(
      [&] {
        return std::any_of(m_messages.begin(), m_messages.end(),
                           [&](const MqttMessageEvent& m) { return m.payload == payload; });
      },
      timeout);
}

bool RecordingSink::WaitForMessages(std::size_t count, std::chrono::milliseconds timeout) const {
  return WaitUntil([&] { return m_messages.size() >= count; }, timeout);
}

std::size_t RecordingSink::StatusCount() const {
  std::lock_guard lock(m_mutex);
  return m_statuses.size();
}

std::size_t RecordingSink::MessageCount() const {
  std::lock_guard lock(m_mutex);
  return m_messages.size();
}

void RecordingSink::Close() {
  std::lock_guard lock(m_mutex);
  m_closed = true;
}

void RecordingSink::Reopen() {
  std::lock_guard lock(m_mutex);
  m_closed = false;
  m_forbiddenThread = {};
  m_postsAfterClose = 0;
}

void RecordingSink::ForbidPostsFrom(std::thread::id thread) {
  std::lock_guard lock(m_mutex);
  m_forbiddenThread = thread;
}

bool RecordingSink::IsForbiddenLocked() const {
  return m_closed || std::this_thread::get_id() == m_forbiddenThread;
}

int RecordingSink::PostsAfterClose() const {
  std::lock_guard lock(m_mutex);
  return m_postsAfterClose;
}

void RecordingSink::DelayStatus(const std::string& prefix, std::chrono::milliseconds delay) {
  std::lock_guard lock(m_mutex);
  m_delayPrefix = prefix;
  m_delay = delay;
}

}  // namespace qm::test
