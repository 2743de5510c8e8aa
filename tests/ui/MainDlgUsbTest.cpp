// SPDX-License-Identifier: MIT
// The main window at work, end to end on real timers: printers come and go
// through a replaceable list, each printer's device node is a FIFO that
// records what the window writes.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
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
                                   .tls = 0, .cleanSession = 1};
// Typed with an empty port field, which writes port 0.
const TencentCloudConfig kTencent{.productKey = u"TPK01", .deviceName = u"tdev", .deviceSecret = u"tsecret",
                                  .port = 0, .subTopic = u"s", .pubTopic = u"p"};

UsbDeviceEntry EntryFor(const test::FifoDevice& node, const std::u16string& name, const std::u16string& serial) {
  return UsbDeviceEntry{u"usb#vid_1234&pid_0a0b#" + serial + u"#" + node.WidePath(),
                        name + u"  (VID_1234 PID_0A0B)  " + serial, 0x1234, 0x0A0B};
}

std::u16string Number(int i) { return QString::number(i).toStdU16String(); }

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
  struct DeviceMenu {
    QStringList items;
    QRect geometry;
    int checked = -1;
  };
  // Opens the device list, notes what its menu offers and picks an entry by
  // keyboard (-1: dismisses the menu).
  DeviceMenu OpenDeviceMenu(int pick) {
    DeviceMenu seen;
    QTimer picker;
    picker.setSingleShot(true);
    QObject::connect(&picker, &QTimer::timeout, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      seen.geometry = menu->geometry();
      const QList<QAction*> actions = menu->actions();
      for (int i = 0; i < actions.size(); ++i) {
        seen.items << actions[i]->text();
        if (actions[i]->isChecked()) seen.checked = i;
      }
      if (pick >= 0) menu->setActiveAction(actions.value(pick));
      QTest::keyClick(menu, pick >= 0 ? Qt::Key_Return : Qt::Key_Escape);
    });
    picker.start(300);
    UsbCombo()->showPopup();
    return seen;
  }
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

TEST_F(MainDlgUsbTest, NoPrinterShowsThePlaceholderAndLocksEverything) {
  ExpectState(State::NoPrinter);
  EXPECT_EQ(Status(), QString::fromUtf16(u"ℹ  Select a USB device and click Connect."));
  EXPECT_EQ(dialog->StatusColor(), 0x374151u);
  // Connect pressed anyway: the idle hint, nothing else.
  dialog->OnCommand(kIdConnectButton, kBnClicked);
  ExpectState(State::NoPrinter);
  EXPECT_EQ(Status(), QString::fromUtf16(u"ℹ  Select a USB device and click Connect."));
  // Writing without a connection: the record is checked first, then the warning.
  dialog->OnCommand(dialog->Page(0).writeId, kBnClicked);
  EXPECT_EQ(Status(), QString::fromUtf16(u"⚠  Please enter ProductKey."));
  EXPECT_EQ(dialog->StatusColor(), 0xB91C1Cu);
  Fill(1, kSelfHosted, u" 1884 ");
  dialog->OnCommand(dialog->Page(1).writeId, kBnClicked);
  EXPECT_EQ(Status(), QString::fromUtf16(u"⚠  Select a USB device and click Connect first."));
  dialog->OnCommand(dialog->Page(0).selfTestId, kBnClicked);
  EXPECT_EQ(Status(), QString::fromUtf16(u"⚠  Select a USB device and click Connect first."));
  EXPECT_FALSE(dialog->RequireConnected());
}

TEST_F(MainDlgUsbTest, TechniciansRoadPlugConnectWriteEveryPageUnplug) {
  test::FifoDevice node;
  const UsbDeviceEntry printer = EntryFor(node, u"Receipt Printer", u"SER01");
  Plug(printer);
  ASSERT_TRUE(WaitForListing(1)) << "the printer did not show within the poll";
  EXPECT_EQ(UsbCombo()->currentText(), QString::fromStdU16String(printer.displayName));
  ExpectState(State::Idle);

  ASSERT_NO_FATAL_FAILURE(ConnectTo(0));
  ExpectState(State::Connected);
  EXPECT_EQ(Status(), QString::fromStdU16String(u"✔  Connected: " + printer.displayName));
  EXPECT_EQ(dialog->StatusColor(), 0x15803Du);
  EXPECT_TRUE(StatusDraws(0x15803D));
  EXPECT_FALSE(StatusDraws(0x374151));
  EXPECT_EQ(dialog->ConnectedPath(), printer.devicePath);
  EXPECT_EQ(dialog->Page(0).fields[0]->label->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, 0x374151u);

  // Printer frames on pages 0 to 2, "SW" frames on the cloud-box pages 3 and 4.
  for (const int page : {0, 1, 3, 4}) {
    SCOPED_TRACE(page);
    const bool sw = page >= 3;
    SelectTab(page);
    EXPECT_EQ(TabIndex(dialog->CurrentPage()), page);
    if (page != 0) {  // choosing the tab already shown is no page switch
      EXPECT_EQ(Status(), QString::fromStdU16String(u"ℹ  " + std::u16string(dialog->Page(page).description.en)));
    }
    RecordResult record;
    if (page == 0 || page == 4) {
      Fill(page, kAlibaba, u"8883");
      record = BuildType1Record(kAlibaba, sw);
    } else {
      Fill(page, kSelfHosted, u" 1884 ");
      record = BuildType2Record(kSelfHosted);
    }
    ClickWrite(page);
    EXPECT_EQ(node.Drain(), test::ExpectedPair(sw, record));
    EXPECT_EQ(Status(), QStringLiteral("✔  Write completed successfully."));
    EXPECT_EQ(dialog->StatusColor(), 0x15803Du);
    EXPECT_TRUE(dialog->Page(page).writeButton->isEnabled());
  }

  // Self-test: the fixed frame.
  SelectTab(0);
  QTest::mouseClick(dialog->Page(0).selfTestButton, Qt::LeftButton);
  EXPECT_EQ(node.Drain(), (Bytes{0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F}));
  EXPECT_EQ(Status(), QStringLiteral("✔  Self-test command sent."));

  // A refused record sends nothing and says why.
  Edit(0, u"productKey")->setText(QStringLiteral("   "));
  ClickWrite(0);
  EXPECT_EQ(Status(), QStringLiteral("⚠  Please enter ProductKey."));
  EXPECT_TRUE(node.Drain().empty());
  EXPECT_TRUE(dialog->Page(0).writeButton->isEnabled());

  // Unplugged while connected: within about a second the pages lock.
  printers->entries.clear();
  ASSERT_TRUE(test::WaitUntil([&] { return !dialog->IsConnected(); }, 5s));
  EXPECT_EQ(Status(), QString::fromUtf16(u"⚠  USB device was unplugged. Pages are locked. Connect again."));
  EXPECT_EQ(dialog->StatusColor(), 0xB91C1Cu);
  EXPECT_TRUE(StatusDraws(0xB91C1C));
  EXPECT_FALSE(StatusDraws(0x15803D));
  ExpectState(State::NoPrinter);
  // The message stays on later polls.
  test::Pump(1300ms);
  EXPECT_EQ(Status(), QString::fromUtf16(u"⚠  USB device was unplugged. Pages are locked. Connect again."));
}

TEST_F(MainDlgUsbTest, TencentCloudKeepsItsButtonsLockedForFiveSecondsOnEveryPage) {
  test::FifoDevice node;
  ASSERT_NO_FATAL_FAILURE(ConnectToNew(node));
  SelectTab(2);
  Fill(kTencent, u"");
  QElapsedTimer clock;
  ClickWrite(2);
  clock.start();
  EXPECT_EQ(node.Drain(), test::ExpectedPair(false, BuildType3Record(kTencent)));
  EXPECT_EQ(Status(), QStringLiteral("✔  Write completed. Waiting for printer to apply Tencent Cloud settings..."));
  EXPECT_EQ(dialog->StatusColor(), 0x15803Du);
  EXPECT_FALSE(dialog->Page(2).writeButton->isEnabled());
  EXPECT_FALSE(dialog->Page(2).selfTestButton->isEnabled());
  // Another page meanwhile: it works at once, page 2 stays locked and its
  // buttons come back there while the user is away.
  SelectTab(0);
  EXPECT_TRUE(dialog->Page(0).writeButton->isEnabled());
  test::Pump(4000ms);
  EXPECT_FALSE(dialog->Page(2).writeButton->isEnabled()) << "unlocked before five seconds";
  ASSERT_TRUE(test::WaitUntil([&] { return dialog->Page(2).writeButton->isEnabled(); }, 4s));
  EXPECT_GE(clock.elapsed(), 4900);
  EXPECT_TRUE(dialog->Page(2).selfTestButton->isEnabled());
  EXPECT_EQ(TabIndex(dialog->CurrentPage()), 0);
}

TEST_F(MainDlgUsbTest, ADeviceThatTakesNothingFailsAndUnlocksAtOnce) {
  test::FifoDevice node;
  ASSERT_NO_FATAL_FAILURE(ConnectToNew(node));
  node.FillUp();
  Fill(kTencent, u"");
  Fill(0, kAlibaba, u"8883");
  for (int page : {0, 2}) {
    SelectTab(page);
    QElapsedTimer clock;
    clock.start();
    ClickWrite(page);
    EXPECT_GE(clock.elapsed(), 700) << "the write did not wait for the device";
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(Status(), QStringLiteral("✖  Write failed while sending data to the device."));
    EXPECT_EQ(dialog->StatusColor(), 0xB91C1Cu);
    EXPECT_TRUE(dialog->Page(page).writeButton->isEnabled());
    EXPECT_TRUE(dialog->IsConnected()) << "a failed write keeps the connection";
  }
  QTest::mouseClick(dialog->Page(2).selfTestButton, Qt::LeftButton);
  EXPECT_EQ(Status(), QStringLiteral("✖  Self-test command failed."));
  EXPECT_TRUE(dialog->Page(2).selfTestButton->isEnabled());
}

TEST_F(MainDlgUsbTest, OpenFailureKeepsThePagesLocked) {
  Plug(UsbDeviceEntry{u"usb#vid_1234&pid_0001#X#/nonexistent/lp9", u"Ghost", 0x1234, 1});
  ASSERT_TRUE(WaitForListing(1));
  QTest::mouseClick(ConnectButton(), Qt::LeftButton);
  ExpectState(State::Idle);
  EXPECT_EQ(Status(),
            QString::fromUtf16(u"⚠  USB open failed. Check the device is on and the cable is connected."));
}

TEST_F(MainDlgUsbTest, ListChangesKeepTheSelectionAndTheConnection) {
  test::FifoDevice a, b, c;
  const UsbDeviceEntry pa = EntryFor(a, u"A", u"SA"), pb = EntryFor(b, u"B", u"SB"), pc = EntryFor(c, u"C", u"SC");
  Plug(pa);
  Plug(pb);
  ASSERT_TRUE(WaitForListing(2));
  UsbCombo()->setCurrentIndex(1);
  // Nothing changed: later polls leave the combo and the choice alone, so
  // the list neither flickers nor loses what the user picked.
  int touches = 0;
  QAbstractItemModel* model = UsbCombo()->model();
  const auto count = [&touches] { ++touches; };
  const QMetaObject::Connection watches[] = {
      QObject::connect(model, &QAbstractItemModel::rowsRemoved, count),
      QObject::connect(model, &QAbstractItemModel::rowsInserted, count),
      QObject::connect(model, &QAbstractItemModel::modelReset, count),
      QObject::connect(UsbCombo(), &QComboBox::currentIndexChanged, count)};
  const int listings = printers->listings;
  ASSERT_TRUE(test::WaitUntil([&] { return printers->listings >= listings + 2; }, 4s));
  EXPECT_EQ(touches, 0);
  EXPECT_EQ(UsbCombo()->currentIndex(), 1);
  for (const QMetaObject::Connection& watch : watches) QObject::disconnect(watch);
  // A third printer in front: the list is rebuilt and B stays selected.
  printers->entries.insert(printers->entries.begin(), pc);
  ASSERT_TRUE(WaitForListing(3));
  EXPECT_EQ(UsbCombo()->currentText(), QString::fromStdU16String(pb.displayName));
  // The selected printer unplugged while not connected: the first remaining one.
  printers->entries.erase(printers->entries.begin() + 2);
  ASSERT_TRUE(WaitForListing(2));
  EXPECT_EQ(UsbCombo()->currentIndex(), 0);

  // Connected to A, then another printer plugged in: connection and selection stay.
  printers->entries = {pa, pc};
  ASSERT_TRUE(test::WaitUntil([&] { return dialog->Devices().size() == 2 && dialog->Devices()[0].devicePath == pa.devicePath; }, 5s));
  ASSERT_NO_FATAL_FAILURE(ConnectTo(0));
  printers->entries = {pb, pc, pa};
  ASSERT_TRUE(WaitForListing(3));
  EXPECT_TRUE(dialog->IsConnected());
  EXPECT_EQ(UsbCombo()->currentText(), QString::fromStdU16String(pa.displayName));
  // The port still writes to A.
  QTest::mouseClick(dialog->Page(0).selfTestButton, Qt::LeftButton);
  EXPECT_EQ(a.Drain().size(), 8u);
  EXPECT_TRUE(b.Drain().empty());

  // Disconnect: idle hint, locked pages, and the list read again at once.
  const int before = printers->listings;
  QTest::mouseClick(ConnectButton(), Qt::LeftButton);
  ExpectState(State::Idle);
  EXPECT_GT(printers->listings, before);
  EXPECT_EQ(Status(), QString::fromUtf16(u"ℹ  Select a USB device and click Connect."));
}

TEST_F(MainDlgUsbTest, DeviceMenuOpensAboveTheComboAndSelectsWithoutConnecting) {
  std::vector<std::unique_ptr<test::FifoDevice>> nodes;
  for (int i = 0; i < 3; ++i) {
    nodes.push_back(std::make_unique<test::FifoDevice>());
    Plug(EntryFor(*nodes.back(), u"P" + Number(i), u"S"));
  }
  ASSERT_TRUE(WaitForListing(3));
  UsbCombo()->setCurrentIndex(1);
  const DeviceMenu menu = OpenDeviceMenu(2);
  EXPECT_EQ(menu.items.size(), 3);
  EXPECT_EQ(menu.checked, 1);
  EXPECT_EQ(menu.items.value(2), QString::fromStdU16String(dialog->Devices()[2].displayName));
  EXPECT_LE(menu.geometry.bottom(), UsbCombo()->mapToGlobal(QPoint(0, 0)).y());
  EXPECT_EQ(UsbCombo()->currentIndex(), 2);
  EXPECT_FALSE(dialog->IsConnected());

  // Dismissed: nothing changes.
  EXPECT_EQ(OpenDeviceMenu(-1).items.size(), 3);
  EXPECT_EQ(UsbCombo()->currentIndex(), 2);

  // Seventy printers: the menu offers the first 64.
  printers->entries.clear();
  for (int i = 0; i < 70; ++i) {
    Plug(UsbDeviceEntry{u"usb#vid_0001&pid_0002#N" + Number(i) + u"#/dev/null", u"Printer", 1, 2});
  }
  ASSERT_TRUE(WaitForListing(70));
  EXPECT_EQ(OpenDeviceMenu(63).items.size(), 64);
  EXPECT_EQ(UsbCombo()->currentIndex(), 63);
}

TEST_F(MainDlgUsbTest, LanguageSwitchInEveryState) {
  // No printer: the placeholder and the idle hint follow the language.
  ChooseLanguage(1);
  EXPECT_TRUE(dialog->IsChinese());
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("VARNO  Quillmark  V16"));
  EXPECT_EQ(UsbCombo()->currentText(), QString::fromUtf16(u"未检测到可用的 USB 设备"));
  EXPECT_EQ(Status(), QString::fromUtf16(u"ℹ  请先选择 USB 设备并点击连接。"));
  EXPECT_EQ(ConnectButton()->text(), QString::fromUtf16(u"连接"));
  EXPECT_EQ(qobject_cast<QTabBar*>(dialog->Control(kIdTab))->tabText(3), QString::fromUtf16(u"  云盒-自建 MQTT  "));
  EXPECT_EQ(dialog->Page(0).fields[3]->label->text(), QString::fromUtf16(u"阿里云 URL："));
  EXPECT_EQ(dialog->Page(0).fields[0]->label->text(), QStringLiteral("ProductKey :"));
  EXPECT_EQ(dialog->Page(1).fields[0]->label->text(), QStringLiteral("clientID / SN"));
  EXPECT_EQ(dialog->Page(3).writeButton->text(), QString::fromUtf16(u"写入云盒"));
  EXPECT_EQ(dialog->Page(1).caButton->text(), QString::fromUtf16(u"自定义 CA 证书（选配）"));
  EXPECT_EQ(qobject_cast<CModernButton*>(dialog->Control(kIdSimulatorButton))->text(), QString::fromUtf16(u"MQTT 模拟器"));
  // Refused records in Chinese; messages outside the table stay English.
  dialog->OnCommand(dialog->Page(0).writeId, kBnClicked);
  EXPECT_EQ(Status(), QString::fromUtf16(u"⚠  请输入 ProductKey！"));
  EXPECT_EQ(dialog->LocalizeMessage(u"Please enter port."), u"请输入端口号！");
  EXPECT_EQ(dialog->LocalizeMessage(u"Please enter port"), u"Please enter port");
  EXPECT_EQ(dialog->LocalizeMessage(u"please enter port."), u"please enter port.");
  EXPECT_EQ(dialog->LocalizeMessage(u"Configuration exceeds device storage capacity."),
            u"错误：配置数据超出设备存储容量！");

  // Printers present: the list is left as it was.
  test::FifoDevice node;
  const UsbDeviceEntry printer = EntryFor(node, u"Receipt Printer", u"Z1");
  Plug(printer);
  ASSERT_TRUE(WaitForListing(1));
  ChooseLanguage(0);
  EXPECT_EQ(UsbCombo()->currentText(), QString::fromStdU16String(printer.displayName));
  EXPECT_EQ(dialog->LocalizeMessage(u"Please enter port."), u"Please enter port.");

  // Connected, TLS on page 1: selections kept, the CA button stays, the
  // status becomes the page description.
  ASSERT_NO_FATAL_FAILURE(ConnectTo(0));
  SelectTab(1);
  ChooseTls(1, 1);
  EXPECT_TRUE(dialog->Page(1).caButton->isVisible());
  Combo(1, u"cleanSession")->setCurrentIndex(1);
  dialog->OnCommand(dialog->Page(1).writeId, kBnClicked);  // some status showing
  ChooseLanguage(1);
  EXPECT_EQ(Combo(1, u"tls")->currentIndex(), 1);
  EXPECT_EQ(Combo(1, u"tls")->currentText(), QString::fromUtf16(u"启用 TLS"));
  EXPECT_EQ(Combo(1, u"cleanSession")->currentText(), QString::fromUtf16(u"保留离线消息"));
  EXPECT_EQ(Combo(0, u"service")->currentText(), QString::fromUtf16(u"新实例"));
  EXPECT_TRUE(dialog->Page(1).caButton->isVisible());
  EXPECT_EQ(Status(), QString::fromUtf16(u"ℹ  自建 MQTT 参数配置"));
  EXPECT_EQ(ConnectButton()->text(), QString::fromUtf16(u"断开"));
  EXPECT_TRUE(dialog->IsConnected());
  test::MaybeSaveShot(dialog->grab().toImage(), QStringLiteral("main-zh-connected"));
  ChooseLanguage(0);
  EXPECT_EQ(Combo(1, u"tls")->currentText(), QStringLiteral("Enable TLS"));
  EXPECT_EQ(Status(), QStringLiteral("ℹ  Self-hosted MQTT settings."));
  test::MaybeSaveShot(dialog->grab().toImage(), QStringLiteral("main-en-connected-tls"));
}

TEST_F(MainDlgUsbTest, TlsChoiceShowsTheCaButtonOnItsOwnPageOnly) {
  test::FifoDevice node;
  ASSERT_NO_FATAL_FAILURE(ConnectToNew(node));
  for (int page : {1, 3}) {
    SelectTab(page);
    CModernButton* ca = dialog->Page(page).caButton;
    EXPECT_FALSE(ca->isVisible());
    const int lastRowBottom = dialog->Page(page).fields.back()->combo->geometry().bottom();
    ChooseTls(page, 1);
    EXPECT_TRUE(ca->isVisible());
    EXPECT_TRUE(ca->isEnabled());
    EXPECT_LT(lastRowBottom, ca->y());  // room was kept above the buttons
    EXPECT_EQ(ca->height(), 34);
    EXPECT_EQ(ca->y() + 34 + 8, dialog->Page(page).writeButton->y());
    // Another page current: hidden even with TLS on.
    SelectTab(0);
    EXPECT_FALSE(ca->isVisible());
    SelectTab(page);
    EXPECT_TRUE(ca->isVisible());
    ChooseTls(page, 0);
    EXPECT_FALSE(ca->isVisible());
  }
}

TEST_F(MainDlgUsbTest, TopicPrefixFollowsProductKeyAndDeviceName) {
  test::FifoDevice node;
  ASSERT_NO_FATAL_FAILURE(ConnectToNew(node));
  SelectTab(4);
  const auto prefixes = [&](int page) {
    QStringList texts;
    for (const auto& field : dialog->Page(page).fields) {
      if (field->prefix) texts << field->prefix->text();
    }
    return texts;
  };
  QTest::keyClicks(Edit(4, u"deviceName"), QStringLiteral("d1"));
  EXPECT_EQ(prefixes(4), (QStringList{QStringLiteral("//d1/user/"), QStringLiteral("//d1/user/")}));
  QTest::keyClicks(Edit(4, u"productKey"), QStringLiteral(" a1 "));
  EXPECT_EQ(prefixes(4).value(0), QStringLiteral("/a1/d1/user/"));
  EXPECT_EQ(prefixes(0).value(0), QStringLiteral("/${ProductKey}/${DeviceName}/user/"));
  Edit(4, u"deviceName")->setText(QStringLiteral("  "));
  EXPECT_EQ(prefixes(4).value(1), QStringLiteral("/a1//user/"));
  Edit(4, u"productKey")->clear();
  EXPECT_EQ(prefixes(4).value(1), QStringLiteral("/${ProductKey}/${DeviceName}/user/"));
  // Page 2 has no prefix rows; typing there changes nothing anywhere.
  SelectTab(2);
  QTest::keyClicks(Edit(2, u"deviceName"), QStringLiteral("x"));
  EXPECT_EQ(prefixes(0).value(0), QStringLiteral("/${ProductKey}/${DeviceName}/user/"));
  EXPECT_EQ(prefixes(4).value(0), QStringLiteral("/${ProductKey}/${DeviceName}/user/"));
}

TEST_F(MainDlgUsbTest, RecordsOverTheLimitAreRefusedPerPageReserve) {
  test::FifoDevice node;
  ASSERT_NO_FATAL_FAILURE(ConnectToNew(node));
  // Grow the secret until page 0 (reserve 17) refuses while page 4 (reserve 10) accepts.
  AlibabaCloudConfig big = kAlibaba;
  while (big.deviceSecret.size() < 250 && (BuildType1Record(big, false).ok || !BuildType1Record(big, true).ok)) {
    big.deviceSecret += u'x';
  }
  ASSERT_LT(big.deviceSecret.size(), 250u);
  for (int page : {0, 4}) {
    SelectTab(page);
    Fill(page, big, u"8883");
    ClickWrite(page);
  }
  EXPECT_EQ(node.Drain(), test::ExpectedPair(true, BuildType1Record(big, true)));
  EXPECT_EQ(Status(), QStringLiteral("✔  Write completed successfully."));
  SelectTab(0);
  ClickWrite(0);
  EXPECT_EQ(Status(), QStringLiteral("⚠  Configuration exceeds device storage capacity."));
  EXPECT_TRUE(node.Drain().empty());
}

}  // namespace
}  // namespace qm
