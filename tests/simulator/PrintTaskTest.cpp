// SPDX-License-Identifier: MIT
#include "simulator/PrintAck.h"
#include "simulator/PrintTask.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

int CodeOf(std::string_view text) {
  TaskIdHistory history;
  return DecideTaskCode(ParsePrintTask(text), history);
}

TEST(DecideTaskCode, FollowsTheRulesInOrder) {
  const std::pair<std::string_view, int> cases[] = {
      // no object as far as the scanner reads
      {"", 208}, {"[1]", 208}, {"x{", 208}, {"{\"id\":1, ", 208}, {"{\"id\" 1}", 208},
      {"{1:2}", 208}, {"{,\"id\":1}", 208}, {"{\"id\":12x,\"type\":1,\"contents\":\"a\"}", 208},
      // ids: whole, 0 to 4294967295; the last one that parses counts
      {"{", 201}, {"{} trailing", 201}, {R"({"id":0,"type":1,"contents":"x"})", 0},
      {R"({"id":4294967295,"type":1,"contents":"x"})", 0},
      {R"({"id":4294967296,"type":1,"contents":"x"})", 201},
      {R"({"id":12.5,"type":1,"contents":"x"})", 201}, {R"({"id":1e3,"type":1,"contents":1})", 201},
      {R"({"id":-1,"type":1,"contents":"x"})", 201}, {R"({"id":"5","type":1,"contents":"x"})", 201},
      {R"({"id":1,"id":-1,"type":1,"contents":"x"})", 0},
      {R"({"id":1e3,"id":4,"type":1,"contents":"x"})", 0},
      {R"({"i\d":3,"type":1,"contents":"x"})", 0},  // an escape reads as its letter
      {R"({"ID":3,"id ":4,"type":1,"contents":"x"})", 201},
      {R"({"x":{"id":5},"type":1,"contents":"x"})", 201},
      // types: signed 32-bit, then 1 to 6, 99 or 100
      {R"({"id":1,"contents":"x"})", 202}, {R"({"id":1,"type":"1","contents":"x"})", 202},
      {R"({"id":1,"type":2147483648,"contents":"x"})", 202},
      {R"({"id":1,"type":-2147483648,"contents":"x"})", 202},
      {R"({"id":1,"type":1.5,"contents":"x"})", 202},
      {R"({"id":1,"type":3,"type":"x","contents":"x"})", 0},
      {R"({"id":1,"type":0,"contents":"x"})", 203}, {R"({"id":1,"type":7,"contents":"x"})", 203},
      {R"({"id":1,"type":98,"contents":"x"})", 203}, {R"({"id":1,"type":101,"contents":"x"})", 203},
      {R"({"id":1,"type":-1,"contents":"x"})", 203}, {R"({"id":1,"type":+5,"contents":[]})", 0},
      // contents and message by type; the last of each counts
      {R"({"id":1,"type":1})", 204}, {R"({"id":1,"type":1,"message":5})", 204},
      {R"({"id":1,"type":1,"contents":""})", 0}, {R"({"id":1,"type":6,"contents":7})", 208},
      {R"({"id":1,"type":4,"contents":{},"message":"m"})", 0},
      {R"({"id":1,"type":2,"contents":[1]})", 208},
      {R"({"id":1,"type":2,"contents":[1],"message":"m"})", 0},
      {R"({"id":1,"type":5,"contents":"x","message":"m"})", 208},
      {R"({"id":1,"type":5,"message":"m"})", 0}, {R"({"id":1,"type":5,"contents":{}})", 0},
      {R"({"id":1,"type":99,"contents":[]})", 208}, {R"({"id":1,"type":99,"message":"m"})", 0},
      {R"({"id":1,"type":99,"contents":{"a":1}})", 0}, {R"({"id":1,"type":100,"contents":3})", 208},
      {R"({"id":1,"type":100,"contents":3,"message":"m"})", 0},
      {R"({"id":1,"type":100,"contents":"x"})", 0}, {R"({"id":1,"type":1,"contents":})", 208},
      {R"({"id":1,"type":1,"contents":"a","contents":5})", 208},
      {R"({"id":1,"type":5,"message":"m","message":1})", 204},
      {R"({"id":1,"type":5,"message":null,"message":"m"})", 0},
      // tolerated forms: brackets inside strings, missing commas, cut texts
      {R"({"contents":["a","b}"],"id":5,"type":5})", 0},
      {R"({"contents":{"a":"x","b":"}"},"id":6,"type":99})", 0},
      {R"({"contents":[{"a":"]"}],"id":7,"type":5})", 0},
      {R"({"contents":{"k":"\"}\\"},"id":8,"type":99})", 0},
      {R"({"contents":"\",\"type\":7","id":9,"type":1})", 0},
      {" {\"id\" : 42 ,\"type\":\t1,\r\n\"contents\":\"x\"}", 0},
      {R"({"id":1 "type":1 "contents":"x"})", 0}, {R"({"id":1,"type":1,"contents":"x")", 0},
      {R"({"id":1,"type":1,"contents":"x"} not json)", 0},
      {R"({"id":1,"type":1,"contents":"unterminated)", 0},
      {"{\"id\":1,\"type\":1,\"contents\":\"x\", ", 208},
  };
  for (const auto& [text, code] : cases) EXPECT_EQ(CodeOf(text), code) << text;
}

TEST(DecideTaskCode, RefusesAnIdAcceptedAmongTheLastTen) {
  const auto task = [](std::uint32_t id, int type = 1) {
    return ParsePrintTask("{\"id\":" + std::to_string(id) + ",\"type\":" + std::to_string(type) +
                          ",\"contents\":\"x\"}");
  };
  TaskIdHistory history;
  EXPECT_EQ(DecideTaskCode(task(500), history), 0);
  EXPECT_EQ(DecideTaskCode(task(500), history), 209);
  EXPECT_EQ(DecideTaskCode(task(500, 5), history), 208);  // bad contents come first
  EXPECT_EQ(DecideTaskCode(task(501, 7), history), 203);  // a refused id is not remembered
  EXPECT_EQ(DecideTaskCode(task(501), history), 0);
  for (std::uint32_t id = 1; id <= 9; ++id) EXPECT_EQ(DecideTaskCode(task(id), history), 0);
  EXPECT_EQ(DecideTaskCode(task(501), history), 209);
  EXPECT_EQ(DecideTaskCode(task(500), history), 0);  // pushed out; overwrites 501
  EXPECT_EQ(DecideTaskCode(task(501), history), 0);
  history.Clear();
  EXPECT_EQ(DecideTaskCode(task(0), history), 0);  // free slots never match 0
  EXPECT_EQ(DecideTaskCode(task(0), history), 209);
}

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
