// SPDX-License-Identifier: MIT
#include "simulator/PrintTask.h"

#include <gtest/gtest.h>

#include "simulator/SamplePrintJobs.h"

namespace qm {
namespace {

int CodeOf(std::string_view text) {
  TaskIdHistory history;
  return DecideTaskCode(ParsePrintTask(text), history);
}

TEST(ParsePrintTask, RefusesWhatIsNoObject) {
  const std::string_view cases[] = {
      "", "   ", "[1]", "x{", "{ ", "{\r\n", "{\"id\":1, ", "{\"id", "{\"id\"",
      "{\"id\" 1}", "{\"id\":1 x", "{1:2}", "{,\"id\":1}", "\"{\"",
  };
  for (const std::string_view text : cases) {
    EXPECT_FALSE(ParsePrintTask(text).ok) << text;
    EXPECT_EQ(CodeOf(text), 208) << text;
  }
}

TEST(ParsePrintTask, ReadsTheMembersAndKeepsTheLastOneThatParses) {
  struct Case {
    std::string_view text;
    bool idValid;
    std::uint32_t id;
    bool idOutOfRange;
    bool typeValid;
    std::int32_t type;
    JsonValueKind contents;
    bool message;
  };
  const Case cases[] = {
      {" {\"vType\":-1, \"id\" : 42 ,\"type\":\t5,\"contents\":[1,2],\"message\":\"hi\"}", true, 42,
       false, true, 5, JsonValueKind::Array, true},
      {"{\"id\":1,\"id\":2}", true, 2, false, false, 0, JsonValueKind::None, false},
      {"{\"id\":1,\"id\":-1}", true, 1, false, false, 0, JsonValueKind::None, false},
      {"{\"id\":1,\"id\":1.5}", true, 1, true, false, 0, JsonValueKind::None, false},
      {"{\"id\":1e3,\"id\":\"5\"}", false, 0, false, false, 0, JsonValueKind::None, false},
      {"{\"id\":1e3,\"id\":4}", true, 4, true, false, 0, JsonValueKind::None, false},
      {"{\"type\":3,\"type\":\"x\"}", false, 0, false, true, 3, JsonValueKind::None, false},
      {"{\"type\":3,\"type\":-7}", false, 0, false, true, -7, JsonValueKind::None, false},
      {"{\"contents\":\"a\",\"contents\":5}", false, 0, false, false, 0, JsonValueKind::Number,
       false},
      {"{\"contents\":{},\"contents\":}", false, 0, false, false, 0, JsonValueKind::Other, false},
      {"{\"message\":\"m\",\"message\":1}", false, 0, false, false, 0, JsonValueKind::None,
       false},
      {"{\"message\":null,\"message\":\"m\"}", false, 0, false, false, 0, JsonValueKind::None,
       true},
      // Keys are compared after their escapes are taken literally.
      {"{\"i\\d\":3,\"\\\"id\":4}", true, 3, false, false, 0, JsonValueKind::None, false},
      {"{\"ID\":3,\"id \":4,\"x\":{\"id\":5}}", false, 0, false, false, 0, JsonValueKind::None,
       false},
      {"{\"contents\":", false, 0, false, false, 0, JsonValueKind::None, false},
  };
  for (const Case& c : cases) {
    const PrintTaskCheck check = ParsePrintTask(c.text);
    EXPECT_TRUE(check.ok) << c.text;
    EXPECT_EQ(check.idValid, c.idValid) << c.text;
    EXPECT_EQ(check.id, c.id) << c.text;
    EXPECT_EQ(check.idOutOfRange, c.idOutOfRange) << c.text;
    EXPECT_EQ(check.typeValid, c.typeValid) << c.text;
    EXPECT_EQ(check.type, c.type) << c.text;
    EXPECT_EQ(check.contentsKind, c.contents) << c.text;
    EXPECT_EQ(check.contentsPresent, c.contents != JsonValueKind::None) << c.text;
    EXPECT_EQ(check.messageIsString, c.message) << c.text;
  }
}

TEST(ParsePrintTask, StrayByteAfterTheIdKeepsTheId) {
  const PrintTaskCheck check = ParsePrintTask("{\"id\":12x,\"type\":1,\"contents\":\"a\"}");
  EXPECT_FALSE(check.ok);
  EXPECT_TRUE(check.idValid);
  EXPECT_EQ(check.id, 12u);
  EXPECT_EQ(CodeOf("{\"id\":12x,\"type\":1,\"contents\":\"a\"}"), 208);
}

TEST(DecideTaskCode, FollowsTheRulesInOrder) {
  struct Case {
    std::string_view text;
    int code;
  };
  const Case cases[] = {
      {"{", 201},
      {"{}", 201},
      {"{} trailing", 201},
      // ids (the scanner's own cases are in its tests)
      {R"({"id":0,"type":1,"contents":"x"})", 0},
      {R"({"id":4294967295,"type":1,"contents":"x"})", 0},
      {R"({"id":4294967296,"type":1,"contents":"x"})", 201},
      {R"({"id":12.5,"type":1,"contents":"x"})", 201},
      {R"({"id":1e3,"type":1,"contents":"x"})", 201},
      {R"({"id":null,"type":1,"contents":"x"})", 201},
      // types
      {R"({"id":1,"contents":"x"})", 202},
      {R"({"id":1,"type":"1","contents":"x"})", 202},
      {R"({"id":1,"type":2147483648,"contents":"x"})", 202},
      {R"({"id":1,"type":0,"contents":"x"})", 203},
      {R"({"id":1,"type":7,"contents":"x"})", 203},
      {R"({"id":1,"type":98,"contents":"x"})", 203},
      {R"({"id":1,"type":101,"contents":"x"})", 203},
      {R"({"id":1,"type":-1,"contents":"x"})", 203},
      {R"({"id":1,"type":2147483647,"contents":"x"})", 203},
      {R"({"id":1,"type":+5,"contents":[]})", 0},
      // contents and message by type
      {R"({"id":1,"type":1})", 204},
      {R"({"id":1,"type":1,"message":5})", 204},
      {R"({"id":1,"type":1,"contents":""})", 0},
      {R"({"id":1,"type":3,"contents":"x"})", 0},
      {R"({"id":1,"type":4,"contents":{},"message":"m"})", 0},
      {R"({"id":1,"type":6,"contents":7})", 208},
      {R"({"id":1,"type":2,"contents":[1]})", 208},
      {R"({"id":1,"type":2,"contents":[1],"message":"m"})", 0},
      {R"({"id":1,"type":5,"contents":"x","message":"m"})", 208},
      {R"({"id":1,"type":5,"message":"m"})", 0},
      {R"({"id":1,"type":5,"contents":{}})", 0},
      {R"({"id":1,"type":99,"contents":[]})", 208},
      {R"({"id":1,"type":99,"contents":"x","message":"m"})", 208},
      {R"({"id":1,"type":99,"contents":{"a":1}})", 0},
      {R"({"id":1,"type":99,"message":"m"})", 0},
      {R"({"id":1,"type":100,"contents":3})", 208},
      {R"({"id":1,"type":100,"contents":3,"message":"m"})", 0},
      {R"({"id":1,"type":100,"contents":[]})", 0},
      {R"({"id":1,"type":100,"contents":"x"})", 0},
      {R"({"id":1,"type":1,"contents":})", 208},  // present, kind Other
      {R"({"id":1,"type":100,"contents":,"message":"m"})", 0},
      // tolerated forms
      {R"({"contents":["a","b}"],"id":5,"type":5})", 0},
      {R"({"contents":{"a":"x","b":"}"},"id":6,"type":99})", 0},
      {R"({"contents":[{"a":"]"}],"id":7,"type":5})", 0},
      {R"({"id":1 "type":1 "contents":"x"})", 0},
      {R"({"id":1,"type":1,"contents":"x")", 0},
      {R"({"id":1,"type":1,"contents":"x",)", 0},
      {R"({"id":1,"type":1,"contents":"x"} not json)", 0},
      {R"({"id":1,"type":1,"contents":"unterminated)", 0},
      {"{\"id\":1,\"type\":1,\"contents\":\"x\", ", 208},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CodeOf(c.text), c.code) << c.text;
  }
}

TEST(DecideTaskCode, RefusesAnIdAcceptedAmongTheLastTen) {
  const auto task = [](std::uint32_t id) {
    return ParsePrintTask("{\"id\":" + std::to_string(id) + ",\"type\":1,\"contents\":\"x\"}");
  };
  TaskIdHistory history;
  EXPECT_EQ(DecideTaskCode(task(500), history), 0);
  EXPECT_EQ(DecideTaskCode(task(500), history), 209);

  // A duplicate with bad contents is refused for its contents.
  EXPECT_EQ(DecideTaskCode(ParsePrintTask(R"({"id":500,"type":5,"contents":"x"})"), history),
            208);
  // A refused id is not remembered.
  EXPECT_EQ(DecideTaskCode(ParsePrintTask(R"({"id":501,"type":7,"contents":"x"})"), history),
            203);
  EXPECT_EQ(DecideTaskCode(task(501), history), 0);

  // Nine more accepted ids push 500 out; 501 is still remembered.
  for (std::uint32_t id = 1; id <= 9; ++id) EXPECT_EQ(DecideTaskCode(task(id), history), 0);
  EXPECT_EQ(DecideTaskCode(task(501), history), 209);
  EXPECT_EQ(DecideTaskCode(task(500), history), 0);  // overwrites 501
  EXPECT_EQ(DecideTaskCode(task(501), history), 0);

  history.Clear();
  EXPECT_EQ(DecideTaskCode(task(9), history), 0);
  EXPECT_EQ(DecideTaskCode(task(0), history), 0);
  EXPECT_EQ(DecideTaskCode(task(0), history), 209);
}

TEST(TaskIdHistory, RingKeepsTheLastTenIds) {
  TaskIdHistory history;
  EXPECT_FALSE(history.Contains(0));  // free slots never match
  for (std::uint32_t id = 100; id < 110; ++id) history.Remember(id);
  for (std::uint32_t id = 100; id < 110; ++id) EXPECT_TRUE(history.Contains(id));
  history.Remember(110);  // the eleventh overwrites the oldest
  EXPECT_FALSE(history.Contains(100));
  EXPECT_TRUE(history.Contains(101));
  EXPECT_TRUE(history.Contains(110));
  history.Clear();
  for (std::uint32_t id = 100; id <= 110; ++id) EXPECT_FALSE(history.Contains(id));
  EXPECT_FALSE(history.Contains(0));
  history.Remember(0);
  EXPECT_TRUE(history.Contains(0));
}

TEST(SamplePrintJobs, AllThreeTestJobsAreAccepted) {
  struct Case {
    std::string_view tail;
    std::int32_t type;
    JsonValueKind contents;
  };
  const Case cases[] = {
      {test::kReceiptTail, 5, JsonValueKind::Array},
      {test::kTsplLabelTail, 5, JsonValueKind::Object},
      {test::kCpclLabelTail, 2, JsonValueKind::String},
  };
  TaskIdHistory history;
  std::uint32_t id = 4294967290u;
  for (const Case& c : cases) {
    const std::string job = test::SampleJob(++id, c.tail);
    const PrintTaskCheck check = ParsePrintTask(job);
    EXPECT_TRUE(check.ok);
    EXPECT_EQ(check.id, id);
    EXPECT_EQ(check.type, c.type);
    EXPECT_EQ(check.contentsKind, c.contents);
    EXPECT_FALSE(check.messageIsString);
    EXPECT_EQ(DecideTaskCode(check, history), 0);
    EXPECT_EQ(DecideTaskCode(ParsePrintTask(job), history), 209);
  }
}

}  // namespace
}  // namespace qm
