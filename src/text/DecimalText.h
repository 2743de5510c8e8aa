// SPDX-License-Identifier: MIT
// Decimal integers in text: read from the start of a text, written out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// An optional sign and the leading decimal digits, stopping at the first
// other character. No digits give 0; values beyond the signed 32-bit range
// clamp to INT32_MAX / INT32_MIN instead of wrapping.
int ReadLeadingInt32(std::u16string_view text);

// The value in ASCII decimal digits, with a leading '-' when negative.
std::u16string DecimalText(std::int64_t value);

}  // namespace qm
