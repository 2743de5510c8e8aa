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
struct Receiver final : QObject {
  std::vector<std::string> seen;
  bool event(QEvent* e) override {
    if (e->type() == WM_MQTT_STATUS) {
      const auto record = static_cast<MqttStatusQEvent*>(e)->TakeRecord();
      seen.push_back(std::to_string(record->connected) + record->text);
    } else if (e->type() == WM_MQTT_MESSAGE) {
      const auto record = static_cast<MqttMessageQEvent*>(e)->TakeRecord();
      seen.push_back(record->topic + "=" + record->payload);
    }
    return QObject::event(e);
  }
};

// A record that counts its live instances.
struct Counted {
  static inline std::atomic<int> alive{0};
  Counted() { ++alive; }
  ~Counted() { --alive; }
};

void StartApp() {
  static int argc = 1;
  static char name[] = "test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
}

TEST(MqttQtEventSink, RecordsPostedFromAnotherThreadArriveInOrder) {
  StartApp();
  Receiver receiver;
  MqttQtEventSink sink(&receiver);
  std::thread([&] {
    sink.PostStatusEvent(std::make_unique<MqttStatusEvent>(MqttStatusEvent{true, "Connected."}));
    sink.PostMessageEvent(
        std::make_unique<MqttMessageEvent>(MqttMessageEvent{"jobs/1", std::string("a\0b", 3)}));
    sink.PostStatusEvent(std::make_unique<MqttStatusEvent>(MqttStatusEvent{false, "Lost"}));
  }).join();
  EXPECT_TRUE(receiver.seen.empty());  // nothing runs before the event loop
  QCoreApplication::sendPostedEvents(&receiver);
  EXPECT_EQ(receiver.seen,
            (std::vector<std::string>{"1Connected.", std::string("jobs/1=a\0b", 10), "0Lost"}));
}

// Records are freed with a receiver that goes, when there is none, and when
// it handles no MQTT events.
TEST(MqttQtEventSink, RecordsNobodyHandlesAreFreed) {
  StartApp();
  auto receiver = std::make_unique<Receiver>();
  for (int i = 0; i < 5; ++i) {
    PostMqttRecord(receiver.get(), WM_MQTT_STATUS, std::make_unique<Counted>());
  }
  EXPECT_EQ(Counted::alive, 5);
  receiver.reset();
  EXPECT_EQ(Counted::alive, 0);
  PostMqttRecord(static_cast<QObject*>(nullptr), WM_MQTT_STATUS, std::make_unique<Counted>());
  EXPECT_EQ(Counted::alive, 0);
  MqttQtEventSink sink(nullptr);
  sink.PostStatusEvent(std::make_unique<MqttStatusEvent>());
  sink.PostMessageEvent(std::make_unique<MqttMessageEvent>());
  QObject plain;
  PostMqttRecord(&plain, WM_MQTT_MESSAGE, std::make_unique<Counted>());
  EXPECT_EQ(Counted::alive, 1);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Counted::alive, 0);
}

}  // namespace
}  // namespace qm
