// SPDX-License-Identifier: MIT
// The MQTT simulator window: opened from the main window, controls, texts,
// language switch, look, log, export and ending.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QWindow>
#include <cerrno>
#include <csignal>

#include "ui/CMqttSimDlg.h"
#include "ui/FileChooser.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using namespace std::chrono_literals;
using test::Rgb24;

struct FakeSaveChooser final : FileChooser {
  QString ChooseOpenFile(QWidget*, const QString&) override { return {}; }
  QString ChooseSaveFile(QWidget*, const QString& name, const QString& filters) override {
    return asked = name + u'|' + filters, path;
  }
  QString path, asked;
};

std::string Text(const QWidget* w) { return w->property("text").toString().toStdString(); }
std::string Face(const QWidget* w) { return w->font().families().value(0).toStdString(); }
std::string LogText(const CMqttSimDlg& d) { return d.Log()->toPlainText().toStdString(); }
std::vector<Rgb> LineColours(const CMqttSimDlg& dialog) {
  std::vector<Rgb> colours;
  for (QTextBlock b = dialog.Log()->document()->begin(); b.isValid(); b = b.next())
    colours.push_back(b.begin().fragment().charFormat().foreground().color().rgb() & 0xFFFFFF);
  return colours;
}
QComboBox* Combo(const CMqttSimDlg& d, int id) { return qobject_cast<QComboBox*>(d.Control(id)); }

class SimDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog->SetLogClock([] { return QTime(9, 5, 3); });
    dialog->show();
    ASSERT_TRUE(test::WaitUntil([&] { return dialog->isVisible(); }, 5s));
  }
  FakeSaveChooser chooser;
  std::unique_ptr<CMqttSimDlg> dialog = std::make_unique<CMqttSimDlg>(nullptr, false, chooser);
};

// What an opened window shows: title, texts, drop-downs, primary buttons,
// faces, Tab order, owner and the client's connect time-out.
std::string Snapshot(CMqttSimDlg& sim) {
  std::string shown = sim.windowTitle().toStdString();
  for (int id : {1102, 1103, 1112, 1108, 1109, 1110, 1101, 3002})
    shown += "|" + Text(sim.Control(id));
  for (QWidget* child : sim.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    shown += ControlIdOf(child) == 0xFFFF ? "|" + Text(child) : "";
  for (QComboBox* combo :
       {Combo(sim, 1100), Combo(sim, 1111), Combo(sim, 3007), Combo(sim, 3008)}) {
    shown += "\n" + std::to_string(combo->currentIndex());
    for (int i = 0; i < combo->count(); ++i) shown += "|" + combo->itemText(i).toStdString();
  }
  shown += "\n" + Face(sim.Control(1100)) + "|" + Face(sim.Control(1110)) + "\nprimary";
  for (int id : {1102, 1103, 1112, 1108, 1109})
    shown += " " + std::to_string(qobject_cast<CModernButton*>(sim.Control(id))->IsPrimary());
  shown += "\nTab";
  QWidget* widget = sim.Control(1100);
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->parentWidget() == &sim)
      shown += " " + std::to_string(ControlIdOf(widget));
    widget = widget->nextInFocusChain();
  } while (widget != sim.Control(1100));
  return shown + "\nowner " + sim.parentWidget()->metaObject()->className() + ", " +
         std::to_string(sim.Client().ConnectTimeout().count()) + " s";
}

class SimFromMainTest : public test::ShownMainDlg {};

TEST_F(SimFromMainTest, ButtonRunsTheWindowModallyInTheMainWindowsLanguageTillEnterEscOrClose) {
  const std::string tail =
      "\nprimary 1 0 1 0 0\nTab 1100 1102 1103 3000 3001 3002 3003 3004 3005 3006 3007 3008 1104 "
      "1111 1112 1108 1109\nowner qm::CMainDlg, 30 s";
  const std::string expected[] = {
      "VARNO  MQTT Client Simulator (Self-hosted)|Connect|Disconnect|Test|Clear|Export|○  "
      "Disconnected|Self-hosted MQTT connection parameters.|1883|  VARNO  MQTT Client Simulator "
      "(Self-hosted)|Language:|clientID / SN|domain / "
      "IP|port|username|password|sub_topic|pub_topic|"
      "TLS|Clean Session|Publish|Topic:|Content Test:|Message Log\n0|English|中文\n0|JSON "
      "Receipt|JSON LABEL TSPL|JSON label CPCL\n0|Disable TLS|Enable TLS\n0|Clear offline "
      "messages|Keep offline messages\nSegoe UI|Segoe UI Semibold",
      "VARNO  MQTT 客户端模拟器（自建）|连接|断开|测试|清空|导出|○  未连接|自建 MQTT 连接参数。|"
      "1883|  VARNO  MQTT 客户端模拟器（自建）|语言：|clientID / SN|域名 / IP|端口|用户名|密码|"
      "订阅主题|发布主题|TLS|Clean Session|发布消息|主题：|内容测试：|消息日志\n1|English|中文\n0|"
      "JSON Receipt|JSON LABEL TSPL|JSON label CPCL\n0|不启用 TLS|启用 TLS\n0|清除离线消息|"
      "保留离线消息\nMicrosoft YaHei UI|Microsoft YaHei UI"};
  // Each way of ending the modal run, in one language or the other.
  const std::pair<int, std::function<void(CMqttSimDlg*)>> runs[] = {
      {0, [](CMqttSimDlg* d) { QTest::keyClick(d->Control(3001), Qt::Key_Return); }},
      {1, [](CMqttSimDlg* d) { QTest::keyClick(d, Qt::Key_Escape); }},
      {1, [](CMqttSimDlg* d) { d->close(); }}};
  for (const auto& [zh, end] : runs) {
    Choose(kIdLanguageCombo, zh);
    std::string shown = "<not opened>";
    test::DriveNestedLoop(
        [&] { QTest::mouseClick(dialog->Control(kIdSimulatorButton), Qt::LeftButton); },
        test::ActiveModal,
        [&, end = end](QWidget* modal) {
          auto* sim = qobject_cast<CMqttSimDlg*>(modal);
          const int listings = printers->listings;
          timers->Advance(1000);  // the device poll goes on under the window
          shown = Snapshot(*sim) + (printers->listings > listings ? "" : " (poll stopped)");
          end(sim);
          shown += sim->isVisible() ? " (left open)" : "";
        });
    EXPECT_EQ(shown, expected[zh] + tail);
    EXPECT_TRUE(dialog->findChildren<CMqttSimDlg*>().isEmpty());  // destroyed when it returned
  }
}

TEST_F(SimDlgTest, BandsStatusColoursConnectedStateAndLanguageSwitch) {
  // The test runs at 96 and at 144 dpi: the literals of both.
  const bool dense = dialog->Dpi() == 144;
  ASSERT_EQ(dialog->Dpi(), dense ? 144 : 96);
  for (bool connected : {false, true, false}) {
    dialog->SetConnectedUi(connected);
    EXPECT_EQ(dialog->Control(1102)->isEnabled(), !connected);
    EXPECT_EQ(dialog->Control(1103)->isEnabled() + dialog->Control(1112)->isEnabled(),
              2 * connected);
    const QImage image = dialog->grab().toImage();
    const QRect status = dialog->Control(1110)->geometry();
    EXPECT_TRUE(test::Draws(image, connected ? 0x166534 : 0xB91C1C, status));
    EXPECT_FALSE(test::Draws(image, connected ? 0xB91C1C : 0x166534, status));
  }
  const QImage image = dialog->grab().toImage();
  const QRect log = dialog->Control(1107)->geometry();
  const std::tuple<int, int, Rgb> pixels[] = {
      {2, 2, 0x0F3460},
      {2, dense ? 83 : 55, 0x0969DA},  // the accent line
      {2, dense ? 84 : 56, 0xF5F7FA},
      {2, dialog->height() - 2, 0xF8F9FB},
      {log.right() - (dense ? 12 : 8), log.y() + 20, 0xFFFFFF}};
  for (const auto& [x, y, colour] : pixels) EXPECT_EQ(Rgb24(image, x, y), colour) << x << "," << y;
  dialog->resize(10, 10);  // held at the minimum
  QApplication::processEvents();
  EXPECT_EQ(dialog->size(), dense ? QSize(960, 1140) : QSize(640, 760));
  // The language switch keeps selections, moves nothing and shows the sub topic again.
  for (int id : {3007, 3008}) Combo(*dialog, id)->setCurrentIndex(1);
  Combo(*dialog, 1111)->setCurrentIndex(2);
  qobject_cast<QLineEdit*>(dialog->Control(3005))->setText(QStringLiteral("jobs/p1"));
  dialog->SetConnectedUi(true);
  auto* topic = qobject_cast<QLineEdit*>(dialog->Control(1104));
  topic->setText(QStringLiteral("typed"));
  const auto places = [&] {
    QList<QRect> rects;
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      rects << child->geometry();
    return rects;
  };
  const QList<QRect> before = places();
  QTest::keyClick(Combo(*dialog, 1100), Qt::Key_Down);  // the user picks 中文
  EXPECT_EQ(Combo(*dialog, 3007)->currentText() + Combo(*dialog, 3008)->currentText(),
            QString::fromUtf16(u"启用 TLS保留离线消息"));
  EXPECT_EQ(Combo(*dialog, 1111)->currentIndex(), 2);
  EXPECT_EQ(topic->text().toStdString(), "jobs/p1");
  EXPECT_EQ(Text(dialog->Control(1110)), "●  已连接");
  EXPECT_EQ(places(), before);
}

TEST_F(SimDlgTest, LogLinesClearCapacityAndRouting) {
  for (int kind : {0, 1, 2, 3, 9})
    dialog->AppendLog(u"k" + std::u16string(1, u'0' + kind), LogKind(kind));
  EXPECT_EQ(LogText(*dialog),
            "[09:05:03] k0\n[09:05:03] k1\n[09:05:03] k2\n[09:05:03] k3\n[09:05:03] k9");
  EXPECT_EQ(LineColours(*dialog),
            (std::vector<Rgb>{0x374151, 0x166534, 0x0969DA, 0xB91C1C, 0x374151}));
  QTest::mouseClick(dialog->Control(1108), Qt::LeftButton);  // Clear logs nothing
  EXPECT_EQ(LogText(*dialog), "");
  dialog->SetConnectedUi(true);
  QTest::mouseClick(dialog->Control(1103), Qt::LeftButton);
  EXPECT_EQ(LogText(*dialog), "[09:05:03] Disconnecting...");
  // Capacity: 3 lines, then 34 units (16 a line and its end); the oldest go first.
  dialog->SetLogLimits(3, 1000);
  for (const char16_t* t : {u"abcde", u"fghij", u"klmno", u"pqrst"})
    dialog->AppendLog(t, LogKind::Sent);
  EXPECT_EQ(LogText(*dialog), "[09:05:03] fghij\n[09:05:03] klmno\n[09:05:03] pqrst");
  for (int units : {34, 33, 5}) {  // the newest line always stays
    dialog->SetLogLimits(3, units);
    EXPECT_EQ(LogText(*dialog),
              units == 34 ? "[09:05:03] klmno\n[09:05:03] pqrst" : "[09:05:03] pqrst");
  }
}

TEST_F(SimDlgTest, ExportWritesUtf8LinesAtomically) {
  const QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("log.txt"));
  const auto read = [&] {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll().toStdString() : std::string("<none>");
  };
  const auto exportTo = [&](const QString& path) {
    chooser.path = path;
    QTest::mouseClick(dialog->Control(1109), Qt::LeftButton);
  };
  const std::string bytes =
      "[09:05:03] \xE4\xB8\xAD\xE6\x96\x87 line\n[09:05:03] emoji \xF0\x9F\x98\x80 \xC3\xA9\n";
  dialog->AppendLog(u"中文 line", LogKind::Info);
  dialog->AppendLog(u"emoji 😀 é", LogKind::Received);
  exportTo(file);
  EXPECT_EQ(chooser.asked.toStdString(), "mqtt_log.txt|Text Files (*.txt)");
  EXPECT_EQ(read(), bytes);
  exportTo(QString());  // cancelled: no line
  // A write that fails half-way (file size limit) leaves the old file whole.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const rlimit tiny{16, old.rlim_max};
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &tiny);
  exportTo(file);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(read(), bytes);
  EXPECT_EQ(LogText(*dialog).substr(bytes.size() - 1),
            "\n[09:05:03] Log exported.\n[09:05:03] Export failed.");
  EXPECT_EQ(LineColours(*dialog), (std::vector<Rgb>{0x374151, 0x166534, 0x374151, 0xB91C1C}));
  QTest::mouseClick(dialog->Control(1108), Qt::LeftButton);
  exportTo(file);
  EXPECT_EQ(read(), "");
}

// Closed while the broker has taken the connection but not answered: the
// connection ends with the window (under ASan: before the window's storage).
TEST(SimDlgEnding, ClosingWhileAConnectionIsMadeEndsTheConnection) {
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
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
  ASSERT_TRUE(sim->Client().Connect(options));
  ASSERT_TRUE(test::WaitUntil(
      [&] { return LogText(*sim).find("] Connecting to mqtt://127") != std::string::npos; }, 5s));
  pollfd waiting{listener, POLLIN, 0};
  ASSERT_EQ(poll(&waiting, 1, 5000), 1);
  const int peer = accept(listener, nullptr, nullptr);
  sim->close();
  sim.reset();
  const auto ended = [peer] {
    char bytes[256];
    const ssize_t got = recv(peer, bytes, sizeof bytes, MSG_DONTWAIT);
    return got == 0 || (got < 0 && errno != EAGAIN);
  };
  EXPECT_TRUE(test::WaitUntil(ended, 3s)) << "the connection outlived the window";
  close(peer);
  close(listener);
}

// Moved to a 144-dpi screen and back (the two-screen desktop of ui_sim_dlg_dpi_test).
TEST(SimDlgDpi, FontsAndSizesFollowTheScreen) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  ASSERT_EQ(screens.size(), 2) << "needs the two-screen offscreen desktop";
  FakeSaveChooser chooser;
  CMqttSimDlg sim(nullptr, false, chooser);
  sim.show();
  ASSERT_TRUE(test::WaitUntil([&] { return sim.isVisible() && sim.Dpi() == 96; }, 5s));
  QScreen* const home = sim.windowHandle()->screen();
  QScreen* const dense = screens[0] == home ? screens[1] : screens[0];
  const std::tuple<QScreen*, int, QSize, QRect, const char*> moves[] = {
      {dense, 144, {1380, 1170}, {18, 540, 165, 45}, "Segoe UI"},
      {home, 96, {920, 780}, {12, 360, 110, 30}, "Microsoft YaHei UI"}};
  for (const auto& [screen, dpi, size, connect, face] : moves) {
    sim.windowHandle()->setScreen(screen);
    ASSERT_TRUE(test::WaitUntil([&, dpi = dpi] { return sim.Dpi() == dpi; }, 5s));
    QApplication::processEvents();
    EXPECT_EQ(sim.size(), size);
    EXPECT_EQ(sim.Control(1102)->geometry(), connect);
    EXPECT_EQ(Face(sim.Control(1110)), face);
    // Chinese chosen: the faces change only with the next move.
    QTest::keyClick(Combo(sim, 1100), Qt::Key_Down);
    EXPECT_EQ(Face(sim.Control(1100)), face);
  }
}

}  // namespace
}  // namespace qm
