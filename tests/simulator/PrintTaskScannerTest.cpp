// SPDX-License-Identifier: MIT
#include "simulator/PrintTaskScanner.h"

#include <gtest/gtest.h>

#include <optional>

namespace qm {
namespace {

TEST(SkipJsonWhitespace, SkipsOnlyTheFourBlanks) {
  struct Case {
    std::string_view text;
    std::size_t start;
    std::size_t end;
  };
  const Case cases[] = {
      {"", 0, 0},          {" \t\r\n", 0, 4},  {" \t\r\nx", 0, 4},
      {"\v", 0, 0},        {"\f", 0, 0},       {"a  b", 1, 3},
      {"  ", 2, 2},        {"\xA0", 0, 0},
  };
  for (const Case& c : cases) {
    std::size_t pos = c.start;
    SkipJsonWhitespace(c.text, pos);
    EXPECT_EQ(pos, c.end) << c.text;
  }
}

TEST(ParseJsonUint32, ReadsWholeIdsInRange) {
  struct Case {
    std::string_view text;
    std::optional<std::uint32_t> value;
    bool outOfRange;
    std::size_t end;
  };
  const Case cases[] = {
      {"0", 0u, false, 1},
      {"4294967295", 4294967295u, false, 10},
      {"  7,", 7u, false, 3},
      {"007}", 7u, false, 3},
      {"12abc", 12u, false, 2},
      {"4294967296", std::nullopt, true, 10},
      {"99999999999999999999999999,", std::nullopt, true, 26},
      {"4294967296.5e+7,", std::nullopt, true, 12},  // one marker only after overflow
      {"42949672960e-5}", std::nullopt, true, 14},
      {"12.5", std::nullopt, true, 4},
      {"12.0,", std::nullopt, true, 4},
      {"12.", std::nullopt, true, 3},
      {"1e3", std::nullopt, true, 3},
      {"1E+3,", std::nullopt, true, 4},
      {"12.5e-3x", std::nullopt, true, 7},
      {"-1", std::nullopt, false, 0},
      {"+1", std::nullopt, false, 0},
      {".5", std::nullopt, false, 0},
      {"\"5\"", std::nullopt, false, 0},
      {" x", std::nullopt, false, 1},
      {"", std::nullopt, false, 0},
      {"   ", std::nullopt, false, 3},
  };
  for (const Case& c : cases) {
    std::size_t pos = 0;
    std::uint32_t value = 777;
    bool outOfRange = !c.outOfRange;  // must always be written
    const bool ok = ParseJsonUint32(c.text, pos, value, outOfRange);
    EXPECT_EQ(ok, c.value.has_value()) << c.text;
    EXPECT_EQ(value, c.value.value_or(777)) << c.text;
    EXPECT_EQ(outOfRange, c.outOfRange) << c.text;
    EXPECT_EQ(pos, c.end) << c.text;
  }
}

TEST(ParseJsonInt32, ReadsSignedTypes) {
  struct Case {
    std::string_view text;
    std::optional<std::int32_t> value;
    std::size_t end;
  };
  const Case cases[] = {
      {"5", 5, 1},
      {"-5,", -5, 2},
      {"+5", 5, 2},
      {" 00012}", 12, 6},
      {"-0", 0, 2},
      {"2147483647", 2147483647, 10},
      {"-2147483647", -2147483647, 11},
      {"2147483648", std::nullopt, 9},  // stops on the digit that overflows
      {"-2147483648", std::nullopt, 10},
      {"99999999999", std::nullopt, 9},
      {"1.5", std::nullopt, 1},
      {"1e3", std::nullopt, 1},
      {"1E3", std::nullopt, 1},
      {"\"1\"", std::nullopt, 0},
      {"-", std::nullopt, 1},
      {"- 5", std::nullopt, 1},
      {"+-5", std::nullopt, 1},
      {"", std::nullopt, 0},
      {"  ", std::nullopt, 2},
  };
  for (const Case& c : cases) {
    std::size_t pos = 0;
    std::int32_t value = 777;
    EXPECT_EQ(ParseJsonInt32(c.text, pos, value), c.value.has_value()) << c.text;
    EXPECT_EQ(value, c.value.value_or(777)) << c.text;
    EXPECT_EQ(pos, c.end) << c.text;
  }
}

TEST(SkipJsonString, StopsAfterTheClosingQuoteOrAtTheEnd) {
  struct Case {
    std::string_view text;
    std::size_t start;
    std::size_t end;
  };
  const Case cases[] = {
      {"\"abc\"x", 0, 5},   {"\"a\\\"b\"x", 0, 6}, {"\"a\\\\\"x", 0, 5},
      {"\"abc", 0, 4},      {"\"ab\\", 0, 4},      {"\"\\", 0, 2},
      {"x\"a\"", 0, 0},     {"x\"a\"", 1, 4},      {"", 0, 0},
      {"\"\"", 0, 2},       {"\"", 0, 1},          {"ab", 2, 2},
  };
  for (const Case& c : cases) {
    std::size_t pos = c.start;
    SkipJsonString(c.text, pos);
    EXPECT_EQ(pos, c.end) << c.text;
  }
}

TEST(GetJsonValueKind, ClassifiesByFirstByteAfterBlanks) {
  struct Case {
    std::string_view text;
    JsonValueKind kind;
  };
  const Case cases[] = {
      {"", JsonValueKind::None},          {" \r\n\t", JsonValueKind::None},
      {" \"s\"", JsonValueKind::String},  {"1", JsonValueKind::Number},
      {"-x", JsonValueKind::Number},      {"+", JsonValueKind::Number},
      {"[", JsonValueKind::Array},        {" {}", JsonValueKind::Object},
      {"true", JsonValueKind::Other},     {"null", JsonValueKind::Other},
      {"}", JsonValueKind::Other},        {",", JsonValueKind::Other},
      {".5", JsonValueKind::Other},       {"\xE4", JsonValueKind::Other},
  };
  for (const Case& c : cases) {
    const std::size_t pos = 0;
    EXPECT_EQ(GetJsonValueKind(c.text, pos), c.kind) << c.text;
  }
}

TEST(SkipJsonValue, MovesPastOneValue) {
  struct Case {
    std::string_view text;
    std::size_t end;
  };
  const Case cases[] = {
      {"\"s\",x", 3},
      {"  \"a,b\"}", 7},
      {"{\"a\":{\"b\":1}},x", 13},
      {"[1,[2,3],4]x", 11},
      {"[\"]\",1]x", 7},
      {"{\"k\":\"}\"}x", 9},
      {"{[}]x", 3},  // only braces count inside an object
      {"[{]}x", 3},
      {"{{}", 3},    // unterminated: to the end
      {"[\"abc", 5},
      {"123,x", 3},
      {"-1.5e3}", 6},
      {"true]", 4},
      {"nul", 3},
      {"}", 0},
      {"  ,", 2},
      {"", 0},
      {"\"\\", 2},
  };
  for (const Case& c : cases) {
    std::size_t pos = 0;
    SkipJsonValue(c.text, pos);
    EXPECT_EQ(pos, c.end) << c.text;
  }
}

}  // namespace
}  // namespace qm
