// SPDX-License-Identifier: MIT
#include "config/PortField.h"

#include <cstdint>
#include <limits>

#include "text/TextHelpers.h"

namespace qm {

int ReadPortField(const std::u16string& text) {
  const std::u16string trimmed = TrimWhitespace(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < trimmed.size() && (trimmed[i] == u'+' || trimmed[i] == u'-')) {
    negative = trimmed[i] == u'-';
    ++i;
  }
  // Accumulate in 64 bits and stop growing once past the 32-bit range.
  constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t value = 0;
  for (; i < trimmed.size() && trimmed[i] >= u'0' && trimmed[i] <= u'9'; ++i) {
    value = value * 10 + (trimmed[i] - u'0');
    if (value > kCap) value = kCap;
  }
  if (negative) {
    return static_cast<int>(-value);  // -kCap is exactly INT32_MIN
  }
  return value >= kCap ? std::numeric_limits<std::int32_t>::max() : static_cast<int>(value);
}

}  // namespace qm
