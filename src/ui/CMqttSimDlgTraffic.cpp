// SPDX-License-Identifier: MIT
// MQTT simulator window: the connect flow, the test jobs and the records of
// the MQTT client.
#include <QLineEdit>

#include "text/TextHelpers.h"
#include "ui/CMqttSimDlg.h"
#include "ui/ElidedLabel.h"
#include "ui/UiText.h"

namespace qm {

void CMqttSimDlg::OnConnect() {
  if (TrimWhitespace(GetFieldText(u"clientId")).empty() || TrimWhitespace(GetFieldText(u"domain")).empty()) {
    AppendLog(u"Client ID and domain are required.", LogKind::Error);
    m_messageLine->setText(Q(TextPair{u"Client ID and domain are required.", u"clientID 和域名不能为空。"}.Pick(m_chinese)));
  }
}

void CMqttSimDlg::OnTest() {
  if (!m_connected) AppendLog(TextPair{u"Connect to MQTT first.", u"请先连接 MQTT。"}.Pick(m_chinese), LogKind::Error);
}

void CMqttSimDlg::OnMqttStatus(MqttStatusQEvent& event) {
  const std::unique_ptr<MqttStatusEvent> record = event.TakeRecord();
  if (record == nullptr) return;
  const std::u16string text = Utf8ToWide(record->text);
  AppendLog(text, record->connected ? LogKind::Info : LogKind::Error);
  m_messageLine->setText(Q(text));
  SetConnectedUi(record->connected);
}

void CMqttSimDlg::OnMqttMessage(MqttMessageQEvent& event) {
  const std::unique_ptr<MqttMessageEvent> record = event.TakeRecord();
  if (record == nullptr) return;
  AppendLog(u"<- RECV [" + Utf8ToWide(record->topic) + u"]: " + Utf8ToWide(record->payload), LogKind::Received);
}

}  // namespace qm
