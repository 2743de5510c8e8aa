// SPDX-License-Identifier: MIT
// The connect time-out against a host that accepts TCP but never answers.
#include <gtest/gtest.h>

#include "simulator/MqttClient.h"
#include "simulator/RecordingSink.h"
#include "simulator/TestProcesses.h"

namespace qm::test {
namespace {

// A time-out of 1 s; the library looks at its time-outs every 3 s, so the
// failure comes after about 3 s, far below the program's 30 s.
constexpr std::chrono::seconds kConnectTimeout{1};
constexpr std::chrono::seconds kWaitAtMost{10};

TEST(MqttConnectTimeoutTest, SilentBrokerEndsInConnectFailedAfterTheTimeOut) {
  SilentListener silent;
  RecordingSink sink;
  MqttClient client(kConnectTimeout);
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
  EXPECT_LT(elapsed, std::chrono::seconds(8));
  EXPECT_FALSE(client.Publish("printers/SN1/jobs", "x"));
}

}  // namespace
}  // namespace qm::test
