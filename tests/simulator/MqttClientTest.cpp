// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <signal.h>

#include <thread>

#include "simulator/MqttClientFixture.h"

namespace qm::test {
namespace {

using Statuses = std::vector<Status>;

// After an outcome that must stay the last word, nothing more may arrive;
// absence can only be watched for a while.
constexpr std::chrono::milliseconds kSettle{2000};

std::string Binary() { return std::string("\x00job\x00\xff\x01{\"a\":1}\x00", 14); }

class MqttClientTest : public MqttClientFixture {};

TEST_F(MqttClientTest, RefusalsAreReportedAtOnceWithTheirTexts) {
  SelfHostedConfig tls;
  tls.domain = u"127.0.0.1";
  tls.clientId = u"SN1";
  tls.tls = 1;
  SelfHostedConfig port8883 = tls;
  port8883.tls = 0;
  port8883.port = 8883;
  struct Case {
    MqttConnectOptions options;
    std::string text;
  };
  const Case cases[] = {
      {OptionsFor("", "SN1-pc"), "Server URI or Client ID is empty."},
      {OptionsFor(broker.Uri(), ""), "Server URI or Client ID is empty."},
      {MqttConnectOptions::FromForm(tls), "MQTTAsync_create failed: -14"},
      {MqttConnectOptions::FromForm(port8883), "MQTTAsync_create failed: -14"},
  };
  for (const Case& c : cases) {
    const std::size_t from = sink.StatusCount();
    EXPECT_FALSE(client->Connect(c.options)) << c.text;
    const Statuses statuses = sink.Statuses();
    ASSERT_EQ(statuses.size(), from + 1);
    EXPECT_EQ(statuses.back(), (Status{false, c.text}));
    ExpectNoSession();
  }
}

// Both clients are ours: what one publishes arrives at the other with the
// exact bytes, which covers both the sending and the receiving side.
TEST_F(MqttClientTest, PublishIsAcknowledgedAndDeliveredByteForByte) {
  RecordingSink peerSink;
  MqttClient peer;
  peer.SetNotifyWindow(&peerSink);
  MqttConnectOptions peerOptions = OptionsFor(broker.Uri(), "SN1");
  peerOptions.subTopic = kReportTopic;
  ConnectAndSubscribe(peer, peerSink, peerOptions);
  MqttConnectOptions options = OptionsFor(broker.Uri());
  options.cleansession = 0;
  ConnectAndSubscribe(*client, sink, options);
  const Statuses expected = {{false, ConnectingText(broker.Uri(), 0)},
                             {true, "Connected."},
                             {true, std::string("Subscribed: ") + kJobTopic}};
  EXPECT_EQ(sink.Statuses(), expected);
  EXPECT_EQ(client->ReportTopic(), kReportTopic);

  const std::size_t from = sink.StatusCount();
  ASSERT_TRUE(client->Publish(client->ReportTopic(), Binary()));
  ASSERT_TRUE(client->Publish(client->ReportTopic(), ""));
  const int first = sink.WaitForStatus("Publish acknowledged.", from);
  ASSERT_GE(first, 0);
  ASSERT_GE(sink.WaitForStatus("Publish acknowledged.", first + 1), 0);
  EXPECT_TRUE(sink.Statuses()[first].connected);

  ASSERT_TRUE(peerSink.WaitForMessages(2));
  const std::vector<MqttMessageEvent> got = peerSink.Messages();
  EXPECT_EQ(got[0].topic, kReportTopic);
  EXPECT_EQ(got[0].payload, Binary());
  EXPECT_EQ(got[1].topic, kReportTopic);
  EXPECT_EQ(got[1].payload, "");
  // Refusals on a connection: empty topics at once, a topic that is not
  // UTF-8 by the library.
  const std::size_t before = sink.StatusCount();
  EXPECT_FALSE(client->Subscribe(""));
  EXPECT_FALSE(client->Publish("", "x"));
  EXPECT_FALSE(client->Publish("bad\xff", "x"));
  EXPECT_TRUE(client->Subscribe("bad\xff"));
  EXPECT_EQ(sink.Statuses().back(), (Status{true, "Subscribe failed: bad\xff"}));
  EXPECT_EQ(sink.StatusCount(), before + 1);
}

TEST_F(MqttClientTest, AutomaticSubscriptionRefusedAtOnceIsReportedBeforeConnected) {
  MqttConnectOptions options = OptionsFor(broker.Uri());
  options.subTopic = "bad\xff";
  ASSERT_TRUE(client->Connect(options));
  ASSERT_GE(sink.WaitForStatus("Connected."), 0);
  const Statuses expected = {{false, ConnectingText(broker.Uri())},
                             {false, "Subscribe failed: bad\xff"},
                             {true, "Connected."}};
  EXPECT_EQ(sink.Statuses(), expected);
}

TEST_F(MqttClientTest, ConnectedNeverOvertakesTheConnectingStatus) {
  // The connecting status is held up in the sink while the broker answers.
  sink.DelayStatus("Connecting to", std::chrono::milliseconds(700));
  ConnectAndSubscribe();
  const Statuses statuses = sink.Statuses();
  ASSERT_EQ(statuses.size(), 3u);
  EXPECT_EQ(statuses[0].text, ConnectingText(broker.Uri()));
  EXPECT_EQ(statuses[1], (Status{true, "Connected."}));
  EXPECT_TRUE(client->IsConnected());
  EXPECT_TRUE(client->Publish(kJobTopic, "after"));
}

TEST_F(MqttClientTest, UnreachablePortFailsAndLeavesNoHandle) {
  const std::string uri = "mqtt://127.0.0.1:" + std::to_string(FreeLoopbackPort());
  ASSERT_TRUE(client->Connect(OptionsFor(uri)));
  const int failed = sink.WaitForStatusPrefix("Connect failed");
  ASSERT_GE(failed, 0);
  const Statuses expected = {{false, ConnectingText(uri)},
                             {false, "Connect failed: TCP/TLS connect failure"}};
  EXPECT_EQ(sink.Statuses(), expected);
  ExpectNoSession();  // the finished handle counts as none
  ConnectAndSubscribe();
}

TEST(MqttClientPasswordTest, CredentialsDecideTheConnect) {
  MosquittoBroker broker({"printer", "s3cret", {}});
  ASSERT_TRUE(broker.Start()) << broker.Log();
  RecordingSink sink;
  MqttClient client;
  client.SetNotifyWindow(&sink);
  struct Case {
    std::string user, password, outcome;
  };
  const Case cases[] = {
      {"printer", "wrong", "Connect failed: CONNACK return code"},
      // A password without a user name goes to the broker as it is; the
      // broker drops such a connect.
      {"", "s3cret", "Connect failed"},
      {"printer", "s3cret", "Connected."},
  };
  for (const Case& c : cases) {
    MqttConnectOptions options = OptionsFor(broker.Uri());
    options.username = c.user;
    options.password = c.password;
    const std::size_t from = sink.StatusCount();
    ASSERT_TRUE(client.Connect(options));
    const int at = sink.WaitForStatusPrefix(c.outcome, from + 1);
    ASSERT_GE(at, 0) << c.user << "/" << c.password;
    EXPECT_EQ(at, static_cast<int>(from + 1));
    EXPECT_EQ(sink.Statuses()[at].connected, c.outcome == "Connected.");
  }
}

TEST_F(MqttClientTest, WhileConnectingNothingIsSentAndDisconnectEndsIt) {
  SilentListener silent;
  ASSERT_TRUE(client->Connect(OptionsFor(silent.Uri())));
  ExpectRequestsRefused();
  EXPECT_EQ(sink.StatusCount(), 1u);
  client->Disconnect();
  // A connect request the library has not yet taken up is reported failed
  // by the destroy call, before the client reports the disconnect.
  Statuses statuses = sink.Statuses();
  if (statuses.size() == 3) {
    EXPECT_EQ(statuses[1], (Status{false, "Connect failed"}));
    statuses.erase(statuses.begin() + 1);
  }
  const Statuses expected = {{false, ConnectingText(silent.Uri())}, {false, "Disconnected."}};
  EXPECT_EQ(statuses, expected);
  ExpectNoSession();
}

TEST_F(MqttClientTest, ConnectWhileConnectedReplacesTheSessionAndDisconnectEndsIt) {
  ConnectAndSubscribe();
  std::size_t from = sink.StatusCount();
  ConnectAndSubscribe();
  // No disconnect is reported for the replaced session.
  const Statuses statuses = sink.Statuses();
  ASSERT_EQ(statuses.size(), from + 3);
  EXPECT_EQ(statuses[from].text, ConnectingText(broker.Uri()));
  PublishFromOutside(kJobTopic, {"-m", "once"});
  ASSERT_TRUE(sink.WaitForMessages(1));

  from = sink.StatusCount();
  client->Disconnect();
  const int at = sink.WaitForStatus("Disconnected.", from);
  ASSERT_EQ(at, static_cast<int>(from));
  EXPECT_FALSE(sink.Statuses()[at].connected);
  ExpectNoSession();
  EXPECT_EQ(sink.StatusCount(), from + 1);
  ConnectAndSubscribe();
}

TEST_F(MqttClientTest, RequestsKeptForAResumedSessionFailWhenTheNextConnectStarts) {
  MqttConnectOptions options = OptionsFor(broker.Uri());
  options.cleansession = 0;
  ConnectAndSubscribe(*client, sink, options);
  for (int i = 0; i < 2000; ++i) {
    ASSERT_TRUE(client->Publish(kReportTopic, "job " + std::to_string(i)));
  }
  broker.Kill();
  const int lost = sink.WaitForStatus("Connection lost");
  ASSERT_GE(lost, 0);
  EXPECT_FALSE(sink.Statuses()[lost].connected);
  ExpectRequestsRefused();
  ASSERT_TRUE(broker.Start(broker.port())) << broker.Log();
  ASSERT_TRUE(client->Connect(options));
  // The held handle goes first; its unanswered publishes are reported failed
  // on this thread, before the new connect is announced.
  const int connecting = sink.WaitForStatus(ConnectingText(broker.Uri(), 0), lost);
  const int failed = sink.WaitForStatus("Publish failed", lost);
  ASSERT_GE(failed, 0);
  EXPECT_LT(failed, connecting);
  EXPECT_FALSE(sink.Statuses()[failed].connected);
  ASSERT_GE(sink.WaitForStatus("Connected.", connecting), 0);
}

TEST_F(MqttClientTest, LostConnectionWithTheSameClientIdIsReportedOnceAndNotRetaken) {
  ConnectAndSubscribe();
  const std::size_t from = sink.StatusCount();
  std::vector<std::string> args = broker.ClientArgs("mosquitto_sub");
  args.insert(args.end(), {"-i", "SN1-pc", "-t", "other/#"});
  const pid_t intruder = SpawnProgram(args);
  ASSERT_GT(intruder, 0);
  ASSERT_GE(sink.WaitForStatus("Connection lost", from), 0);
  // Had the library reconnected by itself (it would do so at once, with MQTT
  // 3.1: "p1" in the broker's log), the two would take the id from each other
  // and the loss would be reported again.
  std::this_thread::sleep_for(kSettle);
  StopProgram(intruder, SIGTERM);
  EXPECT_EQ(broker.Log().find("as SN1-pc (p1"), std::string::npos) << broker.Log();
  const Statuses statuses = sink.Statuses();
  ASSERT_EQ(statuses.size(), from + 1);
  EXPECT_EQ(statuses.back(), (Status{false, "Connection lost"}));
}

}  // namespace
}  // namespace qm::test
