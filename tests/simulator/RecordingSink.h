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
  *out << "{" << (status.connected ? "true" : "false") << ", \"" << status.text << "\"}";
}

class RecordingSink final : public MqttEventSink {
 public:
  void PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) override;
  void PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) override;

  std::vector<Status> Statuses() const;
  std::vector<MqttMessageEvent> Messages() const;
  // Waits until a status with exactly this text has arrived at or after the
  // index; its index, or -1 on the deadline.
  int WaitForStatus(const std::string& text, std::size_t from = 0,
                    std::chrono::milliseconds timeout = kDeadline) const;
  // Waits until a status beginning with the prefix has arrived after from.
  int WaitForStatusPrefix(const std::string& prefix, std::size_t from = 0,
                          std::chrono::milliseconds timeout = kDeadline) const;
  bool WaitForPayload(const std::string& payload, std::chrono::milliseconds timeout = kDeadline) const;
  bool WaitForMessages(std::size_t count, std::chrono::milliseconds timeout = kDeadline) const;
  std::size_t StatusCount() const;
  std::size_t MessageCount() const;

  // From now on every post is a fault, counted here.
  void Close();
  // Posts are welcome again from every thread; the fault count starts at 0.
  void Reopen();
  // From now on every post made on that thread is a fault, counted likewise.
  void ForbidPostsFrom(std::thread::id thread);
  int PostsAfterClose() const;

  // Holds the posting thread this long before it records a status that
  // begins with the prefix, to widen races on purpose.
  void DelayStatus(const std::string& prefix, std::chrono::milliseconds delay);

 private:
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) const;
  int WaitForStatusWhere(const std::function<bool(const std::string&)>& matches, std::size_t from,
                         std::chrono::milliseconds timeout) const;

  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::vector<Status> m_statuses;
  std::vector<MqttMessageEvent> m_messages;
  bool IsForbiddenLocked() const;

  bool m_closed = false;
  std::thread::id m_forbiddenThread;
  int m_postsAfterClose = 0;
  std::string m_delayPrefix;
  std::chrono::milliseconds m_delay{0};
};

}  // namespace qm::test
