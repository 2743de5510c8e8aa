// SPDX-License-Identifier: MIT
#include "text/DecimalText.h"

#include <cstdint>
#include <limits>
#include <string>

namespace qm {

int ReadLeadingInt32(std::u16string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  // Accumulate in 64 bits and stop growing once past the 32-bit range.
  constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > kCap) value = kCap;
  }
  if (negative) {
    return static_cast<int>(-value);  // -kCap is exactly INT32_MIN
  }
  return value >= kCap ? std::numeric_limits<std::int32_t>::max() : static_cast<int>(value);
}

std::u16string DecimalText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace qm
