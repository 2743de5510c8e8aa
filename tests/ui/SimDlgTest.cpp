// SPDX-License-Identifier: MIT
// The MQTT simulator window: opened from the main window, texts, look, log, export and ending.
#include <arpa/inet.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QClipboard>
#include <QFile>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QWindow>
#include <csignal>

#include "ui/CMqttSimDlg.h"
#include "ui/FileChooser.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using namespace std::chrono_literals;

struct FakeSaveChooser final : FileChooser {
  QString ChooseOpenFile(QWidget*, const QString&, const QString&) override { return {}; }
  QString ChooseSaveFile(QWidget*, const QString& name, const QString& filters) override {
    return asked = name + u'|' + filters, path;
  }
  QString path, asked;
};

std::string Face(const QWidget* w) { return w->font().families().value(0).toStdString(); }

class SimDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog->SetLogClock([] { return QTime(9, 5, 3); });
    dialog->show();
    ASSERT_TRUE(test::WaitUntil([&] { return dialog->isVisible(); }, 5s));
  }
  QWidget* At(int id) const { return dialog->Control(id); }
  QComboBox* Combo(int id) const { return qobject_cast<QComboBox*>(At(id)); }
  // The log's lines, each with its colour when asked for.
  std::string Log(bool colours = false) const {
    std::string log;
    for (QTextBlock b = dialog->Log()->document()->begin(); b.isValid(); b = b.next()) {
      const QRgb rgb = b.begin().fragment().charFormat().foreground().color().rgb() & 0xFFFFFF;
      log += b.text().toStdString() +
             (colours ? QStringLiteral(" #%1").arg(rgb, 6, 16, QChar(u'0')).toStdString() : "");
      log += b.next().isValid() ? "\n" : "";
    }
    return log;
  }
  FakeSaveChooser chooser;
  std::unique_ptr<CMqttSimDlg> dialog = std::make_unique<CMqttSimDlg>(nullptr, false, chooser);
};

// A socket listening on a free loopback port; its port.
int ListenOnLoopback(std::uint16_t& port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  socklen_t length = sizeof address;
  auto* raw = reinterpret_cast<sockaddr*>(&address);
  if (bind(fd, raw, length) + listen(fd, 4) + getsockname(fd, raw, &length) != 0) return -1;
  port = ntohs(address.sin_port);
  return fd;
}

// Title, controls in creation order (* primary, drop-downs "index{items}"), faces, owner, time-out.
std::string Snapshot(CMqttSimDlg& sim) {
  std::string shown = sim.windowTitle().toStdString() + "\n";
  for (QWidget* c : sim.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (auto* combo = qobject_cast<QComboBox*>(c)) {
      shown += std::to_string(combo->currentIndex()) + "{";
      for (int i = 0; i < combo->count(); ++i) shown += combo->itemText(i).toStdString() + ",";
      shown += "}|";
    } else if (c->property("text").isValid()) {
      auto* b = qobject_cast<CModernButton*>(c);
      shown += c->property("text").toString().toStdString() + (b && b->IsPrimary() ? "*|" : "|");
    }
  }
  const QImage image = sim.grab().toImage();  // status colour, header and message bands
  for (QRgb rgb : {sim.Control(1110)->palette().color(QPalette::WindowText).rgb(),
                   image.pixel(2, 2), image.pixel(2, image.height() - 2)})
    shown += QStringLiteral("#%1 ").arg(rgb & 0xFFFFFF, 6, 16, QChar(u'0')).toStdString();
  return shown + "\n" + Face(sim.Control(1100)) + "|" + Face(sim.Control(1110)) + "\nowner " +
         sim.parentWidget()->metaObject()->className() + ", " +
         std::to_string(sim.Client().ConnectTimeout().count()) + " s";
}

class SimFromMainTest : public test::ShownMainDlg {};

// Run modally in the main window's language, ended by Enter in a form edit, Esc or the close box.
TEST_F(SimFromMainTest, ButtonRunsTheWindowModallyInTheMainWindowsLanguage) {
  // clang-format off
  const std::string tail = "\nowner qm::CMainDlg, 30 s", expected[] = {
      "VARNO  MQTT Client Simulator (Self-hosted)\n  VARNO  MQTT Client Simulator (Self-hosted)|"
      "Language:|0{English,中文,}|Connect*|Disconnect|○  Disconnected|Self-hosted MQTT connection "
      "parameters.|clientID / SN||domain / IP||port|1883|username||password||sub_topic||pub_topic||"
      "TLS|0{Disable TLS,Enable TLS,}|Clean Session|0{Clear offline messages,Keep offline messages,}|"
      "Publish|Topic:||Content Test:|0{JSON Receipt,JSON LABEL TSPL,JSON label CPCL,}|Test*|"
      "Message Log|Clear|Export|#b91c1c #0f3460 #f8f9fb \nSegoe UI|Segoe UI Semibold" + tail,
      "VARNO  MQTT 客户端模拟器（自建）\n  VARNO  MQTT 客户端模拟器（自建）|语言：|1{English,中文,}|"
      "连接*|断开|○  未连接|自建 MQTT 连接参数。|clientID / SN||域名 / IP||端口|1883|用户名||密码||"
      "订阅主题||发布主题||TLS|0{不启用 TLS,启用 TLS,}|Clean Session|0{清除离线消息,保留离线消息,}|"
      "发布消息|主题：||内容测试：|0{JSON Receipt,JSON LABEL TSPL,JSON label CPCL,}|测试*|消息日志|"
      "清空|导出|#b91c1c #0f3460 #f8f9fb \nMicrosoft YaHei UI|Microsoft YaHei UI" + tail};
  // clang-format on
  for (int run : {0, 1, 2}) {  // Enter in English, Esc and the close box in Chinese
    Choose(kIdLanguageCombo, run > 0);
    std::string shown = "<not opened>";
    test::DriveNestedLoop(
        [&] { QTest::mouseClick(dialog->Control(kIdSimulatorButton), Qt::LeftButton); },
        test::ActiveModal,
        [&](QWidget* modal) {
          auto* sim = qobject_cast<CMqttSimDlg*>(modal);
          const int listings = printers->listings;
          timers->Advance(1000);  // the device poll goes on under the window
          shown = Snapshot(*sim) + (printers->listings > listings ? "" : " (poll stopped)");
          if (run == 0) QTest::keyClick(sim->Control(3001), Qt::Key_Return);
          if (run == 1) QTest::keyClick(sim, Qt::Key_Escape);
          if (run == 2) sim->close();
          shown += sim->isVisible() ? " (left open)" : "";
        });
    EXPECT_EQ(shown, expected[run > 0]);
    EXPECT_TRUE(dialog->findChildren<CMqttSimDlg*>().isEmpty());  // destroyed when it returned
  }
}

TEST_F(SimDlgTest, LogLinesClearCapacityAndDisconnect) {
  for (int kind : {0, 1, 2, 3, 9})
    dialog->AppendLog(u"k" + std::u16string(1, u'0' + kind), LogKind(kind));
  EXPECT_EQ(Log(true),
            "[09:05:03] k0 #374151\n[09:05:03] k1 #166534\n[09:05:03] k2 #0969da\n"
            "[09:05:03] k3 #b91c1c\n[09:05:03] k9 #374151");
  QTest::mouseClick(At(1108), Qt::LeftButton);  // Clear logs nothing
  EXPECT_EQ(Log(), "");
  dialog->SetConnectedUi(true);
  EXPECT_EQ(std::tuple(At(1102)->isEnabled(), At(1103)->isEnabled(), At(1112)->isEnabled(),
                       At(1110)->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF),
            std::tuple(false, true, true, 0x166534u));
  QTest::mouseClick(At(1103), Qt::LeftButton);
  EXPECT_EQ(Log(), "[09:05:03] Disconnecting...");
  // Capacity: 3 lines, then 34 units (16 a line and its end); the oldest go first.
  dialog->SetLogLimits(3, 1000);
  for (const char16_t* t : {u"abcde", u"fghij", u"klmno", u"pqrst"})
    dialog->AppendLog(t, LogKind::Sent);
  EXPECT_EQ(Log(), "[09:05:03] fghij\n[09:05:03] klmno\n[09:05:03] pqrst");
  for (int units : {34, 33, 5}) {  // the newest line always stays
    dialog->SetLogLimits(3, units);
    EXPECT_EQ(Log(), units == 34 ? "[09:05:03] klmno\n[09:05:03] pqrst" : "[09:05:03] pqrst");
  }
}

TEST_F(SimDlgTest, ExportWritesUtf8LinesAtomically) {
  const QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("log.txt"));
  const auto exportAndRead = [&](const QString& path) {
    chooser.path = path;
    QTest::mouseClick(At(1109), Qt::LeftButton);
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll().toStdString() : std::string("<none>");
  };
  dialog->AppendLog(u"中文 line", LogKind::Info);
  dialog->AppendLog(u"emoji 😀 é", LogKind::Received);
  const std::string bytes = exportAndRead(file);
  EXPECT_EQ(bytes, "[09:05:03] 中文 line\n[09:05:03] emoji 😀 é\n");
  EXPECT_EQ(chooser.asked.toStdString(), "mqtt_log.txt|Text Files (*.txt)");
  exportAndRead(QString());  // cancelled: no line
  // A write cut off by the file size limit leaves the old file whole.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const rlimit tiny{16, old.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &tiny);
  const std::string after = exportAndRead(file);
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(after, bytes);
  EXPECT_EQ(Log(true),
            "[09:05:03] 中文 line #374151\n[09:05:03] emoji 😀 é #166534\n[09:05:03] Log exported. "
            "#374151\n[09:05:03] Export failed. #b91c1c");
  QTest::mouseClick(At(1108), Qt::LeftButton);
  EXPECT_EQ(exportAndRead(file), "");
}

// To 144 dpi and back: size, layout and faces follow; Chinese chosen takes its faces next move.
TEST_F(SimDlgTest, DpiMovesRescaleAndRemakeTheFonts) {
  QScreen* const home = dialog->windowHandle()->screen();
  std::vector<std::tuple<int, int, int, std::string>> seen;
  for (QScreen* to :
       {QGuiApplication::screens().value(home == QGuiApplication::screens()[0]), home}) {
    dialog->windowHandle()->setScreen(to);
    test::WaitUntil([&] { return dialog->Dpi() == (to == home ? 96 : 144); }, 5s);
    QTest::keyClick(Combo(1100), Qt::Key_Down);
    seen.emplace_back(dialog->Dpi(), dialog->width(), At(1102)->x(), Face(At(1110)));
  }
  EXPECT_EQ(seen,
            (decltype(seen){{144, 1380, 18, "Segoe UI"}, {96, 920, 12, "Microsoft YaHei UI"}}));
}

// Closed while the broker has taken the connection but not answered: the connection ends.
TEST_F(SimDlgTest, ClosingWhileAConnectionIsMadeEndsTheConnection) {
  std::uint16_t port = 0;
  const int fd = ListenOnLoopback(port);
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(dialog->Client().Connect(
      {"mqtt://127.0.0.1:" + std::to_string(port), "closing-window", "", "", "", "", 1}));
  int peer = -1;
  ASSERT_TRUE(test::WaitUntil([&] { return (peer = accept(fd, nullptr, nullptr)) >= 0; }, 5s));
  dialog->close();
  dialog.reset();
  char bytes[256];
  EXPECT_TRUE(test::WaitUntil([&] { return recv(peer, bytes, 256, MSG_DONTWAIT) == 0; }, 3s));
  close(peer);
  close(fd);
}

// Every edit drops the control characters of a paste; a topic MQTT forbids is refused before any
// packet (log English, message line Chinese); the pasted id connects as shown, the first to reach
// the host; a job topic edited since into a filter takes no test job.
TEST_F(SimDlgTest, ControlCharactersAndForbiddenTopicsNeverReachTheBroker) {
  std::uint16_t port = 0;
  const int fd = ListenOnLoopback(port);
  ASSERT_GE(fd, 0);
  QTest::keyClick(Combo(1100), Qt::Key_Down);  // Chinese
  const auto edit = [&](int id) { return qobject_cast<QLineEdit*>(At(id)); };
  QString shown;
  for (int id : {3000, 3001, 3002, 3003, 3004, 3005, 3006, kIdSimTopicEdit}) {
    edit(id)->clear(), edit(id)->setFocus();
    QGuiApplication::clipboard()->setText(QString::fromUtf16(u"\0P1\u001B\r\n\u0085X", 8));
    QTest::keyClick(edit(id), Qt::Key_V, Qt::ControlModifier);
    shown += edit(id)->text() + u'|';
  }
  EXPECT_EQ(shown, QStringLiteral("P1X|").repeated(8));
  edit(3001)->setText(QStringLiteral("127.0.0.1")), edit(3002)->setText(QString::number(port));
  edit(3006)->setText(QStringLiteral("a/#")), QTest::mouseClick(At(kIdSimConnect), Qt::LeftButton);
  EXPECT_EQ(std::tuple(Log(true), At(kIdSimMessageLine)->property("text").toString(),
                       At(kIdSimConnect)->isEnabled()),
            std::tuple("[09:05:03] Publish topic must not contain + or #. #b91c1c",
                       QString::fromUtf16(u"发布主题不能含有 + 或 #。"), true));
  edit(3006)->setText(QStringLiteral("P1X"));
  QTest::mouseClick(At(kIdSimConnect), Qt::LeftButton);
  int peer = -1;
  ASSERT_TRUE(test::WaitUntil([&] { return (peer = accept(fd, nullptr, nullptr)) >= 0; }, 5s));
  std::string connect;
  test::WaitUntil(
      [&] {
        connect.resize(256);  // the CONNECT packet, as far as it came
        connect.resize(std::max(0L, recv(peer, connect.data(), 256, MSG_DONTWAIT | MSG_PEEK)));
        return connect.find("P1X-pc") != std::string::npos;
      },
      5s);
  EXPECT_NE(connect.find(std::string("\0\x06P1X-pc", 8)), std::string::npos) << connect;
  ASSERT_EQ(send(peer, "\x20\x02\x00\x00", 4, MSG_NOSIGNAL), 4);  // accepted
  ASSERT_TRUE(test::WaitUntil([&] { return dialog->IsConnected(); }, 5s));
  edit(3005)->setText(QStringLiteral("+/b")), QTest::mouseClick(At(kIdSimClear), Qt::LeftButton);
  QTest::mouseClick(At(kIdSimTest), Qt::LeftButton);
  EXPECT_EQ(Log(true), "[09:05:03] 测试任务发往订阅主题，而它含有 + 或 #：未发布。 #b91c1c");
  close(peer);
  dialog->close();
  dialog.reset();
  close(fd);
}

}  // namespace
}  // namespace qm
