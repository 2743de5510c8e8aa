// SPDX-License-Identifier: MIT
// How a port is read from a page field.
#pragma once

#include <string>

namespace qm {

// The field text trimmed and read as a decimal integer: an optional sign and
// the leading digits, stopping at the first other character. No digits give
// 0; values beyond the 32-bit range clamp to INT32_MAX / INT32_MIN.
int ReadPortField(const std::u16string& text);

}  // namespace qm
