// SPDX-License-Identifier: MIT
#include "simulator/PrintAck.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(AckCodeText, NamesEveryCode) {
  const std::pair<int, std::string_view> cases[] = {
      {0, "success"},
      {100, "unknown error"},
      {101, "out of paper"},
      {102, "cover open"},
      {103, "overheat"},
      {109, "printer not connected"},
      {201, "missing/invalid id (valid range 0-4294967295)"},
      {202, "missing type"},
      {203, "invalid type (allowed: 1,2,3,4,5,6,99,100)"},
      {204, "missing contents/message"},
      {205, "invalid message"},
      {206, "download error"},
      {207, "task too long"},
      {208, "invalid content format"},
      {209, "duplicate task id"},
      {1, "unknown code"},
      {-1, "unknown code"},
      {104, "unknown code"},
      {200, "unknown code"},
      {210, "unknown code"},
  };
  for (const auto& [code, text] : cases) {
    EXPECT_EQ(AckCodeText(code), text) << code;
  }
}

TEST(BuildPrintAckJson, EscapesOnlyQuoteAndBackslash) {
  EXPECT_EQ(BuildPrintAckJson("SN123", 42, 0), R"({"devicename":"SN123","id":42,"code":0})");
  EXPECT_EQ(BuildPrintAckJson("", 0, 208), R"({"devicename":"","id":0,"code":208})");
  EXPECT_EQ(BuildPrintAckJson("a\"b\\c\n/打", 4294967295u, -1),
            "{\"devicename\":\"a\\\"b\\\\c\n/打\",\"id\":4294967295,\"code\":-1}");
}

TEST(BuildPrintAckJson, CutsAt255Bytes) {
  // 33 bytes of frame around the name for id 1 and code 0.
  const std::string fits = BuildPrintAckJson(std::string(222, 'n'), 1, 0);
  EXPECT_EQ(fits.size(), 255u);
  EXPECT_EQ(fits.back(), '}');
  const std::string cut = BuildPrintAckJson(std::string(223, 'n'), 1, 0);
  EXPECT_EQ(cut, fits.substr(0, 15) + "n" + fits.substr(15, 239));
  // An escape pair may be split by the cut, as the printer's buffer does.
  std::string escapedQuotes;
  for (int i = 0; i < 119; ++i) escapedQuotes += "\\\"";
  EXPECT_EQ(BuildPrintAckJson("x" + std::string(1000, '"'), 1, 0),
            "{\"devicename\":\"x" + escapedQuotes + "\\");
}

}  // namespace
}  // namespace qm
