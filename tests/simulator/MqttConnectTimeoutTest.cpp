// SPDX-License-Identifier: MIT
// The connect time-out against a host that accepts TCP but never answers.
// Its own executable: it takes half a minute, which CTest runs beside the rest.
#include <gtest/gtest.h>

#include "simulator/MqttClient.h"
#include "simulator/RecordingSink.h"
#include "simulator/TestProcesses.h"

namespace qm::test {
namespace {

// The library's connect time-out (30 s), checked by it every 3 s.
constexpr std::chrono::seconds kConnectTimeout{30};
constexpr std::chrono::seconds kWaitAtMost{90};

TEST(MqttConnectTimeoutTest, SilentBrokerEndsInConnectFailedAfterThirtySeconds) {
  SilentListener silent;
  RecordingSink sink;
  MqttClient client;
  client.SetNotifyWindow(&sink);
  MqttConnectOptions options;
  options.serverUri = silent.Uri();
  options.clientId = "SN1-pc";
  options.subTopic = "printers/SN1/jobs";
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.Connect(options));
  const int failed = sink.WaitForStatusPrefix("Connect failed", 0, kWaitAtMost);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(failed, 1);
  EXPECT_EQ(sink.Statuses()[1], (Status{false, "Connect failed: TCP connect timeout"}));
  EXPECT_GE(elapsed, kConnectTimeout - std::chrono::milliseconds(100));
  EXPECT_FALSE(client.Publish("printers/SN1/jobs", "x"));
}

}  // namespace
}  // namespace qm::test
