// SPDX-License-Identifier: MIT
#include "usb/UsbPrinterEnumeration.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "usb/MockUsbBus.h"

namespace qm {
namespace {

using std::nullopt;
using test::FakePrinter;

struct UsbEnumeration : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(test::MockUsbBus::PreloadActive()) << "run under umockdev"; }
  test::MockUsbBus bus;
};

TEST_F(UsbEnumeration, OnlyPrintersOfUsbDevicesAreListedAndNothingIsCached) {
  bus.Plug(FakePrinter{.hasUsbParent = false});  // an lp of no USB device
  EXPECT_TRUE(EnumerateUsbPrinters().empty());
  bus.Plug(FakePrinter{.port = "1-3", .serial = "SE", .product = "Receipt", .lp = 1});
  // Not the usual device/interface/usbmisc layout: found by walking up from the node.
  bus.Add(
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-7\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
      "A: idVendor=0dd4\nA: idProduct=0195\nA: serial=DEEP\nA: product=Kiosk\n\n"
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-7/1-7:1.0\nE: SUBSYSTEM=usb\n"
      "E: DEVTYPE=usb_interface\n\n"
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-7/1-7:1.0/port/usbmisc/lp3\nN: usb/lp3\n"
      "E: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/lp3\n\n");
  std::vector<std::u16string> all;
  for (const auto& i : EnumerateUsbPrinters()) all.push_back(i.devicePath + u"=" + i.displayName);
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (std::vector<std::u16string>{
                     u"usb#vid_0dd4&pid_0195#DEEP#/dev/usb/lp3=Kiosk  (VID_0DD4 PID_0195)  DEEP",
                     u"usb#vid_1fc9&pid_2016#SE#/dev/usb/lp1=Receipt  (VID_1FC9 PID_2016)  SE"}));
}

// Untrusted strings: controls become blanks, bidi formatting goes, '#' would split the path.
TEST_F(UsbEnumeration, NamesIdsAndSerialsWithTheirFallbacks) {
  using Text = std::optional<std::string>;
  for (const auto& [manufacturer, product, model, serial, vid, path, name] :
       {std::tuple<Text, Text, Text, Text, std::string, std::u16string, std::u16string>{
            "ACME", "Receipt Printer", "TM", "S1", "04B8", u"vid_04b8&pid_2016#S1#",
            u"ACME Receipt Printer  (VID_04B8 PID_2016)  S1"},
        {nullopt, nullopt, "TM Series", nullopt, "1fc9", u"vid_1fc9&pid_2016#1-2#",
         u"TM Series  (VID_1FC9 PID_2016)  1-2"},
        {"", "", "", "A#B", "1fc9", u"vid_1fc9&pid_2016#A_B#",
         u"USB Printer  (VID_1FC9 PID_2016)  A_B"},
        {"ACME", nullopt, nullopt, "S\x01N\u202E", "0000", u"vid_0000&pid_2016#S\x01N\u202E#",
         u"ACME  (VID_0000 PID_2016)  S N"},
        {"打\u202Aa\u2066b\u2028c", "\u200Fd\u061Ce\nf\rg\th\x1B\x7F\u0085i\u009Bj\u2029", nullopt,
         "S", "1fc9", u"vid_1fc9&pid_2016#S#",
         u"打ab c de f g h   i j   (VID_1FC9 PID_2016)  S"}}) {
    bus.Clear();
    bus.Plug(FakePrinter{.vid = vid,
                         .serial = serial,
                         .manufacturer = manufacturer,
                         .product = product,
                         .modelFromDatabase = model});
    const std::vector<UsbPrinterInfo> list = EnumerateUsbPrinters();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].devicePath, u"usb#" + path + u"/dev/usb/lp0");
    EXPECT_EQ(list[0].displayName, name);
  }
}

}  // namespace
}  // namespace qm
