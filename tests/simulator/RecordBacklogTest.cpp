// SPDX-License-Identifier: MIT
#include "simulator/RecordBacklog.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

using Message = std::unique_ptr<MqttMessageEvent>;
using Status = std::unique_ptr<MqttStatusEvent>;

Message Msg(std::string payload) { return std::make_unique<MqttMessageEvent>("t", payload); }

// Each entry as text: a message's payload, "status:" and its text, or "dropped:" and the count.
std::vector<std::string> TakeAll(RecordBacklog& backlog) {
  std::vector<std::string> out;
  while (auto entry = backlog.Take()) {
    if (auto* m = std::get_if<Message>(&*entry)) out.push_back((*m)->payload);
    if (auto* s = std::get_if<Status>(&*entry)) out.push_back("status:" + (*s)->text);
    if (auto* d = std::get_if<DroppedMessages>(&*entry))
      out.push_back("dropped:" + std::to_string(d->count));
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

}  // namespace
}  // namespace qm
