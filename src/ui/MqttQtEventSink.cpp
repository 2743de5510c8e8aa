// SPDX-License-Identifier: MIT
// Hands the MQTT client's records to a QObject's thread through a bounded
// backlog.
#include "ui/MqttQtEventSink.h"

#include <QCoreApplication>

namespace qm {

void MqttQtEventSink::PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) {
  Wake(m_backlog.PushStatus(std::move(event)));
}

void MqttQtEventSink::PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) {
  Wake(m_backlog.PushMessage(std::move(event)));
}

void MqttQtEventSink::Wake(bool needed) {
  if (needed && m_receiver != nullptr) {
    QCoreApplication::postEvent(m_receiver, new QEvent(WM_MQTT_RECORDS));
  }
}

}  // namespace qm
