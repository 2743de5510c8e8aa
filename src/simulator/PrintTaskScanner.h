// SPDX-License-Identifier: MIT
// A small, tolerant scanner over the JSON text of a received print task.
//
// Positions are byte indexes into the text. No function reads at or beyond
// the text's length, and none moves a position past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm {

// Kind of the value that starts at a position.
enum class JsonValueKind : int {
  None = 0,  // end of text
  String = 1,
  Number = 2,  // "-", "+" or a digit
  Array = 3,
  Object = 4,
  Other = 5,  // true, false, null, a stray "}" or ",", garbage
};

// Moves the position over SPACE, TAB, CR and LF.
void SkipJsonWhitespace(std::string_view text, std::size_t& pos);

// Reads an unsigned 32-bit integer: digits only, leading zeros allowed.
// outOfRange is always written: set when the number is too large or has a
// fraction or an exponent (the whole number is then skipped). value is
// written only on success.
bool ParseJsonUint32(std::string_view text, std::size_t& pos, std::uint32_t& value,
                     bool& outOfRange);

// Reads a signed 32-bit integer with an optional "+" or "-", from
// -2147483647 to 2147483647. A fraction or exponent fails. value is written
// only on success.
bool ParseJsonInt32(std::string_view text, std::size_t& pos, std::int32_t& value);

// Moves past a string starting at the position (an unterminated one ends at
// the end of text). Leaves the position alone when no string starts there.
void SkipJsonString(std::string_view text, std::size_t& pos);

// The kind of the value after any blanks; the position is not moved.
JsonValueKind GetJsonValueKind(std::string_view text, std::size_t pos);

// Moves past one value: a string, a bracketed value (counting only its own
// bracket kind, strings skipped whole), or anything else up to the next
// ",", "}" or "]".
void SkipJsonValue(std::string_view text, std::size_t& pos);

}  // namespace qm
