// SPDX-License-Identifier: MIT
// The MQTT client against a real mosquitto on loopback.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <numeric>

#include "simulator/BacklogSink.h"
#include "simulator/MosquittoBroker.h"
#include "simulator/MqttClient.h"
#include "simulator/RecordingSink.h"

namespace qm::test {
namespace {

using Statuses = std::vector<Status>;
constexpr char kJobs[] = "printers/SN1/jobs", kReports[] = "printers/SN1/reports";

MqttConnectOptions OptionsFor(const std::string& uri, const std::string& sub = kJobs,
                              int clean = 1) {
  return {uri, "SN1-pc", "", "", sub, kReports, clean};
}
std::string ConnectingText(const std::string& uri, int clean = 1) {
  return "Connecting to " + uri + " (MQTT cleansession=" + std::to_string(clean) + ") ...";
}
std::size_t Occurrences(const std::string& text, const std::string& part, std::size_t at = 0) {
  return (at = text.find(part, at)) == std::string::npos ? 0 : 1 + Occurrences(text, part, at + 1);
}

// A shell line with mosquitto_pub sending the numbers first to last as one message each.
std::string PublishNumbersLine(const MosquittoBroker& broker, int first, int last,
                               const char* qos) {
  std::string line = "seq " + std::to_string(first) + " " + std::to_string(last) + " | exec";
  std::vector<std::string> args = broker.ClientArgs("mosquitto_pub");
  args.insert(args.end(), {"-q", qos, "-t", kJobs, "-l"});
  for (const std::string& arg : args) line += " " + arg;
  return line;
}
int PublishNumbers(const MosquittoBroker& broker, int first, int last, const char* qos) {
  return RunProgram({"sh", "-c", PublishNumbersLine(broker, first, last, qos)}, kDeadline);
}
// Takes entries as the client pushes them until count have come: a message's
// payload, or "dropped:" and the count (status records are left out).
std::vector<std::string> TakeCount(RecordBacklog& backlog, std::size_t count) {
  std::vector<std::string> taken;
  const auto takeAll = [&] {
    while (const std::optional<RecordBacklog::Entry> entry = backlog.Take()) {
      if (const auto* m = std::get_if<std::unique_ptr<MqttMessageEvent>>(&*entry)) {
        taken.push_back((*m)->payload);
      } else if (const auto* d = std::get_if<DroppedMessages>(&*entry)) {
        taken.push_back("dropped:" + std::to_string(d->count));
      }
    }
    return taken.size() >= count;
  };
  PollUntil(takeAll, kDeadline);
  return taken;
}

class MqttClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(broker.Start()) << broker.Log();
    client->SetNotifyWindow(&sink);
  }
  Statuses From(std::size_t from) const {
    const Statuses all = sink.Statuses();
    return {all.begin() + from, all.end()};
  }
  void ConnectAndSubscribe(const MqttConnectOptions& options) {
    const std::size_t from = sink.StatusCount();
    ASSERT_TRUE(client->Connect(options));
    ASSERT_GE(sink.WaitForStatus("Connected.", from), 0);
    ASSERT_GE(sink.WaitForStatus("Subscribed: " + options.subTopic, from), 0);
  }
  // Refused at once, posting nothing; with no session held a disconnect is silent too.
  void ExpectRefused(bool sessionHeld) {
    const std::size_t count = sink.StatusCount();
    EXPECT_FALSE(client->Subscribe(kJobs) || client->Publish(kJobs, "x"));
    if (!sessionHeld) client->Disconnect();
    EXPECT_EQ(sink.StatusCount(), count);
    EXPECT_FALSE(client->IsConnected());
  }
  // Posts from inside the teardown on this thread are faults, and from then on any post.
  void DestroyClient() {
    sink.Forbid(false, std::this_thread::get_id());
    client.reset();
    sink.Forbid(true);
    EXPECT_EQ(sink.Faults(), 0);
  }

  MosquittoBroker broker;
  RecordingSink sink;
  std::unique_ptr<MqttClient> client = std::make_unique<MqttClient>();
};

// Its own report topic; the broker sees MQTT 3.1.1, the clean-session flag given, keep-alive 60 s.
TEST_F(MqttClientTest, PublishIsAcknowledgedAndDeliveredByteForByte) {
  ConnectAndSubscribe(OptionsFor(broker.Uri(), kReports, 0));
  const std::string binary("\x00job\x00\xff\x01{\"a\":1}\x00", 14);
  ASSERT_TRUE(client->Publish(client->ReportTopic(), binary) && client->Publish(kReports, ""));
  ASSERT_TRUE(sink.WaitForMessages(2));
  const std::vector<MqttMessageEvent> got = sink.Messages();
  EXPECT_EQ(std::vector({got[0].topic, got[0].payload, got[1].topic, got[1].payload}),
            std::vector<std::string>({kReports, binary, kReports, ""}));
  ASSERT_GE(sink.WaitForStatus("Publish acknowledged.", 4), 4);
  EXPECT_FALSE(client->Subscribe("") || client->Publish("", "x"));  // refused, posting nothing
  EXPECT_EQ(sink.Statuses(), (Statuses{{false, ConnectingText(broker.Uri(), 0)},
                                       {true, "Connected."},
                                       {true, std::string("Subscribed: ") + kReports},
                                       {true, "Publish acknowledged."},
                                       {true, "Publish acknowledged."}}));
  EXPECT_NE(broker.Log().find(" as SN1-pc (p2, c0, k60)."), std::string::npos) << broker.Log();
}

// A refused connect is not retried at MQTT 3.1, which could take back a client id taken over.
TEST_F(MqttClientTest, CredentialsDecideTheConnect) {
  MosquittoBroker secured({"printer", "s3cret", {}});
  ASSERT_TRUE(secured.Start()) << secured.Log();
  MqttConnectOptions options{secured.Uri(), "SN1-pc", "printer", "wrong", kJobs, kReports};
  ASSERT_TRUE(client->Connect(options));
  EXPECT_EQ(sink.WaitForStatus("Connect failed: CONNACK return code"), 1);
  EXPECT_EQ(Occurrences(secured.Log(), "New connection from"), 1u) << secured.Log();
  options.password = "s3cret";
  ConnectAndSubscribe(options);
}

// A host that never answers: a 1 s time-out (looked at every 3 s), a disconnect, a teardown.
TEST_F(MqttClientTest, SilentHostTimesOutOrIsLeftWithoutStrayReports) {
  const std::string silent = "mqtt://127.0.0.1:" + std::to_string(LoopbackPort(true));
  client = std::make_unique<MqttClient>(std::chrono::seconds(1));
  client->SetNotifyWindow(&sink);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(client->Connect(OptionsFor(silent)));
  ExpectRefused(true);
  ASSERT_EQ(sink.WaitForStatus("Connect failed", 0, kDeadline, true), 1);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(sink.Statuses()[1], (Status{false, "Connect failed: TCP connect timeout"}));
  EXPECT_TRUE(elapsed >= std::chrono::seconds(1) && elapsed < std::chrono::seconds(8));
  ExpectRefused(false);
  ASSERT_TRUE(client->Connect(OptionsFor(silent)));
  client->Disconnect();
  // A connect the library has not taken up yet may be reported failed first.
  Statuses statuses = From(2);
  std::erase(statuses, Status{false, "Connect failed"});
  EXPECT_EQ(statuses, (Statuses{{false, ConnectingText(silent)}, {false, "Disconnected."}}));
  ExpectRefused(false);
  const std::size_t before = sink.StatusCount();
  ASSERT_TRUE(client->Connect(OptionsFor(silent)));
  DestroyClient();
  EXPECT_EQ(From(before), (Statuses{{false, ConnectingText(silent)}}));
}

// Refused, failed, replaced (silently) and ended; TLS refusal: tests/ui/SimTrafficTest.cpp.
TEST_F(MqttClientTest, RefusedFailedReplacedAndDisconnectedSessions) {
  const std::string uri = "mqtt://127.0.0.1:" + std::to_string(LoopbackPort());
  EXPECT_FALSE(client->Connect(OptionsFor("")));
  EXPECT_FALSE(client->Connect({uri, "", "", "", kJobs, kReports}));
  ExpectRefused(false);
  ASSERT_TRUE(client->Connect(OptionsFor(uri)));
  ASSERT_EQ(sink.WaitForStatus("Connect failed", 0, kDeadline, true), 3);
  EXPECT_EQ(sink.Statuses(), (Statuses{{false, "Server URI or Client ID is empty."},
                                       {false, "Server URI or Client ID is empty."},
                                       {false, ConnectingText(uri)},
                                       {false, "Connect failed: TCP/TLS connect failure"}}));
  ExpectRefused(false);  // the finished handle counts as none
  ConnectAndSubscribe(OptionsFor(broker.Uri()));
  // Replaced; the subscription refused at once (not UTF-8) comes before "Connected.".
  ASSERT_TRUE(client->Connect(OptionsFor(broker.Uri(), "bad\xff")));
  ASSERT_EQ(sink.WaitForStatus("Connected.", 7), 9);
  EXPECT_EQ(From(7), (Statuses{{false, ConnectingText(broker.Uri())},
                               {false, "Subscribe failed: bad\xff"},
                               {true, "Connected."}}));
  EXPECT_TRUE(client->IsConnected());
  client->Disconnect();
  ASSERT_EQ(sink.WaitForStatus("Disconnected.", 10), 10);
  ExpectRefused(false);
}

// Beyond a backlog of four, messages at QoS 1 wait for room, all of them, in
// order; at QoS 0 they are dropped and counted.
TEST_F(MqttClientTest, SmallBacklogKeepsQos1MessagesAndDropsQos0Ones) {
  ConnectAndSubscribe(OptionsFor(broker.Uri()));
  BacklogSink bounded({4, 1 << 20});
  client->SetNotifyWindow(&bounded);
  ASSERT_EQ(PublishNumbers(broker, 1, 30, "1"), 0);
  const std::vector<std::string> kept = TakeCount(bounded.Backlog(), 30);
  ASSERT_EQ(PublishNumbers(broker, 31, 50, "0") + PublishNumbers(broker, 51, 51, "1"), 0);
  const std::vector<std::string> mixed = TakeCount(bounded.Backlog(), 6);
  client->SetNotifyWindow(&sink);
  std::vector<std::string> thirty;
  for (int i = 1; i <= 30; ++i) thirty.push_back(std::to_string(i));
  EXPECT_EQ(kept, thirty);
  EXPECT_EQ(mixed, (std::vector<std::string>{"31", "32", "33", "34", "dropped:16", "51"}));
}

// A QoS 1 flood on a backlog of 4 records and a ceiling of 8, with an acknowledgement published for
// every message taken, as the window does: never more than 8 messages held, and every message
// taken, in order, or counted lost (the publishes leave the limits closed: nothing is lost).
TEST_F(MqttClientTest, Qos1FloodWithAPublishPerMessageTakenStaysWithinTheCeiling) {
  constexpr int kFlood = 2000;
  MosquittoBroker keeping({"", "", {"max_queued_messages 0"}});  // keeps the whole flood
  ASSERT_TRUE(keeping.Start()) << keeping.Log();
  ConnectAndSubscribe(OptionsFor(keeping.Uri()));
  BacklogSink bounded({4, 1 << 20, 8, 1 << 20});
  client->SetNotifyWindow(&bounded);
  const pid_t flood = SpawnProgram({"sh", "-c", PublishNumbersLine(keeping, 1, kFlood, "1")});
  std::vector<int> taken;
  std::uint64_t lost = 0;
  const auto takeAndAcknowledge = [&] {
    while (const std::optional<RecordBacklog::Entry> entry = bounded.Backlog().Take()) {
      if (const auto* m = std::get_if<std::unique_ptr<MqttMessageEvent>>(&*entry)) {
        taken.push_back(std::stoi((*m)->payload));
        EXPECT_TRUE(client->Publish(kReports, "ack " + (*m)->payload));
      } else if (const auto* d = std::get_if<DroppedMessages>(&*entry)) {
        lost += d->kept ? d->count : 0;
      }
    }
    return taken.size() + lost >= kFlood;
  };
  EXPECT_TRUE(PollUntil(takeAndAcknowledge, kDeadline));
  client->SetNotifyWindow(&sink);
  EXPECT_EQ(WaitProgram(flood, kDeadline), 0);
  EXPECT_LE(bounded.Backlog().PeakMessages(), 8u);
  EXPECT_EQ(lost, 0u);
  std::vector<int> all(kFlood);
  std::iota(all.begin(), all.end(), 1);
  EXPECT_EQ(taken, all);
}

// Each case with a live broker waits until the broker has logged the end of its session. No
// operation waits for a message that waits for room.
TEST_F(MqttClientTest, TeardownWithCallbacksPendingLetsNoneRunAfterwards) {
  pid_t flood = -1;
  BacklogSink bounded({1, 1 << 20});  // a QoS 1 message waits there, holding the library's lock
  // clang-format off
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"connected", [] {}}, {"disconnect pending", [this] { client->Disconnect(); }},
      {"QoS 1 publishes in flight",
       [this] { for (int i = 0; i < 3000; ++i) ASSERT_TRUE(client->Publish(kReports, "j")); }},
      {"messages flooding in", [&] { flood = SpawnProgram(broker.PubArgs(kJobs, "flood", 1000000));
                                     ASSERT_TRUE(sink.WaitForMessages(200)); }},
      {"a QoS 1 message waiting", [&] { client->SetNotifyWindow(&bounded);
         ASSERT_GE(TakeCount(bounded.Backlog(), 2).size(), 2u);  // the next one waits
         EXPECT_TRUE(client->Publish(kReports, "a") && client->Subscribe(kReports));
         client->Disconnect(); }},
      {"connection lost",
       [this] { broker.Kill(); ASSERT_GE(sink.WaitForStatus("Connection lost"), 0); }}};
  // clang-format on
  std::size_t ends = 0;
  for (const auto& [what, setup] : cases) {
    SCOPED_TRACE(what);
    client = std::make_unique<MqttClient>();
    sink.Forbid(false);
    client->SetNotifyWindow(&sink);
    ConnectAndSubscribe(OptionsFor(broker.Uri()));
    setup();
    DestroyClient();
    if (++ends == std::size(cases)) break;  // no broker left to log it
    const auto logged = [&] { return Occurrences(broker.Log(), "Client SN1-pc ") >= ends; };
    EXPECT_TRUE(PollUntil(logged, kDeadline)) << broker.Log();
  }
  StopProgram(flood, SIGKILL);
  EXPECT_EQ(sink.Faults(), 0);
  const std::string log = broker.Log();  // the first session's end is an MQTT disconnect
  EXPECT_EQ(log.find("Client SN1-pc "), log.find("Client SN1-pc disconnected.")) << log;
}

}  // namespace
}  // namespace qm::test
