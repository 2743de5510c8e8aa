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
  // thread) and any post after it are faults.
  void DestroyClientAndWatch() {
    sink.ForbidPostsFrom(std::this_thread::get_id());
    client.reset();
    sink.Close();
    std::this_thread::sleep_for(kWatchAfterTeardown);
    EXPECT_EQ(sink.PostsAfterClose(), 0);
  }
};

TEST_F(MqttTeardownTest, InEveryStateNoCallbackRunsAfterwards) {
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"disconnect pending", [this] { client->Disconnect(); }},
      {"QoS 1 publishes in flight",
       [this] {
         for (int i = 0; i < 3000; ++i) ASSERT_TRUE(client->Publish(kReportTopic, "job " + std::to_string(i)));
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
    sink.Reopen();
    client->SetNotifyWindow(&sink);
    ASSERT_TRUE(broker.Start(broker.port())) << broker.Log();
    ConnectAndSubscribe();
    setup();
    DestroyClientAndWatch();
  }
}

TEST_F(MqttTeardownTest, WhileConnectingToASilentHost) {
  SilentListener silent;
  ASSERT_TRUE(client->Connect(OptionsFor(silent.Uri())));
  DestroyClientAndWatch();
  EXPECT_EQ(sink.Statuses(), (std::vector<Status>{{false, ConnectingText(silent.Uri())}}));
}

TEST_F(MqttTeardownTest, DuringAFloodAndWithTheSinkDetached) {
  ConnectAndSubscribe();
  const pid_t flood = StartFlood();
  ASSERT_GT(flood, 0);
  ASSERT_TRUE(sink.WaitForMessages(200));
  client->SetNotifyWindow(nullptr);  // detached: never called again
  sink.Close();
  std::this_thread::sleep_for(kWatchAfterTeardown);
  EXPECT_EQ(sink.PostsAfterClose(), 0);
  DestroyClientAndWatch();
  StopProgram(flood, SIGKILL);
}

TEST_F(MqttTeardownTest, ConnectedTeardownEndsTheSessionCleanly) {
  ConnectAndSubscribe();
  DestroyClientAndWatch();
  // The broker tells an MQTT disconnect from a dropped socket.
  EXPECT_TRUE(Eventually([this] {
    return broker.Log().find("Client SN1-pc disconnected.") != std::string::npos;
  })) << broker.Log();
  EXPECT_EQ(broker.Log().find("Client SN1-pc closed its connection."), std::string::npos);
}

}  // namespace
}  // namespace qm::test
