// SPDX-License-Identifier: MIT
#include "simulator/RecordingSink.h"

namespace qm::test {

int RecordingSink::WaitForStatus(const std::string& text, std::size_t from,
                                 std::chrono::milliseconds timeout, bool prefix) const {
  int found = -1;
  const auto done = [&] {
    for (std::size_t i = from; i < m_statuses.size() && found < 0; ++i) {
      const std::string& t = m_statuses[i].second;
      if (prefix ? t.starts_with(text) : t == text) found = static_cast<int>(i);
    }
    return found >= 0;
  };
  Wait(done, timeout);
  return found;
}

}  // namespace qm::test
