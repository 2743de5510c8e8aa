// SPDX-License-Identifier: MIT
// Shared set-up of the MQTT client tests: a broker, a recording sink, a client.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "simulator/MosquittoBroker.h"
#include "simulator/MqttClient.h"
#include "simulator/RecordingSink.h"

namespace qm::test {

inline constexpr char kJobTopic[] = "printers/SN1/jobs";
inline constexpr char kReportTopic[] = "printers/SN1/reports";

inline MqttConnectOptions OptionsFor(const std::string& uri, const std::string& clientId = "SN1-pc") {
  MqttConnectOptions options;
  options.serverUri = uri;
  options.clientId = clientId;
  options.subTopic = kJobTopic;
  options.pubTopic = kReportTopic;
  return options;
}

inline std::string ConnectingText(const std::string& uri, int cleansession = 1) {
  return "Connecting to " + uri + " (MQTT cleansession=" + std::to_string(cleansession) + ") ...";
}

class MqttClientFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(broker.Start()) << broker.Log();
    client->SetNotifyWindow(&sink);
  }

  // Connects and waits until the automatic subscription is acknowledged.
  void ConnectAndSubscribe(MqttClient& c, RecordingSink& s, const MqttConnectOptions& options) {
    const std::size_t from = s.StatusCount();
    ASSERT_TRUE(c.Connect(options));
    ASSERT_GE(s.WaitForStatus("Connected.", from), 0);
    ASSERT_GE(s.WaitForStatus(std::string("Subscribed: ") + options.subTopic, from), 0);
  }
  void ConnectAndSubscribe() { ConnectAndSubscribe(*client, sink, OptionsFor(broker.Uri())); }

  // Publishes with mosquitto_pub, as an outside client would.
  void PublishFromOutside(const std::string& topic, std::vector<std::string> payloadArgs) {
    std::vector<std::string> args = broker.ClientArgs("mosquitto_pub");
    args.insert(args.end(), {"-q", "1", "-t", topic});
    args.insert(args.end(), payloadArgs.begin(), payloadArgs.end());
    ASSERT_EQ(RunProgram(args, kDeadline), 0);
  }

  // Floods the job topic from outside until stopped; its pid.
  pid_t StartFlood() {
    std::vector<std::string> args = broker.ClientArgs("mosquitto_pub");
    args.insert(args.end(), {"-q", "1", "-t", kJobTopic, "-m", "flood", "--repeat", "1000000"});
    return SpawnProgram(args);
  }

  // Subscribe and publish are refused at once and post nothing.
  void ExpectRequestsRefused() {
    const std::size_t count = sink.StatusCount();
    EXPECT_FALSE(client->Subscribe(kJobTopic));
    EXPECT_FALSE(client->Publish(kJobTopic, "x"));
    EXPECT_EQ(sink.StatusCount(), count);
  }

  // Without a session, requests are refused and a disconnect says nothing.
  void ExpectNoSession() {
    ExpectRequestsRefused();
    const std::size_t count = sink.StatusCount();
    client->Disconnect();
    EXPECT_EQ(sink.StatusCount(), count);
    EXPECT_FALSE(client->IsConnected());
  }

  static bool Eventually(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
  }

  MosquittoBroker broker;
  RecordingSink sink;
  std::unique_ptr<MqttClient> client = std::make_unique<MqttClient>();
};

}  // namespace qm::test
