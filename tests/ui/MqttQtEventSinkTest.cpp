// SPDX-License-Identifier: MIT
#include "ui/MqttQtEventSink.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>

namespace qm {
namespace {

// A record that counts its live instances.
struct Counted {
  static inline std::atomic<int> alive{0};
  Counted() { ++alive; }
  ~Counted() { --alive; }
};

// Records still queued when their receiver dies, or posted to none, are freed.
TEST(MqttQtEventSink, RecordsNobodyHandlesAreFreed) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  auto receiver = std::make_unique<QObject>();
  MqttQtEventSink sink(receiver.get());
  sink.PostStatusEvent(std::make_unique<MqttStatusEvent>(MqttStatusEvent{true, "Connected."}));
  sink.PostMessageEvent(std::make_unique<MqttMessageEvent>(MqttMessageEvent{"jobs", "{}"}));
  for (int i = 0; i < 5; ++i)
    PostMqttRecord(receiver.get(), WM_MQTT_STATUS, std::make_unique<Counted>());
  EXPECT_EQ(Counted::alive, 5);
  receiver.reset();
  EXPECT_EQ(Counted::alive, 0);
  PostMqttRecord(static_cast<QObject*>(nullptr), WM_MQTT_STATUS, std::make_unique<Counted>());
  EXPECT_EQ(Counted::alive, 0);
  MqttQtEventSink(nullptr).PostStatusEvent(std::make_unique<MqttStatusEvent>());
}

}  // namespace
}  // namespace qm
