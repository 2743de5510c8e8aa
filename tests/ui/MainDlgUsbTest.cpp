// SPDX-License-Identifier: MIT
// The main window at work, end to end on real timers: printers come and go
// through a replaceable list, each printer's device node is a FIFO that
// records what the window writes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "config/ConfigRecords.h"
#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/ElidedLabel.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const AlibabaCloudConfig kAlibaba{.productKey = u"a1B2c3", .deviceName = u" dev01 ", .deviceSecret = u"s3cr3t",
                                  .url = u"iot.example.com", .port = 8883, .subTopic = u"get", .pubTopic = u"update"};
const SelfHostedConfig kSelfHosted{.clientId = u"SN0001", .domain = u"mqtt.example.org", .port = 1884,
                                   .username = u"user", .password = u"pass", .subTopic = u"down", .pubTopic = u"up",
                                   .tls = 0, .cleanSession = 0};
// Typed with an empty port field, which writes port 0.
const TencentCloudConfig kTencent{.productKey = u"TPK01", .deviceName = u"tdev", .deviceSecret = u"tsecret",
                                  .port = 0, .subTopic = u"s", .pubTopic = u"p"};

UsbDeviceEntry EntryFor(const test::FifoDevice& node, const std::u16string& name, const std::u16string& serial) {
  return UsbDeviceEntry{u"usb#vid_1234&pid_0a0b#" + serial + u"#" + node.WidePath(),
                        name + u"  (VID_1234 PID_0A0B)  " + serial, 0x1234, 0x0A0B};
}

class MainDlgUsbTest : public test::ShownMainDlg {
 protected:
  QComboBox* UsbCombo() const { return qobject_cast<QComboBox*>(dialog->Control(kIdUsbCombo)); }
  CModernButton* ConnectButton() const { return qobject_cast<CModernButton*>(dialog->Control(kIdConnectButton)); }
  QString Status() const { return qobject_cast<QLabel*>(dialog->Control(kIdStatus))->text(); }
  bool StatusDraws(QRgb colour) const { return test::Draws(dialog->Control(kIdStatus)->grab().toImage(), colour); }
  QLineEdit* Edit(int page, std::u16string_view key) const { return test::FindField(dialog->Page(page), key)->edit; }
  QComboBox* Combo(int page, std::u16string_view key) const { return test::FindField(dialog->Page(page), key)->combo; }
  enum class State { NoPrinter, Idle, Connected };
  // The connection row and the pages in each of their three states.
  void ExpectState(State state) const {
    const bool connected = state == State::Connected;
    EXPECT_EQ(dialog->IsConnected(), connected);
    EXPECT_EQ(dialog->ConnectedPath().empty(), !connected);
    EXPECT_EQ(dialog->PagesEnabled(), connected);
    EXPECT_EQ(dialog->Page(0).writeButton->isEnabled(), connected);
    EXPECT_EQ(ConnectButton()->text(), connected ? QStringLiteral("Disconnect") : QStringLiteral("Connect"));
    EXPECT_EQ(ConnectButton()->isEnabled(), state != State::NoPrinter);
    EXPECT_EQ(UsbCombo()->isEnabled(), state == State::Idle);
    if (state == State::NoPrinter) {
      EXPECT_EQ(UsbCombo()->count(), 1);
      EXPECT_EQ(UsbCombo()->currentText(), QStringLiteral("No usable USB device"));
    }
  }
  void Plug(const UsbDeviceEntry& entry) { printers->entries.push_back(entry); }
  // The poll runs once a second; a change shows within about a second.
  bool WaitForListing(int count) {
    return test::WaitUntil([&] { return static_cast<int>(dialog->Devices().size()) == count; }, 5s);
  }
  void ConnectTo(int index) {
    UsbCombo()->setCurrentIndex(index);
    QTest::mouseClick(ConnectButton(), Qt::LeftButton);
    ASSERT_TRUE(dialog->IsConnected());
  }
  // One printer on the node, plugged in and connected.
  void ConnectToNew(const test::FifoDevice& node) {
    Plug(EntryFor(node, u"Printer", u"S1"));
    ASSERT_TRUE(WaitForListing(1));
    ConnectTo(0);
  }
  static void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  void ChooseLanguage(int index) { Choose(qobject_cast<QComboBox*>(dialog->Control(kIdLanguageCombo)), index); }
  void ChooseTls(int page, int index) { Choose(Combo(page, u"tls"), index); }
  void ClickWrite(int page) { QTest::mouseClick(dialog->Page(page).writeButton, Qt::LeftButton); }
  void SelectTab(int page) { qobject_cast<QTabBar*>(dialog->Control(kIdTab))->setCurrentIndex(page); }

  void Type(int page, std::initializer_list<std::pair<const char16_t*, std::u16string>> texts) {
    for (const auto& [key, text] : texts) Edit(page, key)->setText(QString::fromStdU16String(text));
  }
  void Fill(int page, const AlibabaCloudConfig& c, const std::u16string& port) {
    Type(page, {{u"productKey", c.productKey}, {u"deviceName", c.deviceName}, {u"deviceSecret", c.deviceSecret},
                {u"url", c.url}, {u"port", port}, {u"subTopic", c.subTopic}, {u"pubTopic", c.pubTopic}});
  }
  void Fill(int page, const SelfHostedConfig& c, const std::u16string& port) {
    Type(page, {{u"clientId", c.clientId}, {u"domain", c.domain}, {u"port", port}, {u"username", c.username},
                {u"password", c.password}, {u"subTopic", c.subTopic}, {u"pubTopic", c.pubTopic}});
    Combo(page, u"cleanSession")->setCurrentIndex(c.cleanSession);
  }
  void Fill(const TencentCloudConfig& c, const std::u16string& port) {
    Type(2, {{u"productKey", c.productKey}, {u"deviceName", c.deviceName}, {u"deviceSecret", c.deviceSecret},
             {u"port", port}, {u"subTopic", c.subTopic}, {u"pubTopic", c.pubTopic}});
  }
};

// Every status path sets its text and colour: information grey, warnings
// and failures red, success green.
TEST_F(MainDlgUsbTest, StatusTextAndColourOnEveryPath) {
  constexpr Rgb kInfo = 0x374151, kRed = 0xB91C1C, kGreen = 0x15803D;
  const auto expect = [&](const char16_t* text, Rgb colour) {
    EXPECT_EQ(Status(), QString::fromUtf16(text));
    EXPECT_EQ(dialog->StatusColor(), colour) << QString::fromUtf16(text).toStdString();
  };
  expect(u"ℹ  Select a USB device and click Connect.", kInfo);
  dialog->OnCommand(kIdConnectButton, kBnClicked);  // no printer: the idle hint again
  expect(u"ℹ  Select a USB device and click Connect.", kInfo);
  dialog->OnCommand(dialog->Page(0).writeId, kBnClicked);  // the record is checked first
  expect(u"⚠  Please enter ProductKey.", kRed);
  Fill(1, kSelfHosted, u" 1884 ");
  dialog->OnCommand(dialog->Page(1).writeId, kBnClicked);
  expect(u"⚠  Select a USB device and click Connect first.", kRed);
  dialog->OnCommand(dialog->Page(0).selfTestId, kBnClicked);
  expect(u"⚠  Select a USB device and click Connect first.", kRed);
  Plug(UsbDeviceEntry{u"usb#vid_1234&pid_0001#X#/nonexistent/lp9", u"Ghost", 0x1234, 1});
  ASSERT_TRUE(WaitForListing(1));
  QTest::mouseClick(ConnectButton(), Qt::LeftButton);
  expect(u"⚠  USB open failed. Check the device is on and the cable is connected.", kRed);
  EXPECT_TRUE(StatusDraws(kRed));
  ExpectState(State::Idle);
  test::FifoDevice node;
  printers->entries = {EntryFor(node, u"Printer", u"S1")};
  ASSERT_TRUE(test::WaitUntil([&] { return dialog->Devices()[0].displayName.starts_with(u"Printer"); }, 5s));
  ASSERT_NO_FATAL_FAILURE(ConnectTo(0));
  expect(u"✔  Connected: Printer  (VID_1234 PID_0A0B)  S1", kGreen);
  EXPECT_TRUE(StatusDraws(kGreen));
  EXPECT_FALSE(StatusDraws(kInfo));
  SelectTab(1);
  expect(u"ℹ  Self-hosted MQTT settings.", kInfo);
  QTest::mouseClick(dialog->Page(1).selfTestButton, Qt::LeftButton);
  expect(u"✔  Self-test command sent.", kGreen);
  EXPECT_EQ(node.Drain(), (Bytes{0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F}));
  node.FillUp();
  QElapsedTimer clock;
  clock.start();
  ClickWrite(1);
  EXPECT_GE(clock.elapsed(), 800) << "the write did not wait for the device";
  expect(u"✖  Write failed while sending data to the device.", kRed);
  EXPECT_TRUE(dialog->IsConnected()) << "a failed write keeps the connection";
  EXPECT_TRUE(dialog->Page(1).writeButton->isEnabled());
  QTest::mouseClick(dialog->Page(1).selfTestButton, Qt::LeftButton);
  expect(u"✖  Self-test command failed.", kRed);
  node.Drain();
  printers->entries.clear();  // unplugged while connected
  ASSERT_TRUE(test::WaitUntil([&] { return !dialog->IsConnected(); }, 5s));
  expect(u"⚠  USB device was unplugged. Pages are locked. Connect again.", kRed);
  EXPECT_TRUE(StatusDraws(kRed));
  ExpectState(State::NoPrinter);
  test::Pump(1300ms);  // later polls leave the message
  expect(u"⚠  USB device was unplugged. Pages are locked. Connect again.", kRed);
}

TEST_F(MainDlgUsbTest, EveryPageWritesItsRecordToTheConnectedPrinter) {
  test::FifoDevice node;
  ASSERT_NO_FATAL_FAILURE(ConnectToNew(node));
  ExpectState(State::Connected);
  EXPECT_EQ(dialog->Page(0).fields[0]->label->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, 0x374151u);
  const std::string alibaba =
      R"({"Key":"a1B2c3","SN":"dev01","Pass":"s3cr3t","Url":"iot.example.com","Port":8883,)"
      R"("SUB":"user/get","PUB":"user/update","Type":1})";
  const std::string selfHosted =
      R"({"Key":"user","SN":"SN0001","Pass":"pass","Url":"mqtt.example.org","Port":1884,)"
      R"("SUB":"down","PUB":"up","Type":2,"tls":1,"sen":0})";
  // Printer frames on pages 0 and 1, "SW" frames on the cloud-box pages 3 and 4.
  for (const int page : {0, 1, 3, 4}) {
    SCOPED_TRACE(page);
    SelectTab(page);
    if (page == 0 || page == 4) {
      Fill(page, kAlibaba, u"8883");
    } else {
      Fill(page, kSelfHosted, u" 1884 ");
      ChooseTls(page, 1);
    }
    ClickWrite(page);
    EXPECT_EQ(node.Drain(), test::ExpectedPair(page >= 3, page == 0 || page == 4 ? alibaba : selfHosted,
                                               page == 0 || page == 4 ? "dev01" : "SN0001"));
    EXPECT_EQ(Status(), QStringLiteral("✔  Write completed successfully."));
    EXPECT_TRUE(dialog->Page(page).writeButton->isEnabled());
  }
  // A refused record sends nothing.
  Edit(4, u"productKey")->setText(QStringLiteral("   "));
  ClickWrite(4);
  EXPECT_EQ(Status(), QStringLiteral("⚠  Please enter ProductKey."));
  EXPECT_TRUE(node.Drain().empty());
  // Page 0 (reserve 17) refuses what page 4 (reserve 10) accepts: a JSON of 239 bytes.
  AlibabaCloudConfig big = kAlibaba;
  big.deviceSecret = std::u16string(239 - alibaba.size() + 6, u'x');
  for (int page : {4, 0}) {
    SelectTab(page);
    Fill(page, big, u"8883");
    ClickWrite(page);
  }
  EXPECT_EQ(node.Drain().size(), 7 + 239 + 7 + 5u);
  EXPECT_EQ(Status(), QStringLiteral("⚠  Configuration exceeds device storage capacity."));
}

TEST_F(MainDlgUsbTest, DevicePollEverySecondAndTheTencentUnlockAfterFive) {
  // The list is read once a second: two readings 0.9 to 1.2 s apart.
  int seen = printers->listings;
  ASSERT_TRUE(test::WaitUntil([&] { return printers->listings > seen; }, 3s));
  QElapsedTimer poll;
  poll.start();
  seen = printers->listings;
  ASSERT_TRUE(test::WaitUntil([&] { return printers->listings > seen; }, 3s));
  EXPECT_GE(poll.elapsed(), 900);
  EXPECT_LE(poll.elapsed(), 1200);

  test::FifoDevice node;
  ASSERT_NO_FATAL_FAILURE(ConnectToNew(node));
  SelectTab(2);
  Fill(kTencent, u"");
  QElapsedTimer clock;
  ClickWrite(2);
  clock.start();
  EXPECT_EQ(node.Drain(), test::ExpectedPair(false,
                                             R"({"Key":"TPK01","SN":"tdev","Pass":"tsecret","Url":" ","Port":0,)"
                                             R"("SUB":"s","PUB":"p","Type":3})",
                                             "tdev"));
  EXPECT_EQ(Status(), QStringLiteral("✔  Write completed. Waiting for printer to apply Tencent Cloud settings..."));
  EXPECT_EQ(dialog->StatusColor(), 0x15803Du);
  EXPECT_FALSE(dialog->Page(2).writeButton->isEnabled());
  EXPECT_FALSE(dialog->Page(2).selfTestButton->isEnabled());
  test::Pump(4700ms);
  EXPECT_FALSE(dialog->Page(2).writeButton->isEnabled()) << "unlocked before five seconds";
  ASSERT_TRUE(test::WaitUntil([&] { return dialog->Page(2).writeButton->isEnabled(); }, 2s));
  EXPECT_GE(clock.elapsed(), 4900);
  EXPECT_LE(clock.elapsed(), 5600);
  EXPECT_TRUE(dialog->Page(2).selfTestButton->isEnabled());
}

// While the pages are locked nothing enables a page's buttons: not the end
// of a refused write, not a self-test, not the unlock timer.
TEST_F(MainDlgUsbTest, LockedPagesKeepTheirButtonsDisabled) {
  Fill(0, kAlibaba, u"1");
  Fill(4, kAlibaba, u"1");
  Fill(1, kSelfHosted, u"1884");
  Fill(3, kSelfHosted, u"1884");
  Fill(kTencent, u"1");
  for (int page = 0; page < 5; ++page) {
    SelectTab(page);
    dialog->OnCommand(dialog->Page(page).writeId, kBnClicked);
    if (dialog->Page(page).selfTestButton) dialog->OnCommand(dialog->Page(page).selfTestId, kBnClicked);
    dialog->OnTimer(kUnlockTimerId);
    for (int other = 0; other < 5; ++other) {
      const PageState& p = dialog->Page(other);
      EXPECT_FALSE(p.writeButton->isEnabled()) << page << " " << other;
      EXPECT_FALSE(p.selfTestButton && p.selfTestButton->isEnabled()) << page << " " << other;
      EXPECT_FALSE(p.caButton && p.caButton->isEnabled()) << page << " " << other;
    }
  }
}

TEST_F(MainDlgUsbTest, ListChangesKeepTheSelectionAndTheConnection) {
  test::FifoDevice a, b, c;
  const UsbDeviceEntry pa = EntryFor(a, u"A", u"SA"), pb = EntryFor(b, u"B", u"SB"), pc = EntryFor(c, u"C", u"SC");
  printers->entries = {pa, pb};
  ASSERT_TRUE(WaitForListing(2));
  UsbCombo()->setCurrentIndex(1);
  printers->entries.insert(printers->entries.begin(), pc);  // in front: B stays selected
  ASSERT_TRUE(WaitForListing(3));
  EXPECT_EQ(UsbCombo()->currentText(), QString::fromStdU16String(pb.displayName));
  printers->entries.erase(printers->entries.begin() + 2);  // B gone: the first one
  ASSERT_TRUE(WaitForListing(2));
  EXPECT_EQ(UsbCombo()->currentIndex(), 0);
  // Connected to A, then the list changes: connection and selection stay.
  printers->entries = {pa, pc};
  ASSERT_TRUE(test::WaitUntil([&] { return dialog->Devices()[0].devicePath == pa.devicePath; }, 5s));
  ASSERT_NO_FATAL_FAILURE(ConnectTo(0));
  printers->entries = {pb, pc, pa};
  ASSERT_TRUE(WaitForListing(3));
  EXPECT_TRUE(dialog->IsConnected());
  EXPECT_EQ(UsbCombo()->currentText(), QString::fromStdU16String(pa.displayName));
  QTest::mouseClick(dialog->Page(0).selfTestButton, Qt::LeftButton);
  EXPECT_EQ(a.Drain().size(), 8u);
  EXPECT_TRUE(b.Drain().empty());
  // Disconnect: idle hint, locked pages, and the list read again at once.
  const int before = printers->listings;
  QTest::mouseClick(ConnectButton(), Qt::LeftButton);
  ExpectState(State::Idle);
  EXPECT_GT(printers->listings, before);
}

TEST_F(MainDlgUsbTest, ChineseTextsAndAllElevenTranslatedMessages) {
  ChooseLanguage(1);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("VARNO  Quillmark  V16"));
  EXPECT_EQ(UsbCombo()->currentText(), QString::fromUtf16(u"未检测到可用的 USB 设备"));
  EXPECT_EQ(Status(), QString::fromUtf16(u"ℹ  请先选择 USB 设备并点击连接。"));
  EXPECT_EQ(ConnectButton()->text(), QString::fromUtf16(u"连接"));
  EXPECT_EQ(qobject_cast<QTabBar*>(dialog->Control(kIdTab))->tabText(3), QString::fromUtf16(u"  云盒-自建 MQTT  "));
  EXPECT_EQ(dialog->Page(0).fields[3]->label->text(), QString::fromUtf16(u"阿里云 URL："));
  EXPECT_EQ(dialog->Page(0).fields[0]->label->text(), QStringLiteral("ProductKey :"));  // no Chinese text
  EXPECT_EQ(dialog->Page(3).writeButton->text(), QString::fromUtf16(u"写入云盒"));
  EXPECT_EQ(dialog->Page(1).caButton->text(), QString::fromUtf16(u"自定义 CA 证书（选配）"));
  const std::pair<std::u16string, std::u16string> table[] = {
      {u"Please enter ProductKey.", u"请输入 ProductKey！"},
      {u"Please enter DeviceName.", u"请输入 DeviceName！"},
      {u"Please enter DeviceSecret.", u"请输入 DeviceSecret！"},
      {u"Please enter ClientID / SN.", u"请输入 ClientID/SN！"},
      {u"SN / ClientID must be 30 characters or fewer.", u"SN/ClientID 不能超过30个字符！"},
      {u"Please enter domain or IP address.", u"请输入域名或IP地址！"},
      {u"Please enter port.", u"请输入端口号！"},
      {u"Please enter username.", u"请输入用户名！"},
      {u"Please enter password.", u"请输入密码！"},
      {u"Please enter subscribe topic.", u"请输入订阅主题！"},
      {u"Configuration exceeds device storage capacity.", u"错误：配置数据超出设备存储容量！"},
      {u"Please enter port", u"Please enter port"},  // outside the table: English
      {u"please enter port.", u"please enter port."},
      {u"ClientID encoding failed (UTF-8 conversion error).", u"ClientID encoding failed (UTF-8 conversion error)."},
  };
  for (const auto& [en, zh] : table) EXPECT_EQ(dialog->LocalizeMessage(en), zh);
  dialog->OnCommand(dialog->Page(1).writeId, kBnClicked);
  EXPECT_EQ(Status(), QString::fromUtf16(u"⚠  请输入 ClientID/SN！"));
  ChooseLanguage(0);
  for (const auto& [en, zh] : table) EXPECT_EQ(dialog->LocalizeMessage(en), en);
}

TEST_F(MainDlgUsbTest, LanguageSwitchKeepsChoicesAndTheCaButtonRule) {
  test::FifoDevice node;
  ASSERT_NO_FATAL_FAILURE(ConnectToNew(node));
  for (int page : {1, 3}) {
    SelectTab(page);
    CModernButton* ca = dialog->Page(page).caButton;
    EXPECT_FALSE(ca->isVisible());
    const int lastRowBottom = dialog->Page(page).fields.back()->combo->geometry().bottom();
    ChooseTls(page, 1);
    EXPECT_TRUE(ca->isVisible() && ca->isEnabled());
    EXPECT_LT(lastRowBottom, ca->y());  // room was kept above the buttons
    EXPECT_EQ(ca->y() + 34 + 8, dialog->Page(page).writeButton->y());
    SelectTab(0);
    EXPECT_FALSE(ca->isVisible());  // another page current
    SelectTab(page);
    EXPECT_TRUE(ca->isVisible());
  }
  ChooseTls(3, 0);
  EXPECT_FALSE(dialog->Page(3).caButton->isVisible());
  SelectTab(1);
  Combo(1, u"cleanSession")->setCurrentIndex(1);
  dialog->OnCommand(dialog->Page(1).writeId, kBnClicked);  // some status showing
  ChooseLanguage(1);
  EXPECT_EQ(Combo(1, u"tls")->currentIndex(), 1);
  EXPECT_EQ(Combo(1, u"tls")->currentText(), QString::fromUtf16(u"启用 TLS"));
  EXPECT_EQ(Combo(1, u"cleanSession")->currentText(), QString::fromUtf16(u"保留离线消息"));
  EXPECT_TRUE(dialog->Page(1).caButton->isVisible());
  EXPECT_EQ(Status(), QString::fromUtf16(u"ℹ  自建 MQTT 参数配置"));
  EXPECT_EQ(ConnectButton()->text(), QString::fromUtf16(u"断开"));
  test::MaybeSaveShot(dialog->grab().toImage(), QStringLiteral("main-zh-connected"));
}

TEST_F(MainDlgUsbTest, TopicPrefixFollowsProductKeyAndDeviceName) {
  const auto prefixes = [&](int page) {
    QStringList texts;
    for (const auto& field : dialog->Page(page).fields) {
      if (field->prefix) texts << field->prefix->text();
    }
    return texts;
  };
  const QString placeholder = QStringLiteral("/${ProductKey}/${DeviceName}/user/");
  SelectTab(4);
  Edit(4, u"deviceName")->setText(QStringLiteral("d1"));
  EXPECT_EQ(prefixes(4), (QStringList{QStringLiteral("//d1/user/"), QStringLiteral("//d1/user/")}));
  Edit(4, u"productKey")->setText(QStringLiteral(" a1 "));
  EXPECT_EQ(prefixes(4).value(0), QStringLiteral("/a1/d1/user/"));
  EXPECT_EQ(prefixes(0), (QStringList{placeholder, placeholder}));
  Edit(4, u"deviceName")->setText(QStringLiteral("  "));
  EXPECT_EQ(prefixes(4).value(1), QStringLiteral("/a1//user/"));
  Edit(4, u"productKey")->clear();
  EXPECT_EQ(prefixes(4).value(1), placeholder);
  Edit(2, u"deviceName")->setText(QStringLiteral("x"));  // page 2 has no prefix rows
  EXPECT_EQ(prefixes(0).value(0), placeholder);
  EXPECT_EQ(prefixes(4).value(0), placeholder);
}

}  // namespace
}  // namespace qm
