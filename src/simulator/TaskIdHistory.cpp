// SPDX-License-Identifier: MIT
#include "simulator/TaskIdHistory.h"

namespace qm {

bool TaskIdHistory::Contains(std::uint32_t id) const {
  for (std::size_t slot = 0; slot < kCapacity; ++slot) {
    if (m_used[slot] && m_ids[slot] == id) return true;
  }
  return false;
}

void TaskIdHistory::Remember(std::uint32_t id) {
  m_ids[m_next] = id;
  m_used[m_next] = true;
  m_next = (m_next + 1) % kCapacity;
}

void TaskIdHistory::Clear() {
  m_ids.fill(0);
  m_used.fill(false);
  m_next = 0;
}

}  // namespace qm
