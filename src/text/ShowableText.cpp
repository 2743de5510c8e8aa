// SPDX-License-Identifier: MIT
// Text from outside the program made safe to show.
#include "text/ShowableText.h"

#include "text/TextHelpers.h"

namespace qm {
namespace {

bool BreaksTheLine(char16_t ch) { return IsControlCharacter(ch) || ch == 0x2028 || ch == 0x2029; }

bool IsBidiFormatting(char16_t ch) {
  return ch == 0x061C || ch == 0x200E || ch == 0x200F || (ch >= 0x202A && ch <= 0x202E) ||
         (ch >= 0x2066 && ch <= 0x2069);
}

}  // namespace

std::u16string ShowableText(const std::u16string& text) {
  std::u16string shown;
  shown.reserve(text.size());
  for (const char16_t ch : text) {
    if (IsBidiFormatting(ch)) continue;
    shown.push_back(BreaksTheLine(ch) ? u' ' : ch);
  }
  return shown;
}

}  // namespace qm
