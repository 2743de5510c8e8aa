// SPDX-License-Identifier: MIT
// The entries of a RecordBacklog as text, for the tests.
#pragma once

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

// Takes entries as another thread pushes them (every 5 ms) until count have
// come or the time-out has passed.
inline std::vector<std::string> TakeCount(RecordBacklog& backlog, std::size_t count,
                                          std::chrono::milliseconds timeout) {
  std::vector<std::string> taken;
  PollUntil(
      [&] {
        while (auto entry = backlog.Take()) taken.push_back(EntryText(*entry));
        return taken.size() >= count;
      },
      timeout);
  return taken;
}

}  // namespace qm::test
