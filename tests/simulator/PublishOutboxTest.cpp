// SPDX-License-Identifier: MIT
#include "simulator/PublishOutbox.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace qm {
namespace {

using namespace std::string_literals;

// Each step: "+topic:payload=B" a push that is taken, "x…" one refused, "-topic:payload=B" a pop
// giving them, "0=B" a pop giving nothing, "c=B" a clear. B: the bytes held afterwards (two 4-byte
// lengths per publish, its topic unless equal to the previous publish's, its payload).
TEST(PublishOutbox, GivesBackExactlyWhatWasPushedInOrderWithinItsBounds) {
  const std::tuple<const char*, PublishOutbox::Limits, std::vector<std::string>> cases[] = {
      {"binary and empty payloads over blocks of 4",
       {10, 1000, 4},
       {"+a/b:x\0y=14"s, "+c:=23", "+a/b:\xff\0\0=37"s, "-a/b:x\0y=23"s, "-c:=14",
        "-a/b:\xff\0\0=0"s, "0=0"}},
      {"a repeated topic stored once, pushes between pops",
       {10, 1000, 64},
       {"+r/1:aa=13", "+r/1:bb=23", "+r/1:=31", "-r/1:aa=18", "+r/2:c=30", "+r/1:d=42",
        "-r/1:bb=32", "-r/1:=24", "-r/2:c=12", "-r/1:d=0"}},
      {"drained or cleared: the topic again in full, an empty one",
       {10, 1000, 5},
       {"+t:1=10", "-t:1=0", "+t:2=10", "+t:3=19", "-t:2=9", "-t:3=0", "+:4=9", "-:4=0",
        "+t:123456=15", "c=0", "0=0", "+t:5=10", "-t:5=0"}},
      {"count bound",
       {2, 1000, 64},
       {"+t:1=10", "+t:2=19", "xt:3=19", "-t:1=9", "+t:4=18", "-t:2=9", "-t:4=0"}},
      {"byte bound: one over, an exact fit, room again after a pop",
       {10, 30, 4},
       {"+t:0123456789a=20", "xt:123=20", "+t:12=30", "xt:=30", "-t:0123456789a=10", "+t:x=19",
        "-t:12=9", "-t:x=0"}},
      {"a refused topic is not the previous one",
       {10, 20, 8},
       {"+a:1=10", "xbb:too long=10", "+bb:=20", "-a:1=10", "-bb:=0"}},
  };
  for (const auto& [name, limits, steps] : cases) {
    SCOPED_TRACE(name);
    PublishOutbox outbox(limits);
    for (const std::string& step : steps) {
      SCOPED_TRACE(step);
      const std::size_t colon = step.find(':'), equals = step.rfind('=');
      const std::string topic = step.substr(1, colon - 1);
      const std::string payload = step.substr(colon + 1, equals - colon - 1);
      if (step[0] == '+' || step[0] == 'x') {
        EXPECT_EQ(outbox.Push(topic, payload), step[0] == '+');
      } else if (step[0] == 'c') {
        outbox.Clear();
      } else {
        const auto publish = outbox.Pop();
        ASSERT_EQ(publish.has_value(), step[0] == '-');
        if (publish) {
          EXPECT_EQ(publish->topic + ":" + publish->payload, topic + ":" + payload);
        }
      }
      EXPECT_EQ(outbox.Bytes(), std::stoul(step.substr(equals + 1)));
    }
  }
}

}  // namespace
}  // namespace qm
