// SPDX-License-Identifier: MIT
#include "simulator/BacklogSink.h"

namespace qm {

void BacklogSink::PostStatusEvent(std::unique_ptr<MqttStatusEvent> event) {
  if (m_backlog.PushStatus(std::move(event))) Wake();
}

void BacklogSink::PostMessageEvent(std::unique_ptr<MqttMessageEvent> event) {
  if (m_backlog.PushMessage(std::move(event))) Wake();
}

}  // namespace qm
