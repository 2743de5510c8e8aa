// SPDX-License-Identifier: MIT
// The ids of the last ten accepted print tasks, to refuse repeated ones.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qm {

// A ring of ten slots. A free slot never matches, so id 0 is remembered like
// any other id.
class TaskIdHistory final {
 public:
  static constexpr std::size_t kCapacity = 10;

  bool Contains(std::uint32_t id) const;
  // Stores the id in the next slot; the eleventh id overwrites the oldest.
  void Remember(std::uint32_t id);
  void Clear();

 private:
  std::array<std::uint32_t, kCapacity> m_ids{};
  std::array<bool, kCapacity> m_used{};
  std::size_t m_next = 0;
};

}  // namespace qm
