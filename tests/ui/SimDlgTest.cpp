// SPDX-License-Identifier: MIT
// The MQTT simulator window: opened from the main window, controls, texts,
// language switch, look, log, export and ending.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <csignal>

#include "ui/CModernButton.h"
#include "ui/CMqttSimDlg.h"
#include "ui/FileChooser.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using test::Draws;
using test::Rgb24;

class FakeSaveChooser final : public FileChooser {
 public:
  QString ChooseOpenFile(QWidget*, const QString&) override { return {}; }
  QString ChooseSaveFile(QWidget*, const QString& name, const QString& filters) override {
    asked = name + QStringLiteral("|") + filters;
    return path;
  }
  QString path;
  QString asked;
};

QString Text(QWidget* widget) { return widget->property("text").toString(); }

using Lines = std::vector<std::string>;

Lines LogLines(const CMqttSimDlg& dialog) {
  Lines lines;
  if (dialog.Log()->document()->isEmpty()) return lines;
  for (const QString& line : dialog.Log()->toPlainText().split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
  return lines;
}

Rgb LineColour(const CMqttSimDlg& dialog, int line) {
  const QTextBlock block = dialog.Log()->document()->findBlockByNumber(line);
  return block.begin().fragment().charFormat().foreground().color().rgb() & 0xFFFFFF;
}

class SimDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<CMqttSimDlg>(nullptr, false, chooser);
    dialog->SetLogClock([] { return QTime(9, 5, 3); });
    dialog->show();
    ASSERT_TRUE(test::WaitUntil([&] { return dialog->isVisible(); }, std::chrono::seconds(5)));
  }
  QComboBox* Combo(int id) const { return qobject_cast<QComboBox*>(dialog->Control(id)); }
  int S(int v) const { return Scale(v, dialog->Dpi()); }

  FakeSaveChooser chooser;
  std::unique_ptr<CMqttSimDlg> dialog;
};

// Opened by the main window's button: the window's ids, texts, fonts and Tab
// order in the main window's language, while the main window's poll goes on.
void CheckOpenedWindow(CMqttSimDlg& sim, bool zh) {
  const auto pick = [zh](const char16_t* en, const char16_t* cn) { return QString::fromUtf16(zh ? cn : en); };
  EXPECT_EQ(sim.windowTitle(), pick(u"VARNO  MQTT Client Simulator (Self-hosted)", u"VARNO  MQTT 客户端模拟器（自建）"));
  const std::pair<int, QString> texts[] = {
      {1102, pick(u"Connect", u"连接")},  {1103, pick(u"Disconnect", u"断开")}, {1112, pick(u"Test", u"测试")},
      {1108, pick(u"Clear", u"清空")},    {1109, pick(u"Export", u"导出")},     {1110, pick(u"○  Disconnected", u"○  未连接")},
      {1101, pick(u"Self-hosted MQTT connection parameters.", u"自建 MQTT 连接参数。")}, {3002, QStringLiteral("1883")}};
  for (const auto& [id, text] : texts) EXPECT_EQ(Text(sim.Control(id)), text) << id;
  QStringList statics;
  for (QWidget* child : sim.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (ControlIdOf(child) == 0xFFFF) statics << Text(child);
  }
  EXPECT_EQ(statics.join(QLatin1Char('|')),
            pick(u"  VARNO  MQTT Client Simulator (Self-hosted)|Language:|clientID / SN|domain / IP|port|username|"
                 u"password|sub_topic|pub_topic|TLS|Clean Session|Publish|Topic:|Content Test:|Message Log",
                 u"  VARNO  MQTT 客户端模拟器（自建）|语言：|clientID / SN|域名 / IP|端口|用户名|密码|订阅主题|发布主题|"
                 u"TLS|Clean Session|发布消息|主题：|内容测试：|消息日志"));
  const auto items = [&](int id) {
    QStringList list;
    auto* combo = qobject_cast<QComboBox*>(sim.Control(id));
    for (int i = 0; i < combo->count(); ++i) list << combo->itemText(i);
    return list.join(QLatin1Char('|')) + QStringLiteral("@%1").arg(combo->currentIndex());
  };
  EXPECT_EQ(items(1100), QString::fromUtf16(zh ? u"English|中文@1" : u"English|中文@0"));
  EXPECT_EQ(items(1111), QStringLiteral("JSON Receipt|JSON LABEL TSPL|JSON label CPCL@0"));
  EXPECT_EQ(items(3007), pick(u"Disable TLS|Enable TLS@0", u"不启用 TLS|启用 TLS@0"));
  EXPECT_EQ(items(3008), pick(u"Clear offline messages|Keep offline messages@0", u"清除离线消息|保留离线消息@0"));
  for (int id : {1105, 1106, 1113, 1114, 3009}) EXPECT_EQ(sim.Control(id), nullptr) << id;
  EXPECT_TRUE(qobject_cast<CModernButton*>(sim.Control(1102))->IsPrimary());
  EXPECT_FALSE(qobject_cast<CModernButton*>(sim.Control(1109))->IsPrimary());
  EXPECT_NE(qobject_cast<QPlainTextEdit*>(sim.Control(1107)), nullptr);
  const QString face = zh ? QStringLiteral("Microsoft YaHei UI") : QStringLiteral("Segoe UI");
  EXPECT_EQ(sim.Control(1100)->font().families().value(0), face);
  EXPECT_EQ(sim.Control(1110)->font().families().value(0), zh ? face : QStringLiteral("Segoe UI Semibold"));
  // Tab order: creation order of the controls that take focus by Tab.
  QList<int> order;
  QWidget* widget = sim.Control(1100);
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->parentWidget() == &sim) order << ControlIdOf(widget);
    widget = widget->nextInFocusChain();
  } while (widget != sim.Control(1100));
  EXPECT_EQ(order, (QList<int>{1100, 1102, 1103, 3000, 3001, 3002, 3003, 3004, 3005, 3006, 3007, 3008, 1104, 1111,
                               1112, 1108, 1109}));
}

class SimFromMainTest : public test::ShownMainDlg {};

TEST_F(SimFromMainTest, ButtonRunsTheWindowModallyInTheMainWindowsLanguage) {
  for (bool zh : {false, true}) {
    SCOPED_TRACE(zh);
    if (zh) {
      qobject_cast<QComboBox*>(dialog->Control(kIdLanguageCombo))->setCurrentIndex(1);
      dialog->OnCommand(kIdLanguageCombo, kCbnSelChange);
    }
    const int listings = printers->listings;
    bool checked = false;
    QTimer::singleShot(1300, dialog.get(), [&] {
      auto* sim = qobject_cast<CMqttSimDlg*>(QApplication::activeModalWidget());
      ASSERT_NE(sim, nullptr);
      EXPECT_EQ(sim->parentWidget(), dialog.get());
      EXPECT_GT(printers->listings, listings);  // the device poll goes on
      CheckOpenedWindow(*sim, zh);
      checked = true;
      QTest::keyClick(sim, Qt::Key_Escape);
    });
    QTest::mouseClick(dialog->Control(kIdSimulatorButton), Qt::LeftButton);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(dialog->findChildren<CMqttSimDlg*>().isEmpty());  // destroyed when it returned
  }
}

TEST_F(SimDlgTest, LanguageSwitchKeepsSelectionsMovesNothingAndShowsTheSubTopicAgain) {
  Combo(3007)->setCurrentIndex(1);
  Combo(3008)->setCurrentIndex(1);
  Combo(1111)->setCurrentIndex(2);
  qobject_cast<QLineEdit*>(dialog->Control(3005))->setText(QStringLiteral("jobs/p1"));
  dialog->SetConnectedUi(true);
  auto* topic = qobject_cast<QLineEdit*>(dialog->Control(1104));
  EXPECT_EQ(topic->text(), QStringLiteral("jobs/p1"));
  topic->setText(QStringLiteral("typed"));
  QList<QRect> places;
  for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) places << child->geometry();
  QTest::keyClick(Combo(1100), Qt::Key_Down);  // the user picks 中文
  EXPECT_TRUE(dialog->IsChinese());
  EXPECT_EQ(Combo(3007)->currentText(), QString::fromUtf16(u"启用 TLS"));
  EXPECT_EQ(Combo(3008)->currentText(), QString::fromUtf16(u"保留离线消息"));
  EXPECT_EQ(Combo(1111)->currentIndex(), 2);
  EXPECT_EQ(topic->text(), QStringLiteral("jobs/p1"));
  EXPECT_EQ(Text(dialog->Control(1110)), QString::fromUtf16(u"●  已连接"));
  QList<QRect> after;
  for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) after << child->geometry();
  EXPECT_EQ(after, places);
  // Opened in English: the faces stay until the next dpi change.
  if (QLocale::system().language() != QLocale::Chinese) {
    EXPECT_EQ(dialog->Control(1100)->font().families().value(0), QStringLiteral("Segoe UI"));
  }
  test::MaybeSaveShot(dialog->grab().toImage(), QStringLiteral("sim-zh-%1dpi").arg(dialog->Dpi()));
  // Opened in Chinese and switched to English: the Chinese faces stay.
  CMqttSimDlg chinese(nullptr, true, chooser);
  chinese.show();
  QTest::keyClick(qobject_cast<QComboBox*>(chinese.Control(1100)), Qt::Key_Up);
  EXPECT_FALSE(chinese.IsChinese());
  EXPECT_EQ(chinese.Control(1110)->font().families().value(0), QStringLiteral("Microsoft YaHei UI"));
}

TEST_F(SimDlgTest, BandsStatusColoursAndConnectedState) {
  const struct {
    bool connected;
    Rgb status;
  } states[] = {{false, 0xB91C1C}, {true, 0x166534}, {false, 0xB91C1C}};
  EXPECT_EQ(dialog->size(), QSize(S(920), S(780)));
  EXPECT_EQ(dialog->minimumSize(), QSize(S(640), S(760)));
  for (const auto& state : states) {
    dialog->TaskIds().Remember(7);
    dialog->SetConnectedUi(state.connected);
    EXPECT_EQ(dialog->Control(1102)->isEnabled(), !state.connected);
    EXPECT_EQ(dialog->Control(1103)->isEnabled(), state.connected);
    EXPECT_EQ(dialog->Control(1112)->isEnabled(), state.connected);
    EXPECT_EQ(dialog->TaskIds().Contains(7), state.connected);  // emptied by the disconnected state
    const QImage image = dialog->grab().toImage();
    const QRect status = dialog->Control(1110)->geometry();
    EXPECT_TRUE(Draws(image, state.status, status));
    EXPECT_FALSE(Draws(image, state.connected ? 0xB91C1C : 0x166534, status));
  }
  const QImage image = dialog->grab().toImage();
  test::MaybeSaveShot(image, QStringLiteral("sim-en-%1dpi").arg(dialog->Dpi()));
  const int w = dialog->width();
  const int h = dialog->height();
  EXPECT_EQ(Rgb24(image, 2, 2), 0x0F3460u);
  EXPECT_EQ(Rgb24(image, w / 2, S(56) - S(2) - 1), 0x0F3460u);
  EXPECT_EQ(Rgb24(image, w / 2, S(56) - S(2)), 0x0969DAu);
  EXPECT_EQ(Rgb24(image, w - 2, S(56) - 1), 0x0969DAu);
  EXPECT_EQ(Rgb24(image, w / 2, S(56)), 0xF5F7FAu);
  EXPECT_EQ(Rgb24(image, w - 2, h - 2), 0xF8F9FBu);  // message band
  EXPECT_EQ(Rgb24(image, w - 2, h - S(26) - 1), 0xF5F7FAu);
  for (int id : {3000, 1104, 1107}) {
    const QRect r = dialog->Control(id)->geometry();
    EXPECT_EQ(Rgb24(image, r.right() - S(8), r.center().y()), 0xFFFFFFu) << id;
  }
  dialog->resize(S(300), S(300));  // held at the minimum
  QApplication::processEvents();
  EXPECT_EQ(dialog->size(), QSize(S(640), S(760)));
  test::MaybeSaveShot(dialog->grab().toImage(), QStringLiteral("sim-en-minimum-%1dpi").arg(dialog->Dpi()));
}

TEST_F(SimDlgTest, LogLinesClearCapacityAndRouting) {
  const std::pair<int, Rgb> kinds[] = {{0, 0x374151}, {1, 0x166534}, {2, 0x0969DA}, {3, 0xB91C1C}, {9, 0x374151}};
  for (const auto& [kind, colour] : kinds) dialog->AppendLog(u"kind " + std::u16string(1, u'0' + kind), LogKind(kind));
  EXPECT_EQ(LogLines(*dialog), (Lines{"[09:05:03] kind 0", "[09:05:03] kind 1", "[09:05:03] kind 2",
                                            "[09:05:03] kind 3", "[09:05:03] kind 9"}));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(LineColour(*dialog, i), kinds[i].second) << i;
  QTest::mouseClick(dialog->Control(1108), Qt::LeftButton);  // Clear
  EXPECT_TRUE(LogLines(*dialog).empty());
  // The client's status records reach the window; then Disconnect logs its line.
  PostMqttRecord(dialog.get(), WM_MQTT_STATUS, std::make_unique<MqttStatusEvent>(MqttStatusEvent{true, "Connected."}));
  QApplication::processEvents();
  EXPECT_TRUE(dialog->IsConnected());
  QTest::mouseClick(dialog->Control(1103), Qt::LeftButton);
  EXPECT_EQ(LogLines(*dialog), (Lines{"[09:05:03] Connected.", "[09:05:03] Disconnecting..."}));
  // Capacity: 3 lines, then 34 units (16 per line plus its end): oldest go first.
  dialog->SetLogLimits(3, 1000);
  for (const char16_t* text : {u"abcde", u"fghij", u"klmno"}) dialog->AppendLog(text, LogKind::Sent);
  EXPECT_EQ(LogLines(*dialog), (Lines{"[09:05:03] abcde", "[09:05:03] fghij", "[09:05:03] klmno"}));
  EXPECT_EQ(LineColour(*dialog, 0), 0x0969DAu);
  dialog->SetLogLimits(3, 34);
  EXPECT_EQ(LogLines(*dialog), (Lines{"[09:05:03] fghij", "[09:05:03] klmno"}));
  dialog->SetLogLimits(3, 33);
  EXPECT_EQ(LogLines(*dialog), (Lines{"[09:05:03] klmno"}));
  dialog->SetLogLimits(3, 5);  // the newest line stays whole
  EXPECT_EQ(LogLines(*dialog), (Lines{"[09:05:03] klmno"}));
  // Over a cap of 200, three lines go at once: the excess and a hundredth.
  dialog->SetLogLimits(200, 1 << 20);
  for (int i = 0; i < 200; ++i) dialog->AppendLog(u"x", LogKind::Info);
  EXPECT_EQ(LogLines(*dialog).size(), 198u);
  EXPECT_EQ(LogLines(*dialog).front(), "[09:05:03] x");
}

TEST_F(SimDlgTest, ExportWritesUtf8LinesAtomically) {
  const QString dir = QDir::tempPath() + QStringLiteral("/qm-sim-export-%1").arg(getpid());
  QDir().mkpath(dir);
  const QString file = dir + QStringLiteral("/log.txt");
  const auto read = [&] {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<none>");
  };
  const auto exportTo = [&](const QString& path) {
    chooser.path = path;
    QTest::mouseClick(dialog->Control(1109), Qt::LeftButton);
  };
  dialog->AppendLog(u"中文 line", LogKind::Info);
  dialog->AppendLog(u"emoji 😀 é", LogKind::Received);
  exportTo(file);
  EXPECT_EQ(chooser.asked, QStringLiteral("mqtt_log.txt|Text Files (*.txt)"));
  EXPECT_EQ(read(), QByteArray("[09:05:03] \xE4\xB8\xAD\xE6\x96\x87 line\n[09:05:03] emoji \xF0\x9F\x98\x80 \xC3\xA9\n"));
  EXPECT_EQ(LogLines(*dialog).at(2), "[09:05:03] Log exported.");
  EXPECT_EQ(LineColour(*dialog, 2), 0x374151u);
  exportTo(QString());  // cancelled: no line
  EXPECT_EQ(LogLines(*dialog).size(), 3);
  exportTo(dir + QStringLiteral("/missing/log.txt"));
  EXPECT_EQ(LogLines(*dialog).at(3), "[09:05:03] Export failed.");
  EXPECT_EQ(LineColour(*dialog, 3), 0xB91C1Cu);
  // A write that fails half-way (file size limit) leaves the old file whole.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const rlimit tiny{16, old.rlim_max};
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &tiny);
  exportTo(file);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(LogLines(*dialog).at(4), "[09:05:03] Export failed.");
  EXPECT_EQ(read(), QByteArray("[09:05:03] \xE4\xB8\xAD\xE6\x96\x87 line\n[09:05:03] emoji \xF0\x9F\x98\x80 \xC3\xA9\n"));
  QTest::mouseClick(dialog->Control(1108), Qt::LeftButton);
  exportTo(file);
  EXPECT_EQ(read(), QByteArray());
  EXPECT_EQ(LogLines(*dialog), Lines{"[09:05:03] Log exported."});
  QDir(dir).removeRecursively();
}

TEST(SimDlgEnding, EnterInAFormEditEscAndTheCloseBoxEndTheModalRun) {
  const std::pair<std::function<void(CMqttSimDlg&)>, int> cases[] = {
      {[](CMqttSimDlg& d) { QTest::keyClick(d.Control(3001), Qt::Key_Return); }, QDialog::Accepted},
      {[](CMqttSimDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
      {[](CMqttSimDlg& d) { d.close(); }, QDialog::Rejected},
  };
  for (const auto& [act, result] : cases) {
    FakeSaveChooser chooser;
    CMqttSimDlg modal(nullptr, false, chooser);
    QTimer::singleShot(200, &modal, [&, act = act] { act(modal); });
    QTimer::singleShot(20000, &modal, [&] { modal.done(99); });
    EXPECT_EQ(modal.exec(), result);
  }
}

TEST(SimDlgEnding, ClosingWhileAConnectionIsMadeLeavesNoCallback) {
  // A broker that takes the TCP connection and never answers.
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(listen(listener, 4), 0);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  FakeSaveChooser chooser;
  auto sim = std::make_unique<CMqttSimDlg>(nullptr, false, chooser);
  sim->show();
  MqttConnectOptions options;
  options.serverUri = "mqtt://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  options.clientId = "closing-window";
  options.subTopic = "jobs";
  ASSERT_TRUE(sim->Client().Connect(options));
  ASSERT_TRUE(test::WaitUntil([&] { return !LogLines(*sim).empty(); }, std::chrono::seconds(5)));
  EXPECT_EQ(LogLines(*sim).front().rfind("[", 0), 0u);
  EXPECT_NE(LogLines(*sim).front().find("] Connecting to mqtt://127.0.0.1:"), std::string::npos);
  sim->close();
  sim.reset();  // the client ends the attempt before the window's storage goes
  test::Pump(std::chrono::milliseconds(300));
  close(listener);
}

}  // namespace
}  // namespace qm
