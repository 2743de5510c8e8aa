// SPDX-License-Identifier: MIT
#include "text/TextHelpers.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

struct TrimCase {
  std::u16string in;
  std::u16string out;
};

TEST(TrimWhitespace, RemovesEverySpaceClassAtBothEndsOnly) {
  const TrimCase cases[] = {
      {u"", u""},
      {u" \t\r\n\v\f", u""},
      {u"a b", u"a b"},
      {u"\u00A0x\u00A0", u"x"},
      {u"\u0085x\u0085", u"x"},
      {u"\u3000中文\u3000", u"中文"},
      {u"\u2003a\u2028", u"a"},
      {u" a\tb ", u"a\tb"},
      {u"\u200Bx", u"\u200Bx"},  // zero-width space is not white space
      {u"\u00ADx", u"\u00ADx"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TrimWhitespace(c.in), c.out) << "input length " << c.in.size();
  }
}

TEST(TruncateUtf16, NeverKeepsHalfASurrogatePair) {
  const std::u16string smile = u"\U0001F600";
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"abcd", u"abc"},       {u"abc", u"abc"}, {u"ab", u"ab"},
      {u"ab" + smile, u"ab"},  {u"a" + smile + u"b", u"a" + smile},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(TruncateUtf16(in, 3), out);
  EXPECT_EQ(TruncateUtf16(smile, 1), u"");
}

TEST(AsciiLowerCopy, LowersAsciiLettersOnly) {
  EXPECT_EQ(AsciiLowerCopy(u"USB#VID_04B8&PID_0E28#/dev/usb/LP0"), u"usb#vid_04b8&pid_0e28#/dev/usb/lp0");
  EXPECT_EQ(AsciiLowerCopy(u"\u00C4\u0130Z"), u"\u00C4\u0130z");
}

struct Utf8Case {
  std::u16string wide;
  std::string utf8;
};

TEST(WideToUtf8, ConvertsEveryEncodedLength) {
  const Utf8Case cases[] = {
      {u"", ""},
      {u"abc", "abc"},
      {u"中文", "\xE4\xB8\xAD\xE6\x96\x87"},
      {u"\u00E9", "\xC3\xA9"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {std::u16string(u"ab\0cd", 5), "ab"},
      {std::u16string(u"\0x", 2), ""},
      {std::u16string(1, char16_t(0xD800)) + u"x", "\xEF\xBF\xBDx"},
      {u"x" + std::u16string(1, char16_t(0xDC00)), "x\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WideToUtf8(c.wide), c.utf8);
  }
}

TEST(Utf8ToWide, DecodesValidTextAndReplacesMalformedBytes) {
  const Utf8Case cases[] = {
      {u"", ""},
      {u"中文", "\xE4\xB8\xAD\xE6\x96\x87"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {u"ab", std::string("ab\0cd", 5)},
      {u"\uFFFDx", "\x80x"},                  // stray continuation byte
      {u"\uFFFD\uFFFD", "\xC0\xAF"},          // overlong lead byte
      {u"\uFFFDx", "\xE4\xB8x"},              // truncated sequence
      {u"\uFFFD\uFFFD\uFFFD", "\xED\xA0\x80"},  // encoded surrogate
      {u"\uFFFD\uFFFD\uFFFD\uFFFD", "\xF4\x90\x80\x80"},  // above U+10FFFF
      {u"\uFFFD", "\xFF"},
      {u"a\uFFFD", "a\xF0\x9F\x98"},          // cut at the end
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << "bytes of size " << c.utf8.size();
  }
}

}  // namespace
}  // namespace qm
