// SPDX-License-Identifier: MIT
// Hands the MQTT client's records to a QObject's thread through a bounded
// backlog.
#include "ui/MqttQtEventSink.h"

#include <QCoreApplication>

namespace qm {

void MqttQtEventSink::Wake() {
  if (m_receiver != nullptr) QCoreApplication::postEvent(m_receiver, new QEvent(WM_MQTT_RECORDS));
}

}  // namespace qm
