// SPDX-License-Identifier: MIT
#include "ui/MqttQtEventSink.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <thread>
#include <vector>

namespace qm {
namespace {

// Collects what a window would receive, in order.
class Receiver final : public QObject {
 public:
  std::vector<MqttStatusEvent> statuses;
  std::vector<MqttMessageEvent> messages;
  std::vector<int> order;  // 0 status, 1 message

 protected:
  bool event(QEvent* e) override {
    if (e->type() == WM_MQTT_STATUS) {
      statuses.push_back(*static_cast<MqttStatusQEvent*>(e)->TakeRecord());
      order.push_back(0);
      return true;
    }
    if (e->type() == WM_MQTT_MESSAGE) {
      messages.push_back(*static_cast<MqttMessageQEvent*>(e)->TakeRecord());
      order.push_back(1);
      return true;
    }
    return QObject::event(e);
  }
};

// A record that counts its live instances.
struct Counted {
  static inline std::atomic<int> alive{0};
  Counted() { ++alive; }
  ~Counted() { --alive; }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;
};

class MqttQtEventSinkTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
  }
};

TEST_F(MqttQtEventSinkTest, RecordsPostedFromAnotherThreadArriveInOrder) {
  Receiver receiver;
  MqttQtEventSink sink(&receiver);
  std::thread poster([&] {
    sink.PostStatusEvent(std::make_unique<MqttStatusEvent>(MqttStatusEvent{true, "Connected."}));
    sink.PostMessageEvent(std::make_unique<MqttMessageEvent>(
        MqttMessageEvent{"jobs/1", std::string("a\0b", 3)}));
    sink.PostStatusEvent(std::make_unique<MqttStatusEvent>(MqttStatusEvent{false, "Lost"}));
  });
  poster.join();
  EXPECT_TRUE(receiver.order.empty());  // nothing runs before the event loop
  QCoreApplication::sendPostedEvents(&receiver);
  EXPECT_EQ(receiver.order, (std::vector<int>{0, 1, 0}));
  ASSERT_EQ(receiver.statuses.size(), 2u);
  EXPECT_TRUE(receiver.statuses[0].connected);
  EXPECT_EQ(receiver.statuses[0].text, "Connected.");
  EXPECT_FALSE(receiver.statuses[1].connected);
  ASSERT_EQ(receiver.messages.size(), 1u);
  EXPECT_EQ(receiver.messages[0].topic, "jobs/1");
  EXPECT_EQ(receiver.messages[0].payload, std::string("a\0b", 3));
}

TEST_F(MqttQtEventSinkTest, QueuedRecordsAreFreedWhenTheReceiverGoes) {
  auto receiver = std::make_unique<Receiver>();
  for (int i = 0; i < 5; ++i) {
    PostMqttRecord(receiver.get(), WM_MQTT_STATUS, std::make_unique<Counted>());
  }
  EXPECT_EQ(Counted::alive, 5);
  receiver.reset();
  EXPECT_EQ(Counted::alive, 0);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Counted::alive, 0);
}

TEST_F(MqttQtEventSinkTest, RecordsNobodyHandlesAreFreed) {
  // No receiver: freed at once.
  PostMqttRecord(static_cast<QObject*>(nullptr), WM_MQTT_STATUS, std::make_unique<Counted>());
  EXPECT_EQ(Counted::alive, 0);
  MqttQtEventSink sink(nullptr);
  sink.PostStatusEvent(std::make_unique<MqttStatusEvent>());
  sink.PostMessageEvent(std::make_unique<MqttMessageEvent>());
  // A receiver that handles no MQTT events: freed with the event.
  QObject plain;
  PostMqttRecord(&plain, WM_MQTT_MESSAGE, std::make_unique<Counted>());
  QCoreApplication::sendPostedEvents(&plain);
  EXPECT_EQ(Counted::alive, 0);
}

}  // namespace
}  // namespace qm
