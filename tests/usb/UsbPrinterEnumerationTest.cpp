// SPDX-License-Identifier: MIT
#include "usb/UsbPrinterEnumeration.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "text/TextHelpers.h"
#include "usb/MockUsbBus.h"

namespace qm {
namespace {

using std::nullopt;
using test::FakePrinter;
using test::MockUsbBus;

FakePrinter Acme(int lp = 0, const std::string& port = "1-2") {
  FakePrinter printer{.port = port,
                      .serial = "SER01",
                      .manufacturer = "ACME",
                      .product = "Receipt Printer",
                      .modelFromDatabase = nullopt,
                      .lp = lp};
  return printer;
}

class UsbEnumeration : public ::testing::Test {
 protected:
  // Without the preload library the tests would look at this machine's real
  // devices and prove nothing.
  void SetUp() override { ASSERT_TRUE(MockUsbBus::PreloadActive()) << "run under umockdev"; }

  // Plugs the printer alone into the bus; its entry in the device list.
  UsbPrinterInfo Only(const FakePrinter& printer) {
    bus.Clear();
    bus.Plug(printer);
    const std::vector<UsbPrinterInfo> list = EnumerateUsbPrinters();
    EXPECT_EQ(list.size(), 1u);
    return list.empty() ? UsbPrinterInfo{} : list[0];
  }

  MockUsbBus bus;
};

TEST_F(UsbEnumeration, OnlyPrintersOfUsbDevicesAreListedAndNothingIsCached) {
  EXPECT_TRUE(EnumerateUsbPrinters().empty());
  // A USB device that has other usbmisc devices but no printer interface.
  bus.Add(
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-4\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
      "A: idVendor=046d\nA: idProduct=c077\n\n"
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/usbmisc/hiddev0\n"
      "N: usb/hiddev0\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/hiddev0\n\n");
  EXPECT_TRUE(EnumerateUsbPrinters().empty());
  FakePrinter orphan = Acme(0);
  orphan.hasUsbParent = false;
  bus.Plug(orphan);
  EXPECT_TRUE(EnumerateUsbPrinters().empty());
  bus.Plug(Acme(1, "1-3"));
  // Not the usual device/interface/usbmisc layout: the USB device is found by
  // walking up from the node.
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
  EXPECT_EQ(listed,
            (std::vector<std::u16string>{
                u"usb#vid_0dd4&pid_0195#DEEP#/dev/usb/lp3 = Kiosk  (VID_0DD4 PID_0195)  DEEP",
                u"usb#vid_1fc9&pid_2016#SER01#/dev/usb/lp1 = ACME Receipt Printer  "
                u"(VID_1FC9 PID_2016)  SER01"}));
}

// The device's name strings are untrusted: controls become blanks, bidi
// formatting goes.
TEST_F(UsbEnumeration, NamesTheirFallbacksAndUntrustedText) {
  struct Case {
    std::optional<std::string> manufacturer, product, model;
    std::u16string name;
  };
  const Case cases[] = {
      {"ACME", "Receipt Printer", "TM Series", u"ACME Receipt Printer"},  // friendly name wins
      {nullopt, "Receipt Printer", nullopt, u"Receipt Printer"},
      {"ACME", nullopt, nullopt, u"ACME"},
      {nullopt, nullopt, "TM Series", u"TM Series"},
      {"", "", "", u"USB Printer"},
      {"打印", "機 Ω", nullopt, u"打印 機 Ω"},
      {nullopt, "Evil\u202E", nullopt, u"Evil"},
      {"\u202Aa\u202Bb\u202Cc\u202Dd\u202Ee\u2066f", "\u2067g\u2068h\u2069i\u200Ej\u200Fk\u061Cl",
       nullopt, u"abcdef ghijkl"},
      {nullopt, "Line1\nLine2\rX\tCtrl+Q\x1B", nullopt, u"Line1 Line2 X Ctrl+Q "},
      {nullopt,
       "a\x7F"
       "b\u0085c\u009Bd\u2028e\u2029f",
       nullopt, u"a b c d e f"},
      {nullopt, "AT&T \u05D0\u05D1", nullopt, u"AT&T \u05D0\u05D1"},
      {nullopt, "\u202E\u2066", nullopt, u"USB Printer"},
  };
  for (const Case& c : cases) {
    FakePrinter printer = Acme();
    printer.manufacturer = c.manufacturer;
    printer.product = c.product;
    printer.modelFromDatabase = c.model;
    EXPECT_EQ(Only(printer).displayName, c.name + u"  (VID_1FC9 PID_2016)  SER01");
  }
}

TEST_F(UsbEnumeration, IdsAndSerialInPathAndName) {
  struct Case {
    std::string vid, pid;
    std::optional<std::string> serial;
    std::u16string path, name;  // path without "usb#", name without "ACME Receipt Printer  "
    std::uint16_t vidValue, pidValue;
  };
  const Case cases[] = {
      {"04B8", "0E2a", "SER01", u"vid_04b8&pid_0e2a#SER01#", u"(VID_04B8 PID_0E2A)  SER01", 0x04B8,
       0x0E2A},
      {"0000", "0000", "SER01", u"vid_0000&pid_0000#SER01#", u"SER01", 0, 0},  // no zero ids shown
      {"1fc9", "2016", nullopt, u"vid_1fc9&pid_2016#1-2#", u"(VID_1FC9 PID_2016)  1-2", 0x1FC9,
       0x2016},  // no serial: the USB port
      {"1fc9", "2016", "", u"vid_1fc9&pid_2016#1-2#", u"(VID_1FC9 PID_2016)  1-2", 0x1FC9, 0x2016},
      {"1fc9", "2016", "A#B#C", u"vid_1fc9&pid_2016#A_B_C#", u"(VID_1FC9 PID_2016)  A_B_C", 0x1FC9,
       0x2016},  // '#' separates the path's segments
      {"1fc9", "2016", "S\x01N\u202E", u"vid_1fc9&pid_2016#S\x01N\u202E#",
       u"(VID_1FC9 PID_2016)  S N", 0x1FC9, 0x2016},
  };
  for (const Case& c : cases) {
    FakePrinter printer = Acme();
    printer.vid = c.vid;
    printer.pid = c.pid;
    printer.serial = c.serial;
    const UsbPrinterInfo info = Only(printer);
    EXPECT_EQ(info.devicePath, u"usb#" + c.path + u"/dev/usb/lp0");
    EXPECT_EQ(info.displayName, u"ACME Receipt Printer  " + c.name);
    EXPECT_EQ(info.vid, c.vidValue);
    EXPECT_EQ(info.pid, c.pidValue);
  }
}

}  // namespace
}  // namespace qm
