// SPDX-License-Identifier: MIT
#include "ui/MqttQtEventSink.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace qm {
namespace {

// Counts the wake events it receives.
struct Receiver final : QObject {
  int wakes = 0;
  bool event(QEvent* e) override { return e->type() == WM_MQTT_RECORDS ? ++wakes, true : false; }
};

// However many records arrive, one wake is queued until the receiver has
// found the backlog empty; the records wait there in order.
TEST(MqttQtEventSink, OneWakeForManyRecordsThenAgainAfterTheBacklogRanDry) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  Receiver receiver;
  MqttQtEventSink sink(&receiver);
  sink.PostStatusEvent(std::make_unique<MqttStatusEvent>(MqttStatusEvent{true, "Connected."}));
  sink.PostMessageEvent(std::make_unique<MqttMessageEvent>(MqttMessageEvent{"jobs", "{}"}));
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(receiver.wakes, 1);
  auto status = sink.Backlog().Take();
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(std::get<std::unique_ptr<MqttStatusEvent>>(*status)->text, "Connected.");
  auto message = sink.Backlog().Take();
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(std::get<std::unique_ptr<MqttMessageEvent>>(*message)->payload, "{}");
  sink.PostMessageEvent(std::make_unique<MqttMessageEvent>(MqttMessageEvent{"jobs", "x"}));
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(receiver.wakes, 1);  // the backlog was not yet found empty
  EXPECT_TRUE(sink.Backlog().Take().has_value());
  EXPECT_FALSE(sink.Backlog().Take().has_value());
  sink.PostMessageEvent(std::make_unique<MqttMessageEvent>(MqttMessageEvent{"jobs", "y"}));
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(receiver.wakes, 2);
}

}  // namespace
}  // namespace qm
