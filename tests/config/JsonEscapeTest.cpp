// SPDX-License-Identifier: MIT
#include "config/JsonEscape.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(EscapeJsonString, MapsEveryByteClass) {
  const std::pair<std::string, std::string> cases[] = {
      {"\b", "\\b"}, {"\t", "\\t"}, {"\n", "\\n"}, {"\f", "\\f"}, {"\r", "\\r"},
      {"\"", "\\\""}, {"\\", "\\\\"}, {"/", "/"}, {"\x7F", "\x7F"},
      {std::string(1, '\0'), "\\u0000"}, {"\x01", "\\u0001"}, {"\x0B", "\\u000b"},
      {"\x1F", "\\u001f"}, {"\x1B", "\\u001b"}, {" ", " "},
      {"\xE4\xB8\xAD", "\xE4\xB8\xAD"}, {"\xFF", "\xFF"},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(EscapeJsonString(in), out);
  }
}

TEST(EscapeJsonString, CoversAllControlBytes) {
  for (int b = 0; b < 0x20; ++b) {
    const std::string out = EscapeJsonString(std::string(1, static_cast<char>(b)));
    ASSERT_EQ(out[0], '\\') << b;
    if (b == 8 || b == 9 || b == 10 || b == 12 || b == 13) {
      EXPECT_EQ(out.size(), 2u) << b;
    } else {
      char expected[8];
      std::snprintf(expected, sizeof expected, "\\u%04x", b);
      EXPECT_EQ(out, expected);
    }
  }
}

TEST(JsonEscapeUtf8, TrimsConvertsAndEscapes) {
  EXPECT_EQ(JsonEscapeUtf8(u" a\tb "), "a\\tb");
  EXPECT_EQ(JsonEscapeUtf8(u"\u0001"), "\\u0001");
  EXPECT_EQ(JsonEscapeUtf8(u" 中文 "), "\xE4\xB8\xAD\xE6\x96\x87");
  EXPECT_EQ(JsonEscapeUtf8(u"a/b\"c\\"), "a/b\\\"c\\\\");
  EXPECT_EQ(JsonEscapeUtf8(u"\u00A0\u00A0"), "");
}

}  // namespace
}  // namespace qm
