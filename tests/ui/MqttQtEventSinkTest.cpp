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

// Records posted from another thread arrive in order with the event loop;
// those nobody handles are freed (receiver gone, none, or not handling them).
TEST(MqttQtEventSink, RecordsArriveInOrderAndThoseNobodyHandlesAreFreed) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  auto receiver = std::make_unique<Receiver>();
  MqttQtEventSink sink(receiver.get());
  std::thread([&] {
    sink.PostStatusEvent(std::make_unique<MqttStatusEvent>(MqttStatusEvent{true, "Connected."}));
    sink.PostMessageEvent(
        std::make_unique<MqttMessageEvent>(MqttMessageEvent{"jobs/1", std::string("a\0b", 3)}));
    sink.PostStatusEvent(std::make_unique<MqttStatusEvent>(MqttStatusEvent{false, "Lost"}));
  }).join();
  EXPECT_TRUE(receiver->seen.empty());  // nothing runs before the event loop
  QCoreApplication::sendPostedEvents(receiver.get());
  EXPECT_EQ(receiver->seen,
            (std::vector<std::string>{"1Connected.", std::string("jobs/1=a\0b", 10), "0Lost"}));
  for (int i = 0; i < 5; ++i)
    PostMqttRecord(receiver.get(), WM_MQTT_STATUS, std::make_unique<Counted>());
  EXPECT_EQ(Counted::alive, 5);
  receiver.reset();
  EXPECT_EQ(Counted::alive, 0);
  PostMqttRecord(static_cast<QObject*>(nullptr), WM_MQTT_STATUS, std::make_unique<Counted>());
  EXPECT_EQ(Counted::alive, 0);
  MqttQtEventSink none(nullptr);
  none.PostStatusEvent(std::make_unique<MqttStatusEvent>());
  none.PostMessageEvent(std::make_unique<MqttMessageEvent>());
  QObject plain;
  PostMqttRecord(&plain, WM_MQTT_MESSAGE, std::make_unique<Counted>());
  EXPECT_EQ(Counted::alive, 1);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Counted::alive, 0);
}

}  // namespace
}  // namespace qm
