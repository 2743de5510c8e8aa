// SPDX-License-Identifier: MIT
// Hands the MQTT client's records to a QObject's thread through a bounded
// backlog.
#pragma once

#include <QObject>

#include "simulator/BacklogSink.h"
#include "ui/MqttRecordEvent.h"

namespace qm {

// A BacklogSink whose wake is one WM_MQTT_RECORDS event posted to the
// receiver, which then takes the records with Backlog().Take() on its own
// thread until none is left. The receiver must outlive the sink's
// registration with the client (the window detaches it, or destroys the
// client, before its QObject dies).
class MqttQtEventSink final : public BacklogSink {
 public:
  explicit MqttQtEventSink(QObject* receiver, RecordBacklog::Limits limits = {})
      : BacklogSink(limits), m_receiver(receiver) {}

 private:
  void Wake() override;

  QObject* m_receiver;
};

}  // namespace qm
