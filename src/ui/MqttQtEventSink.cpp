// SPDX-License-Identifier: MIT
// Delivers the MQTT client's records to a QObject as posted Qt events.
#include "ui/MqttQtEventSink.h"

namespace qm {

void MqttQtEventSink::PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) {
  PostMqttRecord(m_receiver, WM_MQTT_STATUS, std::move(event));
}

void MqttQtEventSink::PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) {
  PostMqttRecord(m_receiver, WM_MQTT_MESSAGE, std::move(event));
}

}  // namespace qm
