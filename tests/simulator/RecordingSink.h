// SPDX-License-Identifier: MIT
// A sink that keeps every record the MQTT client posts, for the tests.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "simulator/MqttEventSink.h"

namespace qm::test {

// Generous: the tests run on loaded two-core machines and under sanitizers.
inline constexpr std::chrono::milliseconds kDeadline{20000};

using Status = std::pair<bool, std::string>;  // connected, text

class RecordingSink final : public MqttEventSink {
 public:
  void PostStatusEvent(std::unique_ptr<MqttStatusEvent> e) override {
    Record(m_statuses, Status{e->connected, e->text});
  }
  void PostMessageEvent(std::unique_ptr<MqttMessageEvent> e) override {
    Record(m_messages, std::move(*e));
  }
  std::vector<Status> Statuses() const { return Copy(m_statuses); }
  std::vector<MqttMessageEvent> Messages() const { return Copy(m_messages); }
  std::size_t StatusCount() const { return Statuses().size(); }
  std::size_t MessageCount() const { return Messages().size(); }
  // The index of the first status at or after from with exactly this text
  // (or this prefix), once it has arrived; -1 on the deadline.
  int WaitForStatus(const std::string& text, std::size_t from = 0,
                    std::chrono::milliseconds timeout = kDeadline, bool prefix = false) const;
  bool WaitForMessages(std::size_t count, std::chrono::milliseconds timeout = kDeadline) const {
    return Wait([&] { return m_messages.size() >= count; }, timeout);
  }
  // From now on posts are faults: all of them, or those made on the thread.
  void Forbid(bool all, std::thread::id thread = {}) {
    std::lock_guard lock(m_mutex);
    std::tie(m_closed, m_forbidden) = std::pair(all, thread);
  }
  int Faults() const { return Copy(m_faults); }

 private:
  template <typename T>
  T Copy(const T& member) const {
    std::lock_guard lock(m_mutex);
    return member;
  }
  template <typename T, typename V>
  void Record(std::vector<T>& records, V&& record) {
    std::lock_guard lock(m_mutex);
    records.push_back(std::forward<V>(record));
    m_faults += m_closed || std::this_thread::get_id() == m_forbidden ? 1 : 0;
    m_changed.notify_all();
  }
  template <typename Done>
  bool Wait(Done done, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, done);
  }

  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::vector<Status> m_statuses;
  std::vector<MqttMessageEvent> m_messages;
  bool m_closed = false;
  std::thread::id m_forbidden;
  int m_faults = 0;
};

}  // namespace qm::test
