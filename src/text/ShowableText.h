// SPDX-License-Identifier: MIT
// Text that comes from outside the program (a device's own name strings)
// made safe to show next to the program's own text.
#pragma once

#include <string>

namespace qm {

// The text with every control character (C0, DEL, C1) and the line and
// paragraph separators U+2028/U+2029 turned into a blank, and the bidi
// formatting characters (U+061C, U+200E, U+200F, U+202A-U+202E,
// U+2066-U+2069) dropped. So the text can neither start a second line, move
// into a menu's shortcut column, nor reorder what the program shows after it.
std::u16string ShowableText(const std::u16string& text);

}  // namespace qm
