// SPDX-License-Identifier: MIT
// Reading a decimal integer at the start of a text.
#pragma once

#include <string_view>

namespace qm {

// An optional sign and the leading decimal digits, stopping at the first
// other character. No digits give 0; values beyond the signed 32-bit range
// clamp to INT32_MAX / INT32_MIN instead of wrapping.
int ReadLeadingInt32(std::u16string_view text);

}  // namespace qm
