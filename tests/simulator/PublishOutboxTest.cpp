// SPDX-License-Identifier: MIT
#include "simulator/PublishOutbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

using namespace std::string_literals;

// One step: a push of topic and payload, or a pop (pop true) expecting topic and payload, or
// expecting nothing when ok is false. ok: what the push returned / whether the pop gave one.
// bytes: what the queue holds afterwards (two 4-byte lengths per publish, its topic unless equal
// to the previous publish's, its payload).
struct Step {
  bool pop;
  std::string topic, payload;
  bool ok;
  std::size_t bytes;
};

struct Case {
  const char* name;
  PublishOutbox::Limits limits;
  std::vector<Step> steps;
};

constexpr bool kPush = false, kPop = true;

// 100 bytes 0x00..0x63: spans many blocks of 8.
std::string Ramp() {
  std::string out;
  for (int i = 0; i < 100; ++i) out += static_cast<char>(i);
  return out;
}

TEST(PublishOutbox, GivesBackExactlyWhatWasPushedInOrderWithinItsBounds) {
  const std::string ramp = Ramp();
  const Case cases[] = {
      {"binary and empty payloads across blocks of 4 bytes",
       {10, 1000, 4},
       {{kPush, "a/b", "x\0y"s, true, 14},
        {kPush, "c", "", true, 23},
        {kPush, "a/b", "\xff\0\0"s, true, 37},
        {kPop, "a/b", "x\0y"s, true, 23},
        {kPop, "c", "", true, 14},
        {kPop, "a/b", "\xff\0\0"s, true, 0},
        {kPop, "", "", false, 0}}},
      {"a repeated topic stored once, also read back after a pop",
       {10, 1000, 64},
       {{kPush, "r/1", "aa", true, 13},
        {kPush, "r/1", "bb", true, 23},
        {kPush, "r/1", "", true, 31},
        {kPop, "r/1", "aa", true, 18},
        {kPush, "r/2", "c", true, 30},
        {kPush, "r/1", "d", true, 42},
        {kPop, "r/1", "bb", true, 32},
        {kPop, "r/1", "", true, 24},
        {kPop, "r/2", "c", true, 12},
        {kPop, "r/1", "d", true, 0}}},
      {"drained, then the same topic again in full",
       {10, 1000, 5},
       {{kPush, "t", "1", true, 10},
        {kPop, "t", "1", true, 0},
        {kPush, "t", "2", true, 10},
        {kPush, "t", "3", true, 19},
        {kPop, "t", "2", true, 9},
        {kPop, "t", "3", true, 0}}},
      {"an empty topic first",
       {10, 1000, 64},
       {{kPush, "", "p", true, 9}, {kPush, "q", "", true, 18}, {kPop, "", "p", true, 9},
        {kPop, "q", "", true, 0}}},
      {"one payload over many blocks",
       {10, 1000, 8},
       {{kPush, "t", ramp, true, 109},
        {kPush, "t", "\0"s, true, 118},
        {kPop, "t", ramp, true, 9},
        {kPop, "t", "\0"s, true, 0}}},
      {"count bound",
       {2, 1000, 64},
       {{kPush, "t", "1", true, 10},
        {kPush, "t", "2", true, 19},
        {kPush, "t", "3", false, 19},
        {kPop, "t", "1", true, 9},
        {kPush, "t", "4", true, 18},
        {kPop, "t", "2", true, 9},
        {kPop, "t", "4", true, 0}}},
      {"byte bound: an exact fit, one byte over, room again after a pop",
       {10, 30, 4},
       {{kPush, "t", "0123456789a", true, 20},
        {kPush, "t", "123", false, 20},
        {kPush, "t", "12", true, 30},
        {kPush, "t", "", false, 30},
        {kPop, "t", "0123456789a", true, 10},
        {kPush, "t", "x", true, 19},
        {kPop, "t", "12", true, 9},
        {kPop, "t", "x", true, 0}}},
      {"a refused topic is not taken as the previous one",
       {10, 20, 8},
       {{kPush, "a", "1", true, 10},
        {kPush, "bb", "too long", false, 10},
        {kPush, "bb", "", true, 20},
        {kPop, "a", "1", true, 10},
        {kPop, "bb", "", true, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PublishOutbox outbox(c.limits);
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i));
      const Step& step = c.steps[i];
      if (step.pop) {
        const auto publish = outbox.Pop();
        ASSERT_EQ(publish.has_value(), step.ok);
        if (publish) {
          EXPECT_EQ(publish->topic, step.topic);
          EXPECT_EQ(publish->payload, step.payload);
        }
      } else {
        EXPECT_EQ(outbox.Push(step.topic, step.payload), step.ok);
      }
      EXPECT_EQ(outbox.Bytes(), step.bytes);
    }
  }
}

// Many publishes through blocks of 7 bytes while others are pushed: order and bytes kept.
TEST(PublishOutbox, InterleavedPushesAndPopsKeepTheOrder) {
  PublishOutbox outbox({1000, 100000, 7});
  std::vector<std::string> popped;
  for (int i = 0; i < 300; ++i) {
    ASSERT_TRUE(outbox.Push(i % 3 == 0 ? "x" : "yy", std::to_string(i)));
    if (i % 2 == 1) popped.push_back(outbox.Pop()->payload);
  }
  while (auto publish = outbox.Pop()) popped.push_back(publish->payload);
  ASSERT_EQ(popped.size(), 300u);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(popped[i], std::to_string(i));
  EXPECT_EQ(outbox.Size(), 0u);
  EXPECT_EQ(outbox.Bytes(), 0u);
}

TEST(PublishOutbox, ClearDropsEverythingAndStartsAfresh) {
  PublishOutbox outbox({10, 1000, 4});
  ASSERT_TRUE(outbox.Push("t", "123456"));
  ASSERT_TRUE(outbox.Push("t", "7"));
  outbox.Clear();
  EXPECT_EQ(outbox.Size(), 0u);
  EXPECT_EQ(outbox.Bytes(), 0u);
  EXPECT_FALSE(outbox.Pop().has_value());
  ASSERT_TRUE(outbox.Push("t", "8"));
  EXPECT_EQ(outbox.Bytes(), 10u);
  const auto publish = outbox.Pop();
  ASSERT_TRUE(publish.has_value());
  EXPECT_EQ(publish->topic, "t");
  EXPECT_EQ(publish->payload, "8");
}

}  // namespace
}  // namespace qm
