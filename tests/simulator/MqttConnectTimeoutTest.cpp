// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "simulator/MqttClientFixture.h"

namespace qm::test {
namespace {

// A time-out of 1 s against a host that accepts TCP but never answers; the
// library looks at its time-outs every 3 s, far below the program's 30 s.
TEST(MqttConnectTimeoutTest, SilentBrokerEndsInConnectFailedAfterTheTimeOut) {
  SilentListener silent;
  RecordingSink sink;
  MqttClient client(std::chrono::seconds(1));
  client.SetNotifyWindow(&sink);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.Connect(OptionsFor(silent.Uri())));
  ASSERT_EQ(sink.WaitForStatusPrefix("Connect failed", 0, std::chrono::seconds(10)), 1);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(sink.Statuses()[1], (Status{false, "Connect failed: TCP connect timeout"}));
  EXPECT_GE(elapsed, std::chrono::milliseconds(900));
  EXPECT_LT(elapsed, std::chrono::seconds(8));
  EXPECT_FALSE(client.Publish(kJobTopic, "x"));
}

}  // namespace
}  // namespace qm::test
