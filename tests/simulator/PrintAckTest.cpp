// SPDX-License-Identifier: MIT
#include "simulator/PrintAck.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(AckCodeText, NamesEveryCode) {
  const std::pair<int, std::string_view> cases[] = {
      {0, "success"}, {100, "unknown error"}, {101, "out of paper"}, {102, "cover open"},
      {103, "overheat"}, {109, "printer not connected"},
      {201, "missing/invalid id (valid range 0-4294967295)"}, {202, "missing type"},
      {203, "invalid type (allowed: 1,2,3,4,5,6,99,100)"}, {204, "missing contents/message"},
      {205, "invalid message"}, {206, "download error"}, {207, "task too long"},
      {208, "invalid content format"}, {209, "duplicate task id"}, {1, "unknown code"},
      {-1, "unknown code"}, {104, "unknown code"}, {200, "unknown code"}, {210, "unknown code"},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(AckCodeText(code), text) << code;
}

// Only quote and backslash are escaped; the text is cut at 255 bytes, even
// inside an escape pair, as the printer's buffer does.
TEST(BuildPrintAckJson, EscapesAndCutsAt255Bytes) {
  const std::string n222(222, 'n'), n223(223, 'n');
  std::string quotes;
  for (int i = 0; i < 119; ++i) quotes += "\\\"";
  const std::tuple<std::string, std::uint32_t, int, std::string> cases[] = {
      {"SN123", 42, 0, R"({"devicename":"SN123","id":42,"code":0})"},
      {"", 0, 208, R"({"devicename":"","id":0,"code":208})"},
      {"a\"b\\c\n/打", 4294967295u, -1,
       "{\"devicename\":\"a\\\"b\\\\c\n/打\",\"id\":4294967295,\"code\":-1}"},
      {n222, 1, 0, R"({"devicename":")" + n222 + R"(","id":1,"code":0})"},
      {n223, 1, 0, R"({"devicename":")" + n223 + R"(","id":1,"code":0)"},
      {"x" + std::string(1000, '"'), 1, 0, "{\"devicename\":\"x" + quotes + "\\"},
  };
  for (const auto& [name, id, code, json] : cases) {
    EXPECT_EQ(BuildPrintAckJson(name, id, code), json);
  }
}

}  // namespace
}  // namespace qm
