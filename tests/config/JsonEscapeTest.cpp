// SPDX-License-Identifier: MIT
#include "config/JsonEscape.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace qm {
namespace {

TEST(EscapeJsonString, MapsEveryByteClass) {
  std::vector<std::pair<std::string, std::string>> cases = {
      {"\b", "\\b"}, {"\t", "\\t"}, {"\n", "\\n"}, {"\f", "\\f"}, {"\r", "\\r"},
      {"\"", "\\\""}, {"\\", "\\\\"}, {"/", "/"}, {"\x7F", "\x7F"}, {" ", " "},
      {"\xE4\xB8\xAD", "\xE4\xB8\xAD"}, {"\xFF", "\xFF"},
  };
  // Every other control byte: \u and four lower-case hex digits.
  for (int b = 0; b < 0x20; ++b) {
    if (b == '\b' || b == '\t' || b == '\n' || b == '\f' || b == '\r') continue;
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
    cases.emplace_back(std::string(1, static_cast<char>(b)), escaped);
  }
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(EscapeJsonString(in), out) << static_cast<int>(in[0]);
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
