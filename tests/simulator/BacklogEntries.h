// SPDX-License-Identifier: MIT
// The entries of a RecordBacklog as text, for the tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "simulator/RecordBacklog.h"
#include "simulator/TestProcesses.h"

namespace qm::test {

// A message's payload, "status:" and a status's text, or "dropped:" and the count.
inline std::string EntryText(const RecordBacklog::Entry& entry) {
  if (auto* m = std::get_if<std::unique_ptr<MqttMessageEvent>>(&entry)) return (*m)->payload;
  if (auto* s = std::get_if<std::unique_ptr<MqttStatusEvent>>(&entry))
    return "status:" + (*s)->text;
  return "dropped:" + std::to_string(std::get<DroppedMessages>(entry).count);
}

// Takes entries as another thread pushes them, until done() holds for those
// taken (asked every 5 ms) or the time-out has passed.
inline std::vector<std::string> TakeUntil(
    RecordBacklog& backlog, const std::function<bool(const std::vector<std::string>&)>& done,
    std::chrono::milliseconds timeout) {
  std::vector<std::string> taken;
  PollUntil(
      [&] {
        while (auto entry = backlog.Take()) taken.push_back(EntryText(*entry));
        return done(taken);
      },
      timeout);
  return taken;
}

}  // namespace qm::test
