// SPDX-License-Identifier: MIT
// The technician's road on the program's own printer list: udev answers from
// a umockdev bus, and the printer's node is umockdev's emulated /dev/usb/lp0.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "config/ConfigRecords.h"
#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/UiTestSupport.h"
#include "usb/MockUsbBus.h"

namespace qm {
namespace {

using namespace std::chrono_literals;

TEST(MainDlgUdev, PlugConnectWriteAndUnplugOnTheUdevList) {
  ASSERT_TRUE(test::MockUsbBus::PreloadActive()) << "run under umockdev's preload library";
  test::MockUsbBus bus;
  CMainDlg dialog;  // the program's own udev printer list
  dialog.show();
  ASSERT_TRUE(test::WaitUntil([&] { return dialog.isVisible(); }, 5s));
  auto* combo = qobject_cast<QComboBox*>(dialog.Control(kIdUsbCombo));
  auto* status = qobject_cast<QLabel*>(dialog.Control(kIdStatus));
  EXPECT_EQ(combo->currentText(), QStringLiteral("No usable USB device"));

  test::FakePrinter printer;
  printer.serial = "SER01";
  printer.manufacturer = "ACME";
  printer.product = "Receipt Printer";
  bus.Plug(printer);
  ASSERT_TRUE(test::WaitUntil([&] { return dialog.Devices().size() == 1; }, 5s));
  EXPECT_EQ(combo->currentText(), QStringLiteral("ACME Receipt Printer  (VID_1FC9 PID_2016)  SER01"));

  QTest::mouseClick(dialog.Control(kIdConnectButton), Qt::LeftButton);
  ASSERT_TRUE(dialog.IsConnected()) << status->text().toStdString();

  const PageState& page = dialog.Page(0);
  const auto edit = [&](std::u16string_view key) { return test::FindField(page, key)->edit; };
  edit(u"productKey")->setText(QStringLiteral("pk1"));
  edit(u"deviceName")->setText(QStringLiteral("dn1"));
  edit(u"deviceSecret")->setText(QStringLiteral("ds1"));
  edit(u"url")->setText(QStringLiteral("mqtt.example.com"));
  QTest::mouseClick(page.writeButton, Qt::LeftButton);
  EXPECT_EQ(status->text(), QStringLiteral("✔  Write completed successfully."));
  const Frame expected = test::ExpectedPair(
      false,
      R"({"Key":"pk1","SN":"dn1","Pass":"ds1","Url":"mqtt.example.com","Port":1883,"SUB":"user/",)"
      R"("PUB":"user/","Type":1})",
      "dn1");
  EXPECT_EQ(bus.Received("/dev/usb/lp0", expected.size(), 3s), expected);

  bus.Clear();
  ASSERT_TRUE(test::WaitUntil([&] { return !dialog.IsConnected(); }, 5s));
  EXPECT_EQ(status->text(), QString::fromUtf16(u"⚠  USB device was unplugged. Pages are locked. Connect again."));
  EXPECT_FALSE(dialog.PagesEnabled());
}

}  // namespace
}  // namespace qm
