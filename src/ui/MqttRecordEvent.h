// SPDX-License-Identifier: MIT
// Qt events that carry the MQTT client's records to the window thread.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <memory>

#include "simulator/MqttEvents.h"

namespace qm {

// The window's event types for status and message records.
inline constexpr QEvent::Type WM_MQTT_STATUS = static_cast<QEvent::Type>(QEvent::User + 100);
inline constexpr QEvent::Type WM_MQTT_MESSAGE = static_cast<QEvent::Type>(QEvent::User + 101);

// Owns its record: a handler takes it with TakeRecord(); an event that never
// reaches a handler (its receiver died first) frees the record with itself.
template <typename Record>
class MqttRecordEvent final : public QEvent {
 public:
  MqttRecordEvent(QEvent::Type type, std::unique_ptr<Record> record)
      : QEvent(type), m_record(std::move(record)) {}

  std::unique_ptr<Record> TakeRecord() { return std::move(m_record); }

 private:
  std::unique_ptr<Record> m_record;
};

using MqttStatusQEvent = MqttRecordEvent<MqttStatusEvent>;
using MqttMessageQEvent = MqttRecordEvent<MqttMessageEvent>;

// Posts the record to the receiver's thread; safe from any thread while the
// receiver lives. Qt owns the event from here: it is delivered, or deleted
// with the record when the receiver is destroyed first.
template <typename Record>
void PostMqttRecord(QObject* receiver, QEvent::Type type, std::unique_ptr<Record> record) {
  if (receiver == nullptr || record == nullptr) {
    return;
  }
  QCoreApplication::postEvent(receiver, new MqttRecordEvent<Record>(type, std::move(record)));
}

}  // namespace qm
