// SPDX-License-Identifier: MIT
// The main window on the test's clock; each printer's device node is a FIFO recording the writes.
#include <sys/stat.h>
#include <unistd.h>

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using namespace Qt::StringLiterals;

using Bytes = std::vector<std::uint8_t>;
constexpr Rgb kGrey = 0x374151, kRed = 0xB91C1C, kGreen = 0x15803D;

// A page's rows as "key=text|key=text"; the records they make.
// clang-format off
const QString kAlibaba = u"productKey=a1B2c3|deviceName= dev01 |deviceSecret=s3cr3t|"
                         u"url=iot.example.com|port=8883|subTopic=get|pubTopic=update"_s;
const QString kSelfHosted = u"clientId=SN0001|domain=mqtt.example.org|port= 1884 |"
                            u"username=user|password=pass|subTopic=down|pubTopic=up"_s;
const QString kTencent =
    u"productKey=TPK01|deviceName=tdev|deviceSecret=tsecret|subTopic=s|pubTopic=p"_s;
const std::string kAlibabaJson = R"({"Key":"a1B2c3","SN":"dev01","Pass":"s3cr3t",)"
    R"("Url":"iot.example.com","Port":8883,"SUB":"user/get","PUB":"user/update","Type":1})";
const std::string kSelfHostedJson = R"({"Key":"user","SN":"SN0001","Pass":"pass",)"
    R"("Url":"mqtt.example.org","Port":1884,"SUB":"down","PUB":"up","Type":2,"tls":1,"sen":0})";
// clang-format on

UsbDeviceEntry EntryFor(const test::FifoDevice& node, std::u16string name, std::u16string sn) {
  return {u"usb#vid_1234&pid_0a0b#" + sn + u"#" + node.WidePath(),
          name + u"  (VID_1234 PID_0A0B)  " + sn, 0x1234, 0x0A0B};
}

// The two frames a page sends for a record and a name, printer or "SW" family.
Bytes ExpectedPair(bool sw, std::string json, std::string name) {
  const std::string j(1, char(json.size())), n(1, char(name.size())), zeros(3, '\0');
  const std::string out = sw ? "SW\xF1" + j + zeros + json + "SW\xF0" + n + zeros + name
                             : "\x1B\x1C\x1D\x08\x04" + json +
                                   "\r\n\x1D\x1E\x1F\x1B\x1C\x1D\x01\x01" + n + name +
                                   "\x1D\x1E\x1F\x1B\x1C\x1D\xFE\xED\x1D\x1E\x1F";
  return {out.begin(), out.end()};
}

class MainDlgUsbTest : public test::ShownMainDlg {
 protected:
  QComboBox* UsbCombo() const { return qobject_cast<QComboBox*>(dialog->Control(kIdUsbCombo)); }
  QWidget* Connect() const { return dialog->Control(kIdConnectButton); }
  const PageState& Page(int page) const { return dialog->Page(page); }
  const auto& Field(int p, std::u16string_view k) const { return *test::FindField(Page(p), k); }
  // Connected, pages enabled, page 0 writable, Connect and the list enabled; the Connect text.
  QString State() const {
    return QString::asprintf("%d%d%d %d%d ", dialog->IsConnected(), dialog->PagesEnabled(),
                             Page(0).writeButton->isEnabled(), Connect()->isEnabled(),
                             UsbCombo()->isEnabled()) +
           Connect()->property("text").toString();
  }
  bool PlugAndConnect(std::vector<UsbDeviceEntry> entries) {  // to the first one
    if (!Plug(std::move(entries))) return false;
    return UsbCombo()->setCurrentIndex(0), Click(Connect()), dialog->IsConnected();
  }
  static void Click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }
  void Type(int page, const QString& rows) {
    for (const QString& row : rows.split(u'|'))
      Field(page, row.section(u'=', 0, 0).toStdU16String()).edit->setText(row.section(u'=', 1));
  }
  int Unlocked(int p) const {
    return Page(p).writeButton->isEnabled() + Page(p).selfTestButton->isEnabled();
  }
  test::FifoDevice node;
};

// Refusals while locked, every page's frames, the Tencent Cloud wait, a device that takes
// nothing, the unplug: each status in its colour, painted.
TEST_F(MainDlgUsbTest, TheWholeRoadWithItsStatusTextsAndFrames) {
  const auto expect = [&](const char16_t* text, Rgb colour) {
    EXPECT_EQ(std::pair(Status(), dialog->StatusColor()),
              std::pair(QString::fromUtf16(text), colour));
    EXPECT_TRUE(test::Draws(dialog->Control(kIdStatus)->grab().toImage(), colour));
  };
  expect(u"ℹ  Select a USB device and click Connect.", kGrey);
  dialog->OnCommand(Page(0).writeId, kBnClicked);  // the record is checked first
  expect(u"⚠  Please enter ProductKey.", kRed);
  Type(1, kSelfHosted);
  for (int id : {Page(1).writeId, Page(0).selfTestId}) {
    dialog->OnCommand(id, kBnClicked);
    expect(u"⚠  Select a USB device and click Connect first.", kRed);
  }
  ASSERT_TRUE(PlugAndConnect({EntryFor(node, u"Printer", u"S1")}));
  EXPECT_EQ(State(), u"111 10 Disconnect"_s);
  expect(u"✔  Connected: Printer  (VID_1234 PID_0A0B)  S1", kGreen);
  SelectTab(1);
  expect(u"ℹ  Self-hosted MQTT settings.", kGrey);
  Click(Page(1).selfTestButton);
  expect(u"✔  Self-test command sent.", kGreen);
  EXPECT_EQ(node.Drain(), (Bytes{0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F}));
  // Printer frames on pages 0 and 1, "SW" on 3 and 4; the CA buttons (1, 3: 2) shown with TLS on
  // the current page only; the topic prefix of the trimmed keys.
  const auto ca = [&] { return Page(1).caButton->isVisible() + 2 * Page(3).caButton->isVisible(); };
  QString shown;
  for (const int page : {0, 1, 3, 4}) {
    const bool ali = page == 0 || page == 4;
    SelectTab(page);
    Type(page, ali ? kAlibaba : kSelfHosted);
    shown += QString::number(ca());
    if (!ali) Choose(Field(page, u"tls").combo, 1);
    Click(Page(page).writeButton);
    shown +=
        QString::number(ca()) + (ali ? Field(page, u"pubTopic").prefix->text() : QString()) + u'|';
    EXPECT_EQ(node.Drain(), ExpectedPair(page >= 3, ali ? kAlibabaJson : kSelfHostedJson,
                                         ali ? "dev01" : "SN0001"))
        << page;
    expect(u"✔  Write completed successfully.", kGreen);
  }
  EXPECT_EQ(shown, u"00/a1B2c3/dev01/user/|01|02|00/a1B2c3/dev01/user/|"_s);
  SelectTab(1);  // a language switch keeps the CA button; the texts follow it
  Choose(kIdLanguageCombo, 1);
  EXPECT_EQ(Status() + Connect()->property("text").toString() + QString::number(ca()),
            u"ℹ  自建 MQTT 参数配置断开1"_s);
  Choose(kIdLanguageCombo, 0);
  for (int page : {4, 0}) {  // page 0 (reserve 17) refuses what page 4 (reserve 10) takes: 239
    SelectTab(page);
    Field(page, u"deviceSecret").edit->setText(QString(239 - int(kAlibabaJson.size()) + 6, u'x'));
    Click(Page(page).writeButton);
  }
  EXPECT_EQ(node.Drain().size(), 7 + 239 + 7 + 5u);
  expect(u"⚠  Configuration exceeds device storage capacity.", kRed);
  // Tencent Cloud: its page unlocked five seconds after its write, wherever the user went.
  SelectTab(2), Type(2, kTencent), Field(2, u"port").edit->clear();
  Click(Page(2).writeButton);
  EXPECT_EQ(node.Drain(), ExpectedPair(false,
                                       R"({"Key":"TPK01","SN":"tdev","Pass":"tsecret","Url":" ",)"
                                       R"("Port":0,"SUB":"s","PUB":"p","Type":3})",
                                       "tdev"));
  expect(u"✔  Write completed. Waiting for printer to apply Tencent Cloud settings...", kGreen);
  SelectTab(0);
  timers->Advance(4999);
  EXPECT_EQ(Unlocked(2), 0) << "unlocked early";
  timers->Advance(1);
  EXPECT_EQ(Unlocked(2) + Unlocked(0), 4);
  SelectTab(1);
  node.FillUp();
  Click(Page(1).writeButton);
  expect(u"✖  Write failed while sending data to the device.", kRed);
  EXPECT_TRUE(dialog->IsConnected() && Page(1).writeButton->isEnabled());
  Click(Page(1).selfTestButton);
  expect(u"✖  Self-test command failed.", kRed);
  node.Drain();
  SelectTab(2);
  Click(Page(2).writeButton);
  printers->entries.clear();     // unplugged during the Tencent Cloud wait: the next poll sees it
  for (int ms : {1000, 5000}) {  // later polls keep the message, the unlock the lock
    timers->Advance(ms);
    expect(u"⚠  USB device was unplugged. Pages are locked. Connect again.", kRed);
    EXPECT_EQ(State() + QString::number(UsbCombo()->count() + 10 * Unlocked(2)),
              u"000 00 Connect1"_s);
  }
}

TEST_F(MainDlgUsbTest, ListChangesKeepTheSelectionAndTheConnection) {
  test::FifoDevice b, c;
  const UsbDeviceEntry pa = EntryFor(node, u"A", u"SA"), pb = EntryFor(b, u"B", u"SB"),
                       pc = EntryFor(c, u"C", u"SC");
  ASSERT_TRUE(Plug({pa, pb}));
  UsbCombo()->setCurrentIndex(1);
  const int listed = printers->listings;
  const QSignalSpy rebuilt(UsbCombo()->model(), &QAbstractItemModel::rowsInserted);
  timers->Advance(3000);  // three polls, nothing changed: the combo untouched
  EXPECT_EQ(std::pair(printers->listings - listed, int(rebuilt.count())), std::pair(3, 0));
  ASSERT_TRUE(Plug({pc, pa, pb}));  // one in front: B stays selected
  EXPECT_EQ(UsbCombo()->currentText(), QString::fromStdU16String(pb.displayName));
  ASSERT_TRUE(Plug({pc, pa}));  // B gone: the first one
  EXPECT_EQ(UsbCombo()->currentIndex(), 0);
  ASSERT_TRUE(PlugAndConnect({pa, pc}));  // connected to A, the list changes: both stay
  ASSERT_TRUE(Plug({pb, pc, pa}));
  EXPECT_EQ(UsbCombo()->currentText(), QString::fromStdU16String(pa.displayName));
  dialog->activateWindow();  // Tencent Cloud: the focus comes back to Write with the unlock
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  SelectTab(2), Type(2, kTencent), Page(2).writeButton->setFocus();
  QTest::keyClick(Page(2).writeButton, Qt::Key_Space);
  EXPECT_TRUE(!node.Drain().empty() && QApplication::focusWidget() != Page(2).writeButton);
  timers->Advance(5000);
  EXPECT_EQ(QApplication::focusWidget(), Page(2).writeButton);
  const int before = printers->listings;  // disconnect: the list read again at once
  Click(Connect());
  EXPECT_EQ(State() + QString::number(printers->listings > before), u"000 11 Connect1"_s);
}

// A write that closes the port (no reopening its gone node): the next poll drops the connection.
TEST_F(MainDlgUsbTest, PortClosedByAWriteDropsTheConnectionAtTheNextPoll) {
  ASSERT_TRUE(PlugAndConnect({EntryFor(node, u"P", u"S1")}) && node.FillUp() > 0);
  ASSERT_EQ(::unlink(node.Path().c_str()), 0);
  Click(Page(0).selfTestButton), timers->Advance(1000);
  EXPECT_EQ(Status() + State(),
            u"⚠  USB device was unplugged. Pages are locked. Connect again.000 11 Connect"_s);
}

// The window's texts in both languages with the choices kept, the status messages translated,
// the topic prefix of the keys on pages 0 and 4 with a placeholder when both are empty.
TEST_F(MainDlgUsbTest, TextsInBothLanguagesAndOpenFailures) {
  const auto shown = [&] {
    QStringList texts{dialog->windowTitle(), UsbCombo()->currentText(), Status()};
    for (int id : {kIdConnectButton, kIdSimulatorButton})
      texts << dialog->Control(id)->property("text").toString();
    for (int tab = 0; tab < 5; ++tab)
      texts << qobject_cast<QTabBar*>(dialog->Control(kIdTab))->tabText(tab);
    texts << Page(3).writeButton->text() << Page(1).caButton->text()
          << Field(0, u"subTopic").prefix->text() << Field(4, u"pubTopic").prefix->text()
          << Field(1, u"tls").combo->currentText()
          << Field(1, u"cleanSession").combo->currentText();
    return texts.join(u'|');
  };
  // clang-format off
  const QString texts[] = {
      u"Quillmark  V16|No usable USB device|ℹ  Select a USB device and click Connect.|"
      u"Connect|MQTT Simulator|  Printer Alibaba Cloud  |  Printer Self-hosted  |"
      u"  Printer Tencent Cloud  |  Box Self-hosted  |  Box Alibaba  |Write to cloud box|"
      u"Custom CA Certificate (optional)|/${ProductKey}/${DeviceName}/user/|/a1//user/|"
      u"Enable TLS|Keep offline messages"_s,
      u"VARNO  Quillmark  V16|未检测到可用的 USB 设备|ℹ  请先选择 USB 设备并点击连接。|连接|"
      u"MQTT 模拟器|  打印机-阿里云  |  打印机-自建 MQTT  |  打印机-腾讯云  |  云盒-自建 MQTT  |"
      u"  云盒-阿里云  |写入云盒|自定义 CA 证书（选配）|/${ProductKey}/${DeviceName}/user/|"
      u"/a1//user/|启用 TLS|保留离线消息"_s};
  // All eleven messages, then two that have no entry.
  const QString en =
      u"Please enter ProductKey.|Please enter DeviceName.|Please enter DeviceSecret.|"
      u"Please enter ClientID / SN.|SN / ClientID must be 30 characters or fewer.|"
      u"Please enter domain or IP address.|Please enter port.|Please enter username.|"
      u"Please enter password.|Please enter subscribe topic.|"
      u"Configuration exceeds device storage capacity.|Please enter port|please enter port."_s;
  const QString zh =
      u"请输入 ProductKey！|请输入 DeviceName！|请输入 DeviceSecret！|请输入 ClientID/SN！|"
      u"SN/ClientID 不能超过30个字符！|请输入域名或IP地址！|请输入端口号！|请输入用户名！|"
      u"请输入密码！|请输入订阅主题！|错误：配置数据超出设备存储容量！|Please enter port|"
      u"please enter port."_s;
  // clang-format on
  Type(4, u"productKey= a1 |deviceName=  "_s);  // one key left empty
  Field(1, u"tls").combo->setCurrentIndex(1);   // choices kept across a switch
  Field(1, u"cleanSession").combo->setCurrentIndex(1);
  EXPECT_EQ(shown(), texts[0]);
  Choose(kIdLanguageCombo, 1);
  QStringList localized;
  for (const QString& text : en.split(u'|'))
    localized << QString::fromStdU16String(dialog->LocalizeMessage(text.toStdU16String()));
  EXPECT_EQ(localized.join(u'|'), zh);
  EXPECT_EQ(shown(), texts[1]);
  dialog->OnCommand(Page(1).writeId, kBnClicked);
  EXPECT_EQ(Status(), u"⚠  请输入 ClientID/SN！"_s);
  Choose(kIdLanguageCombo, 0);  // the first switch has set the brand into the title
  EXPECT_EQ(shown(), u"VARNO  "_s + texts[0]);
  // Open failures: a node of mode 000, opened as a user (as root: with the effective user
  // "nobody"); a node that is gone. The device menu shows an ampersand as a letter.
  // clang-format off
  const std::tuple<int, int, const char16_t*> cases[] = {
      {0, 0, u"⚠  No permission to open the USB device. Add your user to the group lp and log in "
             u"again."},
      {0, 1, u"⚠  没有打开 USB 设备的权限。请将用户加入 lp 组后重新登录。"},
      {1, 0, u"⚠  USB open failed. Check the device is on and the cable is connected."},
      {1, 1, u"⚠  USB打开失败，请确认设备已开机并连接数据线。"}};
  // clang-format on
  ASSERT_TRUE(
      Plug({EntryFor(node, u"P", u"S1"),
            {u"usb#x#/dev/usb/lp-missing", u"AT&T Printer  (VID_1234 PID_0A0B)  S1", 1, 2}}));
  ASSERT_EQ(::chmod(node.Path().c_str(), 0), 0);
  for (const auto& [device, language, status] : cases) {
    Choose(kIdLanguageCombo, language);
    Choose(kIdUsbCombo, device);
    EXPECT_EQ(::getuid() == 0 ? ::seteuid(65534) : 0, 0);
    Click(Connect());
    EXPECT_EQ(::getuid() == 0 ? ::seteuid(0) : 0, 0);
    EXPECT_EQ(Status(), QString::fromUtf16(status));
    EXPECT_TRUE(dialog->StatusColor() == kRed && !dialog->IsConnected());
  }
  QString item;  // with mnemonics resolved
  test::DriveNestedLoop([&] { UsbCombo()->showPopup(); }, test::ActivePopup,
                        [&](QWidget* menu) {
                          item = qobject_cast<QMenu*>(menu)->actions().value(1)->iconText();
                          QTest::keyClick(menu, Qt::Key_Escape);
                        });
  EXPECT_EQ(item + u'|' + UsbCombo()->currentText(),
            u"AT&T Printer  (VID_1234 PID_0A0B)  S1|AT&T Printer  (VID_1234 PID_0A0B)  S1"_s);
}

}  // namespace
}  // namespace qm
