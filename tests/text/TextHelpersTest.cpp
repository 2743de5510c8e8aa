// SPDX-License-Identifier: MIT
#include "text/TextHelpers.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using std::u16string;
using Pair = std::pair<u16string, std::string>;

TEST(TextHelpers, TrimTruncateAndLower) {
  // clang-format off
  for (const auto& [in, out] : {std::pair<u16string, u16string>{u" \t\r\n\v\f", u""},
       {u"\u00A0x\u0085", u"x"}, {u"\u3000中文\u2003", u"中文"}, {u"\u2028 a\tb ", u"a\tb"},
       {u"\u202F\u205Fx\u1680", u"x"}, {u"\u200Bx\u00AD", u"\u200Bx\u00AD"}})
    EXPECT_EQ(TrimWhitespace(in), out);
  for (const auto& [in, out] : {std::pair<u16string, u16string>{u"abcd", u"abc"},
       {u"ab\U0001F600", u"ab"}, {u"a\U0001F600b", u"a\U0001F600"}})
    EXPECT_EQ(TruncateUtf16(in, 3), out);
  // clang-format on
  EXPECT_EQ(AsciiLowerCopy(u"USB#VID_04B8&\u00C4\u0130Z"), u"usb#vid_04b8&\u00C4\u0130z");
}

// The control characters are exactly U+0000-U+001F and U+007F-U+009F.
TEST(TextHelpers, ControlCharactersAtTheirEdges) {
  for (char16_t c : {0x00, 0x1F, 0x7F, 0x9F}) EXPECT_TRUE(IsControlCharacter(c)) << int(c);
  for (char16_t c : {0x20, 0x7E, 0xA0, 0x2028}) EXPECT_FALSE(IsControlCharacter(c)) << int(c);
}

TEST(TextHelpers, Utf8BothWays) {
  // clang-format off
  for (const auto& [wide, utf8] : {Pair{u"", ""}, {u"a\u00E9中", "a\xC3\xA9\xE4\xB8\xAD"},
                                   {u"\U0001F600", "\xF0\x9F\x98\x80"}}) {
    EXPECT_EQ(WideToUtf8(wide), utf8);
    EXPECT_EQ(Utf8ToWide(utf8), wide);
  }
  // Stops at U+0000; an unpaired surrogate becomes U+FFFD.
  for (const auto& [wide, utf8] : {Pair{u16string(u"ab\0cd", 5), "ab"},
       {u16string(1, char16_t(0xD800)) + u"x", "\xEF\xBF\xBDx"},
       {u"x" + u16string(1, char16_t(0xDC00)), "x\xEF\xBF\xBD"}})
    EXPECT_EQ(WideToUtf8(wide), utf8);
  for (const auto& [wide, utf8] : {Pair{u"ab", std::string("ab\0cd", 5)}, {u"\uFFFDx", "\x80x"},
       {u"\uFFFD\uFFFD", "\xC0\xAF"}, {u"\uFFFDx", "\xE4\xB8x"}, {u"a\uFFFD", "a\xF0\x9F\x98"},
       {u"\uFFFD\uFFFD\uFFFD", "\xED\xA0\x80"}, {u"\uFFFD\uFFFD\uFFFD\uFFFD", "\xF4\x90\x80\x80"}})
    EXPECT_EQ(Utf8ToWide(utf8), wide);
  // clang-format on
}

}  // namespace
}  // namespace qm
