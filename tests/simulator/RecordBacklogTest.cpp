// SPDX-License-Identifier: MIT
#include "simulator/RecordBacklog.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <tuple>

#include "simulator/TestProcesses.h"

namespace qm {
namespace {

using Message = std::unique_ptr<MqttMessageEvent>;
using Status = std::unique_ptr<MqttStatusEvent>;

Message Msg(std::string payload, int qos = 0) {
  return std::make_unique<MqttMessageEvent>("t", payload, qos);
}

// Each entry as text: a message's payload, "status:" and its text, or "dropped:" (or, for QoS 1
// messages, "lost:") and the count.
std::vector<std::string> TakeAll(RecordBacklog& backlog) {
  std::vector<std::string> out;
  while (auto entry = backlog.Take()) {
    if (auto* m = std::get_if<Message>(&*entry)) out.push_back((*m)->payload);
    if (auto* s = std::get_if<Status>(&*entry)) out.push_back("status:" + (*s)->text);
    if (auto* d = std::get_if<DroppedMessages>(&*entry))
      out.push_back((d->kept ? "lost:" : "dropped:") + std::to_string(d->count));
  }
  return out;
}

TEST(RecordBacklog, FullBacklogDropsMessagesAndCountsThemInPlace) {
  RecordBacklog backlog({3, 1000});
  EXPECT_TRUE(backlog.PushMessage(Msg("1")));  // the one wake until the backlog is found empty
  for (int i = 2; i <= 3; ++i) EXPECT_FALSE(backlog.PushMessage(Msg(std::to_string(i))));
  EXPECT_FALSE(backlog.PushStatus(std::make_unique<MqttStatusEvent>(MqttStatusEvent{true, "s"})));
  for (int i = 4; i <= 7; ++i) EXPECT_FALSE(backlog.PushMessage(Msg(std::to_string(i))));
  backlog.PushStatus(std::make_unique<MqttStatusEvent>(MqttStatusEvent{true, "t"}));
  for (int i = 8; i <= 10; ++i) EXPECT_FALSE(backlog.PushMessage(Msg(std::to_string(i))));
  backlog.Take(), backlog.Take();
  backlog.PushMessage(Msg("11"));  // room for one, but not yet down to half
  EXPECT_EQ(TakeAll(backlog), (std::vector<std::string>{"3", "status:s", "dropped:8", "status:t"}));
  EXPECT_TRUE(backlog.PushMessage(Msg("12")));
  EXPECT_FALSE(backlog.PushMessage(Msg("13")));
  EXPECT_EQ(TakeAll(backlog), (std::vector<std::string>{"12", "13"}));
}

TEST(RecordBacklog, ByteCapCountsTopicAndPayloadButPassesOneOversizedMessage) {
  RecordBacklog backlog({100, 10});
  for (const char* p : {"1234", "5678", ""}) backlog.PushMessage(Msg(p));  // 5, 10, 11 in all
  EXPECT_EQ(TakeAll(backlog), (std::vector<std::string>{"1234", "5678", "dropped:1"}));
  backlog.PushMessage(Msg(std::string(50, 'x')));  // over the cap, but alone
  backlog.PushMessage(Msg("y"));
  EXPECT_EQ(TakeAll(backlog), (std::vector<std::string>{std::string(50, 'x'), "dropped:1"}));
  backlog.PushMessage(Msg("left"));  // freed with the backlog (LeakSanitizer)
}

// With waits released, QoS 1 messages pass the limits up to the ceiling (records or bytes, topic
// "t" included) and are lost past it, counted where their run began, apart from QoS 0 drops.
// Pushes: a payload and its QoS, or a status ("s:" and its text).
TEST(RecordBacklog, ReleasedQos1MessagesStopAtTheCeilingAndAreCountedLost) {
  using Pushes = std::vector<std::pair<std::string, int>>;
  const std::string big(20, 'x');
  const std::tuple<const char*, RecordBacklog::Limits, Pushes, std::vector<std::string>> cases[] = {
      {"records",
       {2, 1000, 4, 1000},
       {{"1", 1}, {"2", 1}, {"3", 1}, {"4", 1}, {"5", 1}, {"6", 1}},
       {"1", "2", "3", "4", "lost:2"}},
      {"bytes", {10, 4, 100, 8}, {{"aaa", 1}, {"bbb", 1}, {"c", 1}}, {"aaa", "bbb", "lost:1"}},
      {"one oversized into an empty backlog",
       {10, 4, 100, 8},
       {{big, 1}, {"y", 1}},
       {big, "lost:1"}},
      {"QoS 0 dropped at the limits, statuses behind the lost count",
       {2, 1000, 3, 1000},
       {{"1", 1}, {"2", 1}, {"q", 0}, {"3", 1}, {"4", 1}, {"s:a", -1}, {"5", 1}, {"r", 0}},
       {"1", "2", "dropped:1", "3", "lost:2", "status:a", "dropped:1"}}};
  for (const auto& [what, limits, pushes, expected] : cases) {
    SCOPED_TRACE(what);
    RecordBacklog backlog(limits);
    backlog.ReleaseWaits(true);
    for (const auto& [text, qos] : pushes) {
      if (qos < 0) {
        backlog.PushStatus(
            std::make_unique<MqttStatusEvent>(MqttStatusEvent{true, text.substr(2)}));
      } else {
        backlog.PushMessage(Msg(text, qos));
      }
    }
    EXPECT_EQ(TakeAll(backlog), expected);
  }
}

// Work handed over while QoS 1 pushes wait runs on the waiting thread, which goes on waiting for
// room; nothing takes work over while no message comes.
TEST(RecordBacklog, HandedWorkRunsOnTheWaitingPushThread) {
  using std::chrono::microseconds;
  RecordBacklog backlog({1, 1000});
  std::vector<std::thread::id> ranOn;
  const std::function<void()> work = [&] { ranOn.push_back(std::this_thread::get_id()); };
  EXPECT_FALSE(backlog.RunOnPushingThread(work, microseconds(0), microseconds(0)));
  backlog.PushMessage(Msg("1", 1));
  std::thread waiting([&] { backlog.PushMessage(Msg("2", 1)); });  // the backlog is full
  const auto handed = [&] {
    return backlog.RunOnPushingThread(work, microseconds(0), microseconds(20000));
  };
  EXPECT_TRUE(test::PollUntil(handed, std::chrono::seconds(20)));
  EXPECT_TRUE(handed());
  const std::thread::id waiter = waiting.get_id();
  std::optional<RecordBacklog::Entry> first = backlog.Take();  // makes room for "2"
  waiting.join();
  ASSERT_TRUE(first && std::holds_alternative<Message>(*first));
  EXPECT_EQ(std::get<Message>(*first)->payload, "1");
  EXPECT_EQ(TakeAll(backlog), std::vector<std::string>{"2"});
  EXPECT_EQ(ranOn, std::vector<std::thread::id>(2, waiter));
  EXPECT_EQ(backlog.PeakMessages(), 1u);
}

}  // namespace
}  // namespace qm
