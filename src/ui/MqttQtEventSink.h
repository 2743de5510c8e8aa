// SPDX-License-Identifier: MIT
// Hands the MQTT client's records to a QObject's thread through a bounded
// backlog.
#pragma once

#include <QObject>

#include "simulator/MqttEventSink.h"
#include "simulator/RecordBacklog.h"
#include "ui/MqttRecordEvent.h"

namespace qm {

// Puts each record into its RecordBacklog and, when the backlog asks for
// it, posts one WM_MQTT_RECORDS event to the receiver, which then takes the
// records with Backlog().Take() on its own thread until none is left. A post
// never waits: a message that does not fit is dropped and counted there.
// The receiver must outlive the sink's registration with the client (the
// window detaches it, or destroys the client, before its QObject dies);
// records still held go with the sink.
class MqttQtEventSink final : public MqttEventSink {
 public:
  explicit MqttQtEventSink(QObject* receiver, RecordBacklog::Limits limits = {})
      : m_receiver(receiver), m_backlog(limits) {}

  void PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) override;
  void PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) override;

  RecordBacklog& Backlog() { return m_backlog; }

 private:
  void Wake(bool needed);

  QObject* m_receiver;
  RecordBacklog m_backlog;
};

}  // namespace qm
