// SPDX-License-Identifier: MIT
#include "ui/MqttQtEventSink.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace qm {
namespace {

using Texts = std::vector<std::string>;

// Counts the wake events it receives.
struct Receiver final : QObject {
  int wakes = 0;
  bool event(QEvent* e) override { return e->type() == WM_MQTT_RECORDS ? ++wakes, true : false; }
};

// However many records arrive, one wake is queued until the receiver has
// found the backlog empty; the records wait there in order.
TEST(MqttQtEventSink, OneWakeForManyRecordsThenAgainAfterTheBacklogRanDry) {
  Receiver receiver;
  MqttQtEventSink sink(&receiver);
  const auto post = [&](std::string payload) {  // the wakes delivered so far
    sink.PostMessageEvent(std::make_unique<MqttMessageEvent>("jobs", std::move(payload)));
    return QCoreApplication::sendPostedEvents(), receiver.wakes;
  };
  const auto take = [&]() -> std::string {
    auto entry = sink.Backlog().Take();
    if (!entry) return "none";
    if (auto* s = std::get_if<std::unique_ptr<MqttStatusEvent>>(&*entry)) return (*s)->text;
    return std::get<std::unique_ptr<MqttMessageEvent>>(*entry)->payload;
  };
  sink.PostStatusEvent(std::make_unique<MqttStatusEvent>(MqttStatusEvent{true, "Connected."}));
  EXPECT_EQ(post("{}"), 1);
  EXPECT_EQ((Texts{take(), take()}), (Texts{"Connected.", "{}"}));  // braces: in this order
  EXPECT_EQ(post("x"), 1);  // the backlog was not yet found empty
  EXPECT_EQ((Texts{take(), take()}), (Texts{"x", "none"}));
  EXPECT_EQ(post("y"), 2);
}

}  // namespace
}  // namespace qm
