// SPDX-License-Identifier: MIT
#include "text/TextHelpers.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using std::u16string;

TEST(TextHelpers, TrimTruncateAndLower) {
  const std::pair<u16string, u16string> trims[] = {
      {u"", u""},
      {u" \t\r\n\v\f", u""},
      {u"\u00A0x\u0085", u"x"},
      {u"\u3000中文\u2003", u"中文"},
      {u"\u2028 a\tb ", u"a\tb"},
      {u"\u200Bx", u"\u200Bx"},
      {u"\u00ADx", u"\u00ADx"}};  // ZWSP, soft hyphen: no blanks
  for (const auto& [in, out] : trims) EXPECT_EQ(TrimWhitespace(in), out);
  const u16string smile = u"\U0001F600";
  const std::pair<u16string, u16string> cuts[] = {{u"abcd", u"abc"},
                                                  {u"abc", u"abc"},
                                                  {u"ab" + smile, u"ab"},
                                                  {u"a" + smile + u"b", u"a" + smile}};
  for (const auto& [in, out] : cuts) EXPECT_EQ(TruncateUtf16(in, 3), out);
  EXPECT_EQ(TruncateUtf16(smile, 1), u"");
  EXPECT_EQ(AsciiLowerCopy(u"USB#VID_04B8&\u00C4\u0130Z"), u"usb#vid_04b8&\u00C4\u0130z");
}

TEST(TextHelpers, Utf8BothWays) {
  const u16string lone(1, char16_t(0xD800));
  const std::pair<u16string, std::string> both[] = {
      {u"", ""}, {u"a\u00E9中", "a\xC3\xA9\xE4\xB8\xAD"}, {u"\U0001F600", "\xF0\x9F\x98\x80"}};
  for (const auto& [wide, utf8] : both) {
    EXPECT_EQ(WideToUtf8(wide), utf8);
    EXPECT_EQ(Utf8ToWide(utf8), wide);
  }
  const std::pair<u16string, std::string> toUtf8[] = {
      {u16string(u"ab\0cd", 5), "ab"},
      {u16string(u"\0x", 2), ""},
      {lone + u"x", "\xEF\xBF\xBDx"},
      {u"x" + u16string(1, char16_t(0xDC00)), "x\xEF\xBF\xBD"}};
  for (const auto& [wide, utf8] : toUtf8) EXPECT_EQ(WideToUtf8(wide), utf8);
  const std::pair<u16string, std::string> toWide[] = {
      {u"ab", std::string("ab\0cd", 5)},
      {u"\uFFFDx", "\x80x"},
      {u"\uFFFD\uFFFD", "\xC0\xAF"},
      {u"\uFFFDx", "\xE4\xB8x"},
      {u"\uFFFD\uFFFD\uFFFD", "\xED\xA0\x80"},
      {u"\uFFFD\uFFFD\uFFFD\uFFFD", "\xF4\x90\x80\x80"},
      {u"\uFFFD", "\xFF"},
      {u"a\uFFFD", "a\xF0\x9F\x98"}};
  for (const auto& [wide, utf8] : toWide) EXPECT_EQ(Utf8ToWide(utf8), wide);
}

}  // namespace
}  // namespace qm
