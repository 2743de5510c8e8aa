// SPDX-License-Identifier: MIT
// A loose look-up of one value in a JSON-like text, for display only.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// Not a JSON parse: finds the first "key" in double quotes anywhere (inside
// a string value too), the first ':' after it, skips white space, and reads
// either a string (a backslash takes the next character literally, a
// trailing backslash stays, an unterminated string gives what was read) or
// the run of digits, '-' and '.' that starts there. true, false, null,
// objects, arrays and anything else give an empty value, as does a key that
// is not found. Works on the UTF-8 bytes (the key is ASCII), so that a long
// text is never decoded whole; white space is that of IsWideSpace. Returns
// the value's bytes.
std::string ExtractJsonField(std::string_view text, std::string_view key);

}  // namespace qm
