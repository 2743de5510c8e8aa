// SPDX-License-Identifier: MIT
// MQTT simulator window: the connect flow, the test jobs and the records of
// the MQTT client. The rules live in the simulator library; here they are
// only routed to the client and the log.
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <string>

#include "simulator/IncomingJob.h"
#include "simulator/PrinterInfo.h"
#include "simulator/SimulatorConnectPlan.h"
#include "text/PayloadView.h"
#include "text/TextHelpers.h"
#include "ui/CModernButton.h"
#include "ui/CMqttSimDlg.h"
#include "ui/ElidedLabel.h"
#include "ui/LogBatch.h"
#include "ui/SimTexts.h"
#include "ui/UiText.h"

namespace qm {
namespace {

// Log lines that stay English in both languages.
constexpr std::u16string_view kConnectingToBroker = u"Connecting to MQTT broker...";
constexpr std::u16string_view kUplinkReport = u"Uplink report received (status / scan / payment).";
constexpr std::u16string_view kAckFailed = u"Failed to publish print ack.";

constexpr TextPair kConnectFirst{u"Connect to MQTT first.", u"请先连接 MQTT。"};
constexpr TextPair kSubscribeTopicRequired{u"Subscribe topic is required.", u"订阅主题不能为空。"};
constexpr TextPair kTestPrefix{u"Test: ", u"测试："};
constexpr TextPair kSendingPrefix{u"Sending to the printer: ", u"发往打印机："};
constexpr TextPair kTestSendFailed{u"Failed to send test payload.", u"测试报文发送失败。"};

// The line for messages at QoS 1 (or 2) the window could not take although
// the broker had been told they arrived, around their count.
constexpr TextPair kLostPrefix{u"Lost ", u"丢失了 "};
constexpr TextPair kLostSuffixOne{
    u" QoS 1 message the broker was told had arrived: the window could not keep up.",
    u" 条已向服务器确认收到的 QoS 1 消息：窗口来不及处理。"};
constexpr TextPair kLostSuffix{
    u" QoS 1 messages the broker was told had arrived: the window could not keep up.",
    u" 条已向服务器确认收到的 QoS 1 消息：窗口来不及处理。"};

// "Dropped N messages: ..." or, for kept ones, "Lost N QoS 1 messages ...".
std::u16string DroppedLine(const DroppedMessages& dropped, bool chinese) {
  const bool one = dropped.count == 1;
  const TextPair& prefix = dropped.kept ? kLostPrefix : sim_text::kDroppedPrefix;
  const TextPair& suffix = dropped.kept
                               ? (one ? kLostSuffixOne : kLostSuffix)
                               : (one ? sim_text::kDroppedSuffixOne : sim_text::kDroppedSuffix);
  return std::u16string(prefix.Pick(chinese)) + Utf8ToWide(std::to_string(dropped.count)) +
         std::u16string(suffix.Pick(chinese));
}

SimulatorForm ReadForm(const CMqttSimDlg& dlg) {
  return {dlg.GetFieldText(u"clientId"),
          dlg.GetFieldText(u"domain"),
          dlg.GetFieldText(u"port"),
          dlg.GetFieldText(u"username"),
          dlg.GetFieldText(u"password"),
          dlg.GetFieldText(u"subTopic"),
          dlg.GetFieldText(u"pubTopic"),
          dlg.GetFieldComboIndex(u"tls"),
          dlg.GetFieldComboIndex(u"cleanSession")};
}

}  // namespace

void CMqttSimDlg::OnConnect() {
  const SimulatorConnectPlan plan = PlanSimulatorConnect(ReadForm(*this), m_chinese);
  if (!plan.ok) {
    AppendLog(plan.error.en, LogKind::Error);
    m_messageLine->setText(QText(plan.error));
    return;
  }
  for (const std::u16string& note : plan.notes) AppendLog(note, LogKind::Info);
  // A refused connect has already posted its reason; it is logged when it
  // arrives, and Connect stays usable.
  if (m_client.Connect(MqttConnectOptions::FromForm(plan.config))) {
    AppendLog(kConnectingToBroker, LogKind::Info);
    m_connectButton->setEnabled(false);
  }
}

void CMqttSimDlg::OnTest() {
  if (!m_connected) {
    AppendLog(kConnectFirst.Pick(m_chinese), LogKind::Error);
    return;
  }
  const std::u16string topic = TrimWhitespace(GetFieldText(u"subTopic"));
  if (topic.empty()) {
    AppendLog(kSubscribeTopicRequired.Pick(m_chinese), LogKind::Error);
    return;
  }
  if (const std::optional<TextPair> problem = TestTopicProblem(topic)) {
    AppendLog(problem->Pick(m_chinese), LogKind::Error);
    return;
  }
  m_topicEdit->setText(Q(topic));
  // The id advances even when the publish below fails.
  const std::u16string payload =
      BuildTestPayload(std::max(0, m_contentCombo->currentIndex()), m_lastJobId, m_jobClock);
  AppendLog(
      std::u16string(kTestPrefix.Pick(m_chinese)) + m_contentCombo->currentText().toStdU16String(),
      LogKind::Info);
  AppendLog(std::u16string(kSendingPrefix.Pick(m_chinese)) + topic, LogKind::Info);
  if (m_client.Publish(WideToUtf8(topic), WideToUtf8(payload))) {
    AppendLog(u"PUB -> " + topic + u": " + payload, LogKind::Sent);
  } else {
    AppendLog(kTestSendFailed.Pick(m_chinese), LogKind::Error);
  }
}

void CMqttSimDlg::DrainRecords() {
  // One round: the oldest records for at most kRecordRoundMs, logged as one
  // edit. While the backlog has more, the next round waits behind what the
  // event loop has queued meanwhile (timers, painting, input); the sink
  // posts no wake of its own until a round has found the backlog empty.
  std::optional<RecordBacklog::Entry> entry = m_sink.Backlog().Take();
  if (!entry) return;
  QElapsedTimer round;
  round.start();
  HandleInLogBatch([&] {
    do {
      HandleRecord(*entry);
    } while (round.elapsed() < kRecordRoundMs && (entry = m_sink.Backlog().Take()));
  });
  if (entry) QTimer::singleShot(0, this, &CMqttSimDlg::DrainRecords);
}

void CMqttSimDlg::HandleInLogBatch(const std::function<void()>& work) {
  m_logBatchOpen = true;
  const LogBatch batch(m_log, [this] {
    m_logBatchOpen = false;
    TrimLog();
  });
  work();
}

void CMqttSimDlg::HandleRecord(const RecordBacklog::Entry& entry) {
  if (const auto* status = std::get_if<std::unique_ptr<MqttStatusEvent>>(&entry)) {
    OnMqttStatus(**status);
  } else if (const auto* message = std::get_if<std::unique_ptr<MqttMessageEvent>>(&entry)) {
    OnMqttMessage(**message);
  } else {
    AppendLog(DroppedLine(std::get<DroppedMessages>(entry), m_chinese), LogKind::Error);
  }
}

void CMqttSimDlg::OnMqttStatus(const MqttStatusEvent& record) {
  const std::u16string text = Utf8ToWide(record.text);
  AppendLog(text, record.connected ? LogKind::Info : LogKind::Error);
  m_messageLine->setText(Q(text));
  SetConnectedUi(record.connected);
  // The printer's acknowledgements and reports arrive on the publish topic;
  // the client itself subscribes only the job topic.
  const std::u16string reportTopic =
      ReportTopicToSubscribe(text, GetFieldText(u"pubTopic"), GetFieldText(u"subTopic"));
  if (!reportTopic.empty()) m_client.Subscribe(WideToUtf8(reportTopic));
  if (record.connected && text.find(u"Subscribed") != std::u16string::npos) {
    m_topicEdit->setText(Q(GetFieldText(u"subTopic")));
  }
}

void CMqttSimDlg::OnMqttMessage(const MqttMessageEvent& record) {
  const std::u16string topic = Utf8ToWide(record.topic);
  // Read now: an edit of the publish topic after connecting changes the routing.
  const std::u16string pub = TrimWhitespace(GetFieldText(u"pubTopic"));
  if (!pub.empty() && topic == pub) {
    AppendLog(
        u"[" + PayloadView(record.topic) + u"] " + FormatPrinterInfo(record.payload, m_chinese),
        LogKind::Received);
    return;
  }
  // One bounded line whatever the payload holds; the job itself is read whole.
  AppendLog(u"<- RECV [" + PayloadView(record.topic) + u"]: " + PayloadView(record.payload),
            LogKind::Received);
  HandleIncomingPayload(record.payload);
}

void CMqttSimDlg::HandleIncomingPayload(const std::string& payload) {
  // The acknowledgement names the printer's own id, without the simulator's suffix.
  const IncomingJob job =
      ProcessIncomingJob(payload, WideToUtf8(TrimWhitespace(GetFieldText(u"clientId"))), m_taskIds);
  if (job.uplinkReport) {
    AppendLog(kUplinkReport, LogKind::Info);
    return;
  }
  AppendLog(job.summary, job.code == kTaskAccepted ? LogKind::Info : LogKind::Error);
  if (m_client.Publish(m_client.ReportTopic(), job.ack)) {
    AppendLog(u"PUB -> print ack: " + Utf8ToWide(job.ack), LogKind::Sent);
  } else {
    AppendLog(kAckFailed, LogKind::Error);
  }
}

}  // namespace qm
