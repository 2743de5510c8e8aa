// SPDX-License-Identifier: MIT
// Long payloads of the benchmarks of one long message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qm::test {

// A payload of about size bytes. Kinds: 0 a job whose id is all digits (no
// break point), 1 a run of '[' (no break point, no key), 2 a valid job
// whose string contents have a blank every 8 characters.
inline std::string LongPayload(std::int64_t kind, std::size_t size) {
  if (kind == 0) return "{\"id\":" + std::string(size - 6, '7');
  if (kind == 1) return std::string(size, '[');
  std::string payload = R"({"id":1,"type":5,"contents":")";
  while (payload.size() + 2 < size) payload += "abcdefg ";
  return payload + "\"}";
}

}  // namespace qm::test
