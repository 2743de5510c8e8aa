// SPDX-License-Identifier: MIT
// A sink that keeps every record the MQTT client posts, for the tests.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "simulator/MqttEventSink.h"

namespace qm::test {

// Generous: the tests run on loaded two-core machines and under sanitizers.
inline constexpr std::chrono::milliseconds kDeadline{20000};

struct Status {
  bool connected = false;
  std::string text;
  bool operator==(const Status&) const = default;
};

inline void PrintTo(const Status& status, std::ostream* out) {
  *out << "{" << status.connected << ", \"" << status.text << "\"}";
}

class RecordingSink final : public MqttEventSink {
  template <typename F>
  auto Locked(F f) const {
    std::lock_guard lock(m_mutex);
    return f();
  }

 public:
  void PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) override;
  void PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) override;

  std::vector<Status> Statuses() const {
    return Locked([&] { return m_statuses; });
  }
  std::vector<MqttMessageEvent> Messages() const {
    return Locked([&] { return m_messages; });
  }
  std::size_t StatusCount() const {
    return Locked([&] { return m_statuses.size(); });
  }
  std::size_t MessageCount() const {
    return Locked([&] { return m_messages.size(); });
  }
  // The index of the first status at or after from with exactly this text
  // (or this prefix), once it has arrived; -1 on the deadline.
  int WaitForStatus(const std::string& text, std::size_t from = 0,
                    std::chrono::milliseconds timeout = kDeadline, bool prefix = false) const;
  bool WaitForMessages(std::size_t count, std::chrono::milliseconds timeout = kDeadline) const {
    return WaitUntil([&] { return m_messages.size() >= count; }, timeout);
  }

  // From now on posts are faults: all of them, or those made on the thread.
  void Forbid(bool all, std::thread::id thread = {}) {
    Locked([&] {
      m_closed = all;
      m_forbidden = thread;
    });
  }
  int Faults() const {
    return Locked([&] { return m_faults; });
  }
  // Holds a status that begins with the prefix this long before recording it.
  void DelayStatus(const std::string& prefix, std::chrono::milliseconds delay) {
    Locked([&] {
      m_delayPrefix = prefix;
      m_delay = delay;
    });
  }

 private:
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, done);
  }
  void RecordLocked();

  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::vector<Status> m_statuses;
  std::vector<MqttMessageEvent> m_messages;
  bool m_closed = false;
  std::thread::id m_forbidden;
  int m_faults = 0;
  std::string m_delayPrefix;
  std::chrono::milliseconds m_delay{0};
};

}  // namespace qm::test
