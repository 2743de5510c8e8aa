// SPDX-License-Identifier: MIT
#include "usb/UsbPrinterEnumeration.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "usb/MockUsbBus.h"

namespace qm {
namespace {

using std::nullopt;
using test::FakePrinter;

class UsbEnumeration : public ::testing::Test {
 protected:
  // Without the preload library the tests would look at this machine's real devices.
  void SetUp() override { ASSERT_TRUE(test::MockUsbBus::PreloadActive()) << "run under umockdev"; }
  test::MockUsbBus bus;
};

TEST_F(UsbEnumeration, OnlyPrintersOfUsbDevicesAreListedAndNothingIsCached) {
  EXPECT_TRUE(EnumerateUsbPrinters().empty());
  // A USB device with another usbmisc device but no printer interface, and an lp of no USB device.
  bus.Add(
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-4\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
      "A: idVendor=046d\nA: idProduct=c077\n\n"
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/usbmisc/hiddev0\n"
      "N: usb/hiddev0\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/hiddev0\n\n");
  bus.Plug(FakePrinter{.hasUsbParent = false});
  EXPECT_TRUE(EnumerateUsbPrinters().empty());
  bus.Plug(FakePrinter{.port = "1-3", .serial = "SER01", .product = "Receipt Printer", .lp = 1});
  // Not the usual device/interface/usbmisc layout: found by walking up from the node.
  bus.Add(
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-7\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
      "A: idVendor=0dd4\nA: idProduct=0195\nA: serial=DEEP\nA: product=Kiosk\n\n"
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-7/1-7:1.0\nE: SUBSYSTEM=usb\n"
      "E: DEVTYPE=usb_interface\n\n"
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-7/1-7:1.0/port/usbmisc/lp3\nN: usb/lp3\n"
      "E: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/lp3\n\n");
  std::vector<std::u16string> listed;
  for (const UsbPrinterInfo& info : EnumerateUsbPrinters()) {
    listed.push_back(info.devicePath + u" = " + info.displayName);
  }
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::u16string>{
                        u"usb#vid_0dd4&pid_0195#DEEP#/dev/usb/lp3 = Kiosk  (VID_0DD4 PID_0195)  DEEP",
                        u"usb#vid_1fc9&pid_2016#SER01#/dev/usb/lp1 = Receipt Printer  "
                        u"(VID_1FC9 PID_2016)  SER01"}));
}

// The device's strings are untrusted: controls become blanks, bidi formatting goes, '#' in
// the serial would split the path.
TEST_F(UsbEnumeration, NamesIdsAndSerialsWithTheirFallbacks) {
  struct Case {
    std::optional<std::string> manufacturer, product, model, serial;
    std::string vid;
    std::u16string path, name;
  };
  const Case cases[] = {
      {"ACME", "Receipt Printer", "TM", "S1", "04B8", u"vid_04b8&pid_2016#S1#",
       u"ACME Receipt Printer  (VID_04B8 PID_2016)  S1"},
      {nullopt, nullopt, "TM Series", nullopt, "1fc9", u"vid_1fc9&pid_2016#1-2#",
       u"TM Series  (VID_1FC9 PID_2016)  1-2"},
      {"", "", "", "A#B", "1fc9", u"vid_1fc9&pid_2016#A_B#", u"USB Printer  (VID_1FC9 PID_2016)  A_B"},
      {"ACME", nullopt, nullopt, "S\x01N\u202E", "0000", u"vid_0000&pid_2016#S\x01N\u202E#",
       u"ACME  (VID_0000 PID_2016)  S N"},
      {"\u202Aa\u2066b", "\u200Fc\u061Cd\nLine\rX\tQ\x1B\x7F", nullopt, "S", "1fc9",
       u"vid_1fc9&pid_2016#S#", u"ab cd Line X Q    (VID_1FC9 PID_2016)  S"},
      {nullopt, "a\u0085c\u009Bd\u2028e\u2029f", nullopt, "S", "1fc9", u"vid_1fc9&pid_2016#S#",
       u"a c d e f  (VID_1FC9 PID_2016)  S"},
      {nullopt, "打印\u202E\u2066", nullopt, "S", "1fc9", u"vid_1fc9&pid_2016#S#",
       u"打印  (VID_1FC9 PID_2016)  S"},
  };
  for (const Case& c : cases) {
    bus.Clear();
    bus.Plug(FakePrinter{.vid = c.vid, .serial = c.serial, .manufacturer = c.manufacturer,
                         .product = c.product, .modelFromDatabase = c.model});
    const std::vector<UsbPrinterInfo> list = EnumerateUsbPrinters();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].devicePath, u"usb#" + c.path + u"/dev/usb/lp0");
    EXPECT_EQ(list[0].displayName, c.name);
  }
}

}  // namespace
}  // namespace qm
