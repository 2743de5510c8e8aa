// SPDX-License-Identifier: MIT
// The main window on Linux: device nodes the user may not open, keyboard
// focus across a write, and device names that are the device's own text.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "ui/CModernButton.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using namespace std::chrono_literals;

// The node unreadable for this process while it lives: mode 000, and as root
// (who passes any mode) the effective user is "nobody".
struct NoAccess {
  explicit NoAccess(std::string node) : path(std::move(node)) {
    ::chmod(path.c_str(), 0);
    if (::getuid() == 0) {
      EXPECT_EQ(::seteuid(65534), 0);
    }
  }
  ~NoAccess() {
    if (::getuid() == 0) {
      EXPECT_EQ(::seteuid(0), 0);
    }
    ::chmod(path.c_str(), 0600);
  }
  std::string path;
};

class MainDlgLinuxTest : public test::ShownMainDlg {
 protected:
  QString Status() const { return qobject_cast<QLabel*>(dialog->Control(kIdStatus))->text(); }
  void Plug(const std::u16string& node, const std::u16string& name) {
    printers->entries.push_back({u"usb#vid_1234&pid_0a0b#S1#" + node, name, 0x1234, 0x0A0B});
    const std::size_t count = printers->entries.size();
    ASSERT_TRUE(test::WaitUntil([&] { return dialog->Devices().size() == count; }, 5s));
  }
  void Choose(int id, int index) {  // as the user picks an entry
    auto* combo = qobject_cast<QComboBox*>(dialog->Control(id));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  // Space on whatever has keyboard focus, as the user presses it.
  static void PressSpace() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); }
  // Focus on the button as Shift+Tab, Tab would put it there.
  static void TabTo(QWidget* button) {
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
};

TEST_F(MainDlgLinuxTest, OpenFailuresSayWhetherPermissionIsMissing) {
  test::FifoDevice node;
  struct Case {
    bool denied;
    int language;
    const char16_t* status;
  };
  const Case cases[] = {
      {true, 0,
       u"⚠  No permission to open the USB device. Add your user to the group lp and log in again."},
      {true, 1, u"⚠  没有打开 USB 设备的权限。请将用户加入 lp 组后重新登录。"},
      {false, 0, u"⚠  USB open failed. Check the device is on and the cable is connected."},
      {false, 1, u"⚠  USB打开失败，请确认设备已开机并连接数据线。"},
  };
  Plug(node.WidePath(), u"Printer");
  Plug(u"/dev/usb/lp-missing", u"Gone");
  for (const Case& c : cases) {
    Choose(kIdLanguageCombo, c.language);
    Choose(kIdUsbCombo, c.denied ? 0 : 1);
    {
      const NoAccess locked(c.denied ? node.Path() : std::string("/nonexistent"));
      QTest::mouseClick(dialog->Control(kIdConnectButton), Qt::LeftButton);
    }
    EXPECT_EQ(Status(), QString::fromUtf16(c.status));
    EXPECT_EQ(dialog->StatusColor(), 0xB91C1Cu);
    EXPECT_FALSE(dialog->IsConnected());
  }
}

TEST_F(MainDlgLinuxTest, KeyboardFocusStaysOnTheButtonThatWrote) {
  test::FifoDevice node;
  Plug(node.WidePath(), u"Printer");
  dialog->OnCommand(kIdConnectButton, kBnClicked);
  ASSERT_TRUE(dialog->IsConnected());
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  TabTo(dialog->Page(0).selfTestButton);
  PressSpace();
  EXPECT_EQ(QApplication::focusWidget(), dialog->Page(0).selfTestButton);
  PressSpace();  // the second Space writes again
  const std::vector<std::uint8_t> twice = {0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F,
                                           0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F};
  EXPECT_EQ(node.Drain(), twice);
  test::MaybeSaveShot(dialog->grab().toImage(), QStringLiteral("focus-after-self-test"));

  // Tencent Cloud: the button stays disabled for five seconds; focus comes
  // back to it with the unlock when nobody moved it meanwhile.
  qobject_cast<QTabBar*>(dialog->Control(kIdTab))->setCurrentIndex(2);
  for (const char16_t* key :
       {u"productKey", u"deviceName", u"deviceSecret", u"subTopic", u"pubTopic"}) {
    test::FindField(dialog->Page(2), key)->edit->setText(QStringLiteral("x"));
  }
  CModernButton* write = dialog->Page(2).writeButton;
  TabTo(write);
  PressSpace();
  EXPECT_FALSE(write->isEnabled());
  EXPECT_NE(QApplication::focusWidget(), write);
  ASSERT_TRUE(test::WaitUntil([&] { return write->isEnabled(); }, 7s));
  EXPECT_EQ(QApplication::focusWidget(), write);
  test::MaybeSaveShot(dialog->grab().toImage(), QStringLiteral("focus-after-tencent"));
}

TEST_F(MainDlgLinuxTest, DeviceMenuShowsAnAmpersandAsALetter) {
  Plug(u"/dev/usb/lp0", u"AT&T Printer  (VID_1234 PID_0A0B)  S1");
  QString shown;
  QTimer::singleShot(300, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    shown = menu->actions().value(0)->iconText();  // the text with its mnemonic marks resolved
    QTest::keyClick(menu, Qt::Key_Escape);
  });
  qobject_cast<QComboBox*>(dialog->Control(kIdUsbCombo))->showPopup();
  EXPECT_EQ(shown, QStringLiteral("AT&T Printer  (VID_1234 PID_0A0B)  S1"));
  EXPECT_EQ(qobject_cast<QComboBox*>(dialog->Control(kIdUsbCombo))->currentText(), shown);
}

}  // namespace
}  // namespace qm
