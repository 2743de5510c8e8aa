// SPDX-License-Identifier: MIT
// Text helpers shared by the windows, the records and the simulator.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// True for the characters the trimming treats as white space: TAB to CR,
// SPACE, NEL, NO-BREAK SPACE and the Unicode space separators above U+00FF.
bool IsWideSpace(char16_t ch);

// True for a control character: C0 (U+0000-U+001F), DEL and C1
// (U+007F-U+009F). None of them can be typed into a field.
bool IsControlCharacter(char16_t ch);

// True when the text holds a control character anywhere.
bool HoldsControlCharacter(std::u16string_view text);

// The text without white space at either end; inner white space stays.
std::u16string TrimWhitespace(const std::u16string& text);

// The text with ASCII letters A-Z lower-cased; everything else unchanged.
std::u16string AsciiLowerCopy(std::u16string text);

// The text cut to at most maxUnits UTF-16 units, one unit shorter where the
// cut would leave the first half of a surrogate pair behind.
std::u16string TruncateUtf16(std::u16string text, std::size_t maxUnits);

// UTF-8 form of a UTF-16 text. Conversion stops at the first U+0000; an
// unpaired surrogate becomes U+FFFD. Empty input gives an empty result.
std::string WideToUtf8(const std::u16string& text);

// UTF-16 form of UTF-8 bytes. Conversion stops at the first zero byte; every
// malformed, overlong, surrogate or out-of-range sequence becomes U+FFFD.
std::u16string Utf8ToWide(std::string_view bytes);

}  // namespace qm
