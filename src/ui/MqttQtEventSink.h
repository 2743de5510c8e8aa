// SPDX-License-Identifier: MIT
// Delivers the MQTT client's records to a QObject as posted Qt events.
#pragma once

#include <QObject>

#include "simulator/MqttEventSink.h"
#include "ui/MqttRecordEvent.h"

namespace qm {

// Posts status records as WM_MQTT_STATUS and message records as
// WM_MQTT_MESSAGE events to the receiver, which handles them on its thread.
// The receiver must outlive the sink's registration with the client (the
// window detaches it, or destroys the client, before its QObject dies);
// events still queued when the receiver goes are freed by Qt.
class MqttQtEventSink final : public MqttEventSink {
 public:
  explicit MqttQtEventSink(QObject* receiver) : m_receiver(receiver) {}

  void PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) override;
  void PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) override;

 private:
  QObject* m_receiver;
};

}  // namespace qm
