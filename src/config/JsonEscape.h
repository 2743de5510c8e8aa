// SPDX-License-Identifier: MIT
// Escaping of JSON string values for the device records.
#pragma once

#include <string>

namespace qm {

// Escapes bytes for use inside a JSON string literal (no quotes added):
// \b \t \n \f \r \" \\, other bytes below 0x20 as \u00xx (lower-case hex),
// every byte from 0x20 up copied as it is.
std::string EscapeJsonString(const std::string& bytes);

// The text trimmed, converted to UTF-8 and escaped as above.
std::string JsonEscapeUtf8(const std::u16string& text);

}  // namespace qm
