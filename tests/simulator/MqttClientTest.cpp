// SPDX-License-Identifier: MIT
// The MQTT client against a real mosquitto on loopback.
#include <gtest/gtest.h>

#include <signal.h>

#include <functional>
#include <memory>
#include <thread>

#include "simulator/MosquittoBroker.h"
#include "simulator/MqttClient.h"
#include "simulator/RecordingSink.h"

namespace qm::test {
namespace {

using Statuses = std::vector<Status>;

constexpr char kJobTopic[] = "printers/SN1/jobs";
constexpr char kReportTopic[] = "printers/SN1/reports";

MqttConnectOptions OptionsFor(const std::string& uri, const std::string& clientId = "SN1-pc",
                              const std::string& subTopic = kJobTopic) {
  return {uri, clientId, "", "", subTopic, kReportTopic};
}

std::string ConnectingText(const std::string& uri, int cleansession = 1) {
  return "Connecting to " + uri + " (MQTT cleansession=" + std::to_string(cleansession) + ") ...";
}

Statuses From(const Statuses& all, std::size_t from) { return {all.begin() + from, all.end()}; }

class MqttClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(broker.Start()) << broker.Log();
    client->SetNotifyWindow(&sink);
  }

  void ConnectAndSubscribe(MqttClient& c, RecordingSink& s, const MqttConnectOptions& options) {
    const std::size_t from = s.StatusCount();
    ASSERT_TRUE(c.Connect(options));
    ASSERT_GE(s.WaitForStatus("Connected.", from), 0);
    ASSERT_GE(s.WaitForStatus(std::string("Subscribed: ") + options.subTopic, from), 0);
  }
  void ConnectAndSubscribe() { ConnectAndSubscribe(*client, sink, OptionsFor(broker.Uri())); }

  // Refused at once, posting nothing; with no session held a disconnect is silent too.
  void ExpectRefused(bool sessionHeld) {
    const std::size_t count = sink.StatusCount();
    EXPECT_FALSE(client->Subscribe(kJobTopic));
    EXPECT_FALSE(client->Publish(kJobTopic, "x"));
    if (!sessionHeld) client->Disconnect();
    EXPECT_EQ(sink.StatusCount(), count);
    EXPECT_FALSE(client->IsConnected());
  }

  // Posts from inside the teardown (on this thread) or after it are faults.
  void DestroyClientAndWatch() {
    sink.Forbid(false, std::this_thread::get_id());
    client.reset();
    sink.Forbid(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(sink.Faults(), 0);
  }

  MosquittoBroker broker;
  RecordingSink sink;
  std::unique_ptr<MqttClient> client = std::make_unique<MqttClient>();
};

TEST_F(MqttClientTest, PublishIsAcknowledgedAndDeliveredByteForByte) {
  RecordingSink peerSink;
  MqttClient peer;
  peer.SetNotifyWindow(&peerSink);
  ConnectAndSubscribe(peer, peerSink, OptionsFor(broker.Uri(), "SN1", kReportTopic));
  MqttConnectOptions options = OptionsFor(broker.Uri());
  options.cleansession = 0;
  ConnectAndSubscribe(*client, sink, options);
  const std::string binary("\x00job\x00\xff\x01{\"a\":1}\x00", 14);
  ASSERT_TRUE(client->Publish(client->ReportTopic(), binary));
  ASSERT_TRUE(client->Publish(client->ReportTopic(), ""));
  const int first = sink.WaitForStatus("Publish acknowledged.", 3);
  ASSERT_GE(sink.WaitForStatus("Publish acknowledged.", first + 1), 4);
  EXPECT_TRUE(sink.Statuses()[first].connected);
  ASSERT_TRUE(peerSink.WaitForMessages(2));
  const std::vector<MqttMessageEvent> got = peerSink.Messages();
  EXPECT_EQ(std::vector({got[0].topic, got[0].payload, got[1].topic, got[1].payload}),
            std::vector<std::string>({kReportTopic, binary, kReportTopic, ""}));
  EXPECT_FALSE(client->Subscribe(""));
  EXPECT_FALSE(client->Publish("", "x"));
  EXPECT_EQ(sink.StatusCount(), 5u);
}

// The connecting status is held up; the subscription refused at once (not UTF-8) comes first.
TEST_F(MqttClientTest, ConnectedNeverOvertakesTheConnectingStatus) {
  sink.DelayStatus("Connecting to", std::chrono::milliseconds(700));
  ASSERT_TRUE(client->Connect(OptionsFor(broker.Uri(), "SN1-pc", "bad\xff")));
  ASSERT_GE(sink.WaitForStatus("Connected."), 0);
  EXPECT_EQ(sink.Statuses(), (Statuses{{false, ConnectingText(broker.Uri())},
                                       {false, "Subscribe failed: bad\xff"},
                                       {true, "Connected."}}));
  EXPECT_TRUE(client->Publish(kJobTopic, "after"));
}

TEST_F(MqttClientTest, CredentialsDecideTheConnect) {
  MosquittoBroker secured({"printer", "s3cret", {}});
  ASSERT_TRUE(secured.Start()) << secured.Log();
  MqttConnectOptions options{secured.Uri(), "SN1-pc", "printer", "wrong", kJobTopic, kReportTopic};
  ASSERT_TRUE(client->Connect(options));
  EXPECT_EQ(sink.WaitForStatus("Connect failed: CONNACK return code", 0, kDeadline, true), 1);
  options.password = "s3cret";
  ConnectAndSubscribe(*client, sink, options);
  EXPECT_EQ(sink.Statuses()[3], (Status{true, "Connected."}));
}

// A host that accepts TCP but never answers: a 1 s time-out, a disconnect, a teardown.
TEST_F(MqttClientTest, SilentHostTimesOutOrIsLeftWithoutStrayReports) {
  const std::string silent = "mqtt://127.0.0.1:" + std::to_string(SilentPort());
  client = std::make_unique<MqttClient>(std::chrono::seconds(1));
  client->SetNotifyWindow(&sink);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(client->Connect(OptionsFor(silent)));
  ExpectRefused(true);
  ASSERT_EQ(sink.WaitForStatus("Connect failed", 0, kDeadline, true), 1);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(sink.Statuses()[1], (Status{false, "Connect failed: TCP connect timeout"}));
  EXPECT_GE(elapsed, std::chrono::milliseconds(900));
  EXPECT_LT(elapsed, std::chrono::seconds(8));
  ExpectRefused(false);
  ASSERT_TRUE(client->Connect(OptionsFor(silent)));
  client->Disconnect();
  // A connect the library has not taken up yet may be reported failed first.
  Statuses statuses = From(sink.Statuses(), 2);
  std::erase(statuses, Status{false, "Connect failed"});
  EXPECT_EQ(statuses, (Statuses{{false, ConnectingText(silent)}, {false, "Disconnected."}}));
  ExpectRefused(false);
  const std::size_t before = sink.StatusCount();
  ASSERT_TRUE(client->Connect(OptionsFor(silent)));
  DestroyClientAndWatch();
  EXPECT_EQ(From(sink.Statuses(), before), (Statuses{{false, ConnectingText(silent)}}));
}

// Refused, failed, replaced (silently) and ended; TLS refusal: tests/ui/SimTrafficTest.cpp.
TEST_F(MqttClientTest, RefusedFailedReplacedAndDisconnectedSessions) {
  const std::string uri = "mqtt://127.0.0.1:" + std::to_string(FreeLoopbackPort());
  EXPECT_FALSE(client->Connect(OptionsFor("")));
  EXPECT_FALSE(client->Connect(OptionsFor(uri, "")));
  ExpectRefused(false);
  ASSERT_TRUE(client->Connect(OptionsFor(uri)));
  ASSERT_EQ(sink.WaitForStatus("Connect failed", 0, kDeadline, true), 3);
  EXPECT_EQ(sink.Statuses(), (Statuses{{false, "Server URI or Client ID is empty."},
                                       {false, "Server URI or Client ID is empty."},
                                       {false, ConnectingText(uri)},
                                       {false, "Connect failed: TCP/TLS connect failure"}}));
  ExpectRefused(false);  // the finished handle counts as none
  ConnectAndSubscribe();
  ConnectAndSubscribe();
  ASSERT_EQ(sink.StatusCount(), 10u);
  client->Disconnect();
  ASSERT_EQ(sink.WaitForStatus("Disconnected.", 10), 10);
  ExpectRefused(false);
}

TEST_F(MqttClientTest, RequestsKeptForAResumedSessionFailWhenTheNextConnectStarts) {
  MqttConnectOptions options = OptionsFor(broker.Uri());
  options.cleansession = 0;
  ConnectAndSubscribe(*client, sink, options);
  for (int i = 0; i < 2000; ++i) ASSERT_TRUE(client->Publish(kReportTopic, std::to_string(i)));
  broker.Kill();
  const int lost = sink.WaitForStatus("Connection lost");
  ASSERT_GE(lost, 0);
  ExpectRefused(true);
  ASSERT_TRUE(broker.Start(broker.port())) << broker.Log();
  ASSERT_TRUE(client->Connect(options));
  // The held handle's unanswered publishes fail before the new connect is announced.
  const int connecting = sink.WaitForStatus(ConnectingText(broker.Uri(), 0), lost);
  const int failed = sink.WaitForStatus("Publish failed", lost);
  ASSERT_GE(failed, 0);
  EXPECT_LT(failed, connecting);
  EXPECT_FALSE(sink.Statuses()[failed].connected);
  ASSERT_GE(sink.WaitForStatus("Connected.", connecting), 0);
}

// A reconnect by the library (MQTT 3.1: "p1" in the log) would retake the id and lose it again.
TEST_F(MqttClientTest, LostConnectionWithTheSameClientIdIsReportedOnceAndNotRetaken) {
  ConnectAndSubscribe();
  std::vector<std::string> args = broker.ClientArgs("mosquitto_sub");
  args.insert(args.end(), {"-i", "SN1-pc", "-t", "other/#"});
  const pid_t intruder = SpawnProgram(args);
  ASSERT_GE(sink.WaitForStatus("Connection lost", 3), 0);
  std::this_thread::sleep_for(std::chrono::seconds(2));
  StopProgram(intruder, SIGTERM);
  EXPECT_EQ(broker.Log().find("as SN1-pc (p1"), std::string::npos) << broker.Log();
  EXPECT_EQ(From(sink.Statuses(), 3), (Statuses{{false, "Connection lost"}}));
}

// Connected, the teardown sends an MQTT disconnect rather than dropping the socket.
TEST_F(MqttClientTest, TeardownWithCallbacksPendingLetsNoneRunAfterwards) {
  pid_t flood = -1;
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"connected", [] {}},
      {"disconnect pending", [this] { client->Disconnect(); }},
      {"QoS 1 publishes in flight",
       [this] {
         for (int i = 0; i < 3000; ++i) ASSERT_TRUE(client->Publish(kReportTopic, "j"));
       }},
      {"messages flooding in",
       [&] {
         flood = SpawnProgram(broker.PubArgs(kJobTopic, "flood", 1000000));
         ASSERT_TRUE(sink.WaitForMessages(200));
       }},
      {"connection lost",
       [this] {
         broker.Kill();
         ASSERT_GE(sink.WaitForStatus("Connection lost"), 0);
       }},
  };
  for (const auto& [what, setup] : cases) {
    SCOPED_TRACE(what);
    client = std::make_unique<MqttClient>();
    sink.Forbid(false);
    client->SetNotifyWindow(&sink);
    ASSERT_TRUE(broker.Start(broker.port())) << broker.Log();
    ConnectAndSubscribe();
    setup();
    DestroyClientAndWatch();
    if (std::string(what) == "connected") {
      broker.Stop();  // its log is then complete
      EXPECT_NE(broker.Log().find("Client SN1-pc disconnected."), std::string::npos);
      EXPECT_EQ(broker.Log().find("Client SN1-pc closed its connection."), std::string::npos);
    }
  }
  StopProgram(flood, SIGKILL);
}

}  // namespace
}  // namespace qm::test
