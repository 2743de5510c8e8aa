// SPDX-License-Identifier: MIT
// The simulator window against a real mosquitto and a second client.

#include <fstream>

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include "simulator/MosquittoBroker.h"
#include "simulator/MqttClient.h"
#include "simulator/RecordingSink.h"
#include "simulator/SamplePrintJobs.h"
#include "ui/CMqttSimDlg.h"
#include "ui/QtFileChooser.h"
#include "ui/UiTestSupport.h"

namespace qm::test {
namespace {

using Lines = std::vector<std::string>;

struct WakeCounter final : QObject {  // the wake events the window gets
  int n = 0;
  bool eventFilter(QObject*, QEvent* e) final { return n += e->type() == WM_MQTT_RECORDS, false; }
};

class SimTrafficTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(broker.Start()) << broker.Log(); }

  // A shown window whose form points at the broker.
  void Open(bool chinese, const char16_t* id, const char16_t* sub, const char16_t* pub) {
    dialog = std::make_unique<CMqttSimDlg>(nullptr, chinese, chooser);
    dialog->SetJobClock([] { return std::int64_t{1765000000}; });
    dialog->show();
    ASSERT_TRUE(WaitUntil([&] { return dialog->IsInitialized(); }, kDeadline));
    for (const auto& [row, text] :
         {std::pair{3000, id}, {3001, u"127.0.0.1"}, {3005, sub}, {3006, pub}})
      qobject_cast<QLineEdit*>(dialog->Control(row))->setText(QString::fromUtf16(text));
    qobject_cast<QLineEdit*>(dialog->Control(3002))->setText(QString::number(broker.port()));
  }
  void Click(int id) { QTest::mouseClick(dialog->Control(id), Qt::LeftButton); }
  Lines Log() const {  // without the time stamps
    Lines lines;
    for (const QString& line : dialog->Log()->toPlainText().split(u'\n', Qt::SkipEmptyParts))
      lines.push_back(line.mid(11).toStdString());
    return lines;
  }
  int Count(const std::string& line, bool prefix = false) const {
    return static_cast<int>(std::ranges::count_if(
        Log(), [&](const std::string& l) { return prefix ? l.starts_with(line) : l == line; }));
  }
  bool WaitForLine(const std::string& line, int count = 1) const {
    return WaitUntil([&] { return Count(line) >= count; }, kDeadline);
  }
  void Connect(const std::vector<std::string>& topics) {
    const int connects = Count("Connected.");
    Click(kIdSimConnect);
    for (const std::string& t : topics) ASSERT_TRUE(WaitForLine("Subscribed: " + t, connects + 1));
  }
  void Publish(const std::string& topic, const std::string& payload) {
    ASSERT_EQ(RunProgram(broker.PubArgs(topic, payload), kDeadline), 0);
  }
  void Post(std::string payload, int qos = 0) {  // as the client's thread hands a message over
    dialog->Sink().PostMessageEvent(
        std::make_unique<MqttMessageEvent>("t", std::move(payload), qos));
  }

  MosquittoBroker broker;
  QtFileChooser chooser;  // never asked: no test here opens or saves a file
  std::unique_ptr<CMqttSimDlg> dialog;
};

// The expected lines appear in this order, others may come between them.
void ExpectInOrder(const Lines& log, const Lines& expected) {
  auto at = log.begin();
  for (const std::string& line : expected)
    ASSERT_NE(at = std::find(at, log.end(), line), log.end()) << line;
}

// Test needs a connection; a failed check logs English, shows Chinese; a refused connect leaves
// Connect enabled; Test once connected.
TEST_F(SimTrafficTest, FailedChecksRefusalAndTheConnectInChinese) {
  Open(true, u" P1 ", u"jobs", u" ");
  dialog->OnCommand(kIdSimTest, 0);
  Click(kIdSimConnect);
  EXPECT_EQ(Log(), (Lines{"请先连接 MQTT。", "Publish topic is required."}));
  EXPECT_EQ(dialog->Control(kIdSimMessageLine)->property("text").toString(),
            QString::fromUtf16(u"发布主题不能为空。"));
  auto* tls = qobject_cast<QComboBox*>(dialog->Control(3007));
  tls->setCurrentIndex(1);
  qobject_cast<QLineEdit*>(dialog->Control(3006))->setText(QStringLiteral("reports"));
  Click(kIdSimConnect);
  ASSERT_TRUE(WaitForLine("MQTTAsync_create failed: -14"));
  EXPECT_EQ(Count("Connecting to MQTT broker..."), 0);
  EXPECT_TRUE(dialog->Control(kIdSimConnect)->isEnabled());
  tls->setCurrentIndex(0);
  Connect({"jobs", "reports"});
  ExpectInOrder(Log(),
                {"模拟器客户端号：P1-pc（不会占用打印机的 P1）", "Connecting to MQTT broker...",
                 "Connecting to " + broker.Uri() + " (MQTT cleansession=1) ...", "Connected."});
  EXPECT_NE(broker.Log().find(" as P1-pc "), std::string::npos) << broker.Log();
  EXPECT_FALSE(dialog->Control(kIdSimConnect)->isEnabled());
  Click(kIdSimTest);
  ASSERT_TRUE(WaitForLine("PUB -> jobs: " + SampleJob(1765000001, kReceiptTail)));
}

// Jobs on "r/10", which only starts with the publish topic "r/1": jobs, not reports.
TEST_F(SimTrafficTest, TestJobsRepeatedJobsReportsAndHostilePayloadsOnTheirWholeRoad) {
  RecordingSink seen;  // what the broker passes on to another client
  MqttClient observer;
  observer.SetNotifyWindow(&seen);
  ASSERT_TRUE(observer.Connect({broker.Uri(), "observer", "", "", "r/1", "r/1"}));
  ASSERT_GE(seen.WaitForStatus("Subscribed: r/1"), 0);
  Open(false, u"P1", u"r/10", u"r/1");
  Connect({"r/10", "r/1"});
  const std::tuple<std::string, std::string_view, std::string> kinds[] = {
      {"JSON Receipt", kReceiptTail, "5"},
      {"JSON LABEL TSPL", kTsplLabelTail, "5"},
      {"JSON label CPCL", kCpclLabelTail, "2"}};
  for (int kind = 0; kind < 3; ++kind) {
    const auto& [item, tail, type] = kinds[kind];
    const std::string id = std::to_string(1765000001 + kind),
                      job = SampleJob(1765000001 + kind, tail);
    qobject_cast<QComboBox*>(dialog->Control(kIdSimContentCombo))->setCurrentIndex(kind);
    Click(kIdSimTest);
    const std::string info = "[r/1] Printer info  devicename=P1  code=0(ok)  id=" + id;
    ASSERT_TRUE(WaitForLine(info)) << item;
    ExpectInOrder(Log(),
                  {"Test: " + item, "Sending to the printer: r/10", "PUB -> r/10: " + job,
                   "<- RECV [r/10]: " + job,
                   "Task parse: id=" + id + " (valid range 0-4294967295), type=" + type +
                       ", contents=yes, message=no -> code=0 (success)",
                   R"(PUB -> print ack: {"devicename":"P1","id":)" + id + R"(,"code":0})", info});
  }
  ASSERT_TRUE(seen.WaitForMessages(1));
  EXPECT_EQ(seen.Messages()[0].payload, R"({"devicename":"P1","id":1765000001,"code":0})");
  // A repeated job refused until a reconnect; a report noted, not validated nor acknowledged.
  const std::string job = SampleJob(7, kCpclLabelTail);
  const std::string summary =
      "Task parse: id=7 (valid range 0-4294967295), type=2, contents=yes, message=no -> ";
  Publish("r/10", job);
  Publish("r/10", job);
  ASSERT_TRUE(WaitForLine(summary + "code=209 (duplicate task id)"));
  EXPECT_EQ(Count(summary + "code=0 (success)"), 1);
  ASSERT_TRUE(WaitForLine("[r/1] Printer info  devicename=P1  code=209(duplicate id)  id=7"));
  broker.Stop();
  ASSERT_TRUE(WaitForLine("Connection lost"));
  ASSERT_TRUE(broker.Start(broker.port()));
  Connect({"r/10", "r/1"});
  Publish("r/10", job);
  ASSERT_TRUE(WaitForLine(summary + "code=0 (success)", 2));
  EXPECT_EQ(Count(R"(PUB -> print ack: {"devicename":"P1","id":7,"code":0})"), 2);
  Publish("r/10", R"({"devicename":"P1","code":0})");
  ASSERT_TRUE(WaitForLine("Uplink report received (status / scan / payment)."));
  EXPECT_EQ(std::pair(Count("Task parse", true), Count("PUB -> print ack: ", true)),
            std::pair(6, 6));
  // A payload is one bounded line: 4 MiB without a break point, CR, LF and the separators that
  // would forge log lines; the job after them is answered at once.
  TempDir dir;
  std::ofstream(dir.File("big")) << "{\"id\":" << std::string((4 << 20) - 6, '7');
  std::vector<std::string> args = broker.ClientArgs("mosquitto_pub");
  args.insert(args.end(), {"-q", "1", "-t", "r/10", "-f", dir.File("big")});
  ASSERT_EQ(RunProgram(args, kDeadline), 0);
  Publish("r/10", "x\r\n[00:00:00] Task parse: forged\xE2\x80\xA8y\xE2\x80\xA9z");
  Publish("r/10", SampleJob(5, kCpclLabelTail));
  const std::string ack = R"(PUB -> print ack: {"devicename":"P1","id":5,"code":0})";
  EXPECT_TRUE(WaitUntil([&] { return Count(ack) == 1; }, std::chrono::seconds(15)));
  EXPECT_EQ(Count("<- RECV [r/10]: {\"id\":" + std::string(4090, '7') + " … [4194304 bytes]"), 1);
  EXPECT_EQ(Count("<- RECV [r/10]: x  [00:00:00] Task parse: forged y z"), 1);
  EXPECT_EQ(Count("<- RECV [r/10]: ", true), 10);
}

// Messages the backlog could not take are one error line in the window's language: a message
// over its 64 MiB goes into an empty backlog, the next ones do not fit behind it; at QoS 1, with
// waits released, a second one passes the limits but not the 128 MiB ceiling, and is lost. Then
// a flood: one wake, all in order; the next record after the backlog was found empty wakes again.
TEST_F(SimTrafficTest, DroppedMessagesInOneLineAndAFloodOnOneWakeInOrder) {
  for (const auto& [chinese, qos, drops, line] :
       {std::tuple{true, 0, 2, "丢弃了 2 条消息：窗口来不及处理。"},
        {false, 0, 1, "Dropped 1 message: the window could not keep up."},
        {true, 1, 1, "丢失了 1 条已向服务器确认收到的 QoS 1 消息：窗口来不及处理。"},
        {false, 1, 2,
         "Lost 2 QoS 1 messages the broker was told had arrived: the window could not keep up."}}) {
    Open(chinese, u"P1", u"jobs", u"t");
    const std::string big((64 << 20) + 1, '[');
    if (qos > 0) dialog->Sink().ReleaseWaits(true);  // as the client does around its requests
    Post(big, qos);
    for (int i = 0; i < drops; ++i) Post(qos > 0 ? big : "{}", qos);
    if (qos > 0) dialog->Sink().ReleaseWaits(false);
    ASSERT_TRUE(WaitForLine(line));
    const QTextBlock last = dialog->Log()->document()->lastBlock();
    EXPECT_EQ(std::pair(Log().back(), last.begin().fragment().charFormat().foreground().color()),
              std::pair(std::string(line), QColor(0xB9, 0x1C, 0x1C)));
  }
  WakeCounter counter;
  dialog->installEventFilter(&counter);
  QCoreApplication::processEvents();  // a round that ended on the last record looks once more
  Lines expected = Log();
  for (int i = 1; i <= 3000; ++i) {
    Post("{\"id\":" + std::to_string(i) + "}");
    expected.push_back("[t] Printer info  id=" + std::to_string(i));
  }
  ASSERT_TRUE(WaitForLine(expected.back()));
  EXPECT_EQ(Log(), expected);
  QCoreApplication::processEvents();
  Post(R"({"id":3001})");
  ASSERT_TRUE(WaitForLine("[t] Printer info  id=3001"));
  EXPECT_EQ(counter.n, 2);
}

}  // namespace
}  // namespace qm::test
