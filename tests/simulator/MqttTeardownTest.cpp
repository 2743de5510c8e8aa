// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <signal.h>

#include <thread>

#include "simulator/MqttClientFixture.h"

namespace qm::test {
namespace {

// A stray callback would come within the library's next cycle or two.
constexpr std::chrono::milliseconds kWatchAfterTeardown{500};

class MqttTeardownTest : public MqttClientFixture {
 protected:
  // Destroys the client. Posts from inside the teardown (it runs on this
  // thread) and any post after it are faults; a library thread may still
  // post until the destructor has detached the sink.
  void DestroyClientAndWatch() {
    sink.ForbidPostsFrom(std::this_thread::get_id());
    client.reset();
    sink.Close();
    std::this_thread::sleep_for(kWatchAfterTeardown);
    EXPECT_EQ(sink.PostsAfterClose(), 0);
  }
};

TEST_F(MqttTeardownTest, WhileConnectingToASilentHost) {
  SilentListener silent;
  ASSERT_TRUE(client->Connect(OptionsFor(silent.Uri())));
  DestroyClientAndWatch();
  EXPECT_EQ(sink.Statuses(), (std::vector<Status>{{false, ConnectingText(silent.Uri())}}));
}

TEST_F(MqttTeardownTest, WhileADisconnectIsPending) {
  ConnectAndSubscribe();
  client->Disconnect();
  DestroyClientAndWatch();
}

TEST_F(MqttTeardownTest, WithManyQos1PublishesInFlight) {
  ConnectAndSubscribe();
  int accepted = 0;
  for (int i = 0; i < 3000; ++i) {
    accepted += client->Publish(kReportTopic, "job " + std::to_string(i)) ? 1 : 0;
  }
  EXPECT_EQ(accepted, 3000);
  DestroyClientAndWatch();
}

TEST_F(MqttTeardownTest, DuringAMessageFlood) {
  ConnectAndSubscribe();
  const pid_t flood = StartFlood();
  ASSERT_GT(flood, 0);
  const bool flowing = sink.WaitForMessages(200);
  DestroyClientAndWatch();
  StopProgram(flood, SIGKILL);
  EXPECT_TRUE(flowing);
}

TEST_F(MqttTeardownTest, AfterTheConnectionWasLost) {
  ConnectAndSubscribe();
  broker.Kill();
  ASSERT_GE(sink.WaitForStatus("Connection lost"), 0);
  DestroyClientAndWatch();
}

TEST_F(MqttTeardownTest, ConnectedTeardownEndsTheSessionCleanly) {
  ConnectAndSubscribe();
  DestroyClientAndWatch();
  // The broker tells an MQTT disconnect from a dropped socket ("closed its
  // connection"): the session ended cleanly.
  EXPECT_TRUE(Eventually([this] {
    return broker.Log().find("Client SN1-pc disconnected.") != std::string::npos;
  })) << broker.Log();
  EXPECT_EQ(broker.Log().find("Client SN1-pc closed its connection."), std::string::npos);
}

TEST_F(MqttTeardownTest, DetachedSinkIsNeverCalledAgain) {
  ConnectAndSubscribe();
  const pid_t flood = StartFlood();
  ASSERT_GT(flood, 0);
  ASSERT_TRUE(sink.WaitForMessages(100));
  client->SetNotifyWindow(nullptr);
  sink.Close();
  std::this_thread::sleep_for(kWatchAfterTeardown);
  StopProgram(flood, SIGKILL);
  EXPECT_EQ(sink.PostsAfterClose(), 0);
}

}  // namespace
}  // namespace qm::test
