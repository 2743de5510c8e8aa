// SPDX-License-Identifier: MIT
#include "text/PayloadView.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using std::u16string;

// The cut never splits a surrogate pair nor a UTF-8 sequence (also where the bytes it decodes end
// inside one); shown up to the first zero byte, which is no cut.
TEST(PayloadView, CutsOnWholeCharactersAndGivesTheWholeSize) {
  // clang-format off
  const std::tuple<std::string, std::size_t, u16string> cases[] = {
      {"abc", 3, u"abc"}, {"abcd", 3, u"abc … [4 bytes]"}, {"ab\xE4\xB8\xAD", 2, u"ab … [5 bytes]"},
      {"a\xF0\x9F\x98\x80", 2, u"a … [5 bytes]"}, {std::string("ab\0cdef", 7), 3, u"ab"},
      {"\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD", 1, u"中 … [9 bytes]"}, {"\n\xE2\x80\x8Fxyz", 3, u" x … [7 bytes]"},
      {std::string(4096, 'x'), 4096, u16string(4096, u'x')},
      {std::string(4097, 'x'), 4096, u16string(4096, u'x') + u" … [4097 bytes]"}};
  // clang-format on
  for (const auto& [bytes, units, shown] : cases) EXPECT_EQ(PayloadView(bytes, units), shown);
  EXPECT_EQ(PayloadView(std::string(4097, 'y')), u16string(4096, u'y') + u" … [4097 bytes]");
}

// CR, LF, TAB, a C0, DEL, C1 (NEL) and the two separators become blanks; ALM, LRM, RLM, the
// embeddings, overrides and isolates go.
TEST(PayloadView, OneLineInReadingOrder) {
  EXPECT_EQ(PayloadView("a\rb\nc\td\001e\177f\xC2\x85g\xE2\x80\xA8h\xE2\x80\xA9i"),
            u"a b c d e f g h i");
  EXPECT_EQ(PayloadView("x\xD8\x9C\xE2\x80\x8E\xE2\x80\x8F\xE2\x80\xAA\xE2\x80\xAEy\xE2\x81\xA6"
                        "\xE2\x81\xA9z"),
            u"xyz");
}

}  // namespace
}  // namespace qm
