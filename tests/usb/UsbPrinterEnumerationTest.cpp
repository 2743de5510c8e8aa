// SPDX-License-Identifier: MIT
#include "usb/UsbPrinterEnumeration.h"

#include <gtest/gtest.h>


#include "text/TextHelpers.h"
#include "usb/MockUsbBus.h"

namespace qm {
namespace {

using test::FakePrinter;
using test::MockUsbBus;


FakePrinter Acme(int lp = 0, const std::string& port = "1-2") {
  FakePrinter printer;
  printer.port = port;
  printer.lp = lp;
  printer.serial = "SER01";
  printer.manufacturer = "ACME";
  printer.product = "Receipt Printer";
  return printer;
}

class UsbEnumeration : public ::testing::Test {
 protected:
  void SetUp() override {
    // Without the preload library the tests would look at this machine's
    // real devices and prove nothing.
    ASSERT_TRUE(MockUsbBus::PreloadActive()) << "run under umockdev's preload library";
  }

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

TEST_F(UsbEnumeration, NoPrinterGivesAnEmptyList) {
  EXPECT_TRUE(EnumerateUsbPrinters().empty());
  // A USB device that has other usbmisc devices but no printer interface.
  bus.Add(
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-4\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
      "A: idVendor=046d\nA: idProduct=c077\n\n"
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/usbmisc/hiddev0\n"
      "N: usb/hiddev0\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/hiddev0\n\n");
  EXPECT_TRUE(EnumerateUsbPrinters().empty());
  // An lp node of no USB device is left out; nothing is cached between calls.
  FakePrinter orphan = Acme(0);
  orphan.hasUsbParent = false;
  bus.Plug(orphan);
  EXPECT_TRUE(EnumerateUsbPrinters().empty());
  bus.Plug(Acme(1, "1-3"));
  const std::vector<UsbPrinterInfo> list = EnumerateUsbPrinters();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].devicePath, u"usb#vid_1fc9&pid_2016#SER01#/dev/usb/lp1");
}

TEST_F(UsbEnumeration, IdsInAnyCaseGoLowerCaseIntoThePath) {
  struct Case {
    std::string vid, pid;
    std::u16string path, name;
    std::uint16_t vidValue, pidValue;
  };
  const Case cases[] = {
      {"04B8", "0E2a", u"usb#vid_04b8&pid_0e2a#SER01#/dev/usb/lp0",
       u"ACME Receipt Printer  (VID_04B8 PID_0E2A)  SER01", 0x04B8, 0x0E2A},
      {"0000", "0000", u"usb#vid_0000&pid_0000#SER01#/dev/usb/lp0", u"ACME Receipt Printer  SER01",
       0, 0},  // zero ids leave the id part of the name out
  };
  for (const Case& c : cases) {
    FakePrinter printer = Acme();
    printer.vid = c.vid;
    printer.pid = c.pid;
    const UsbPrinterInfo info = Only(printer);
    EXPECT_EQ(info.devicePath, c.path);
    EXPECT_EQ(info.displayName, c.name);
    EXPECT_EQ(info.vid, c.vidValue);
    EXPECT_EQ(info.pid, c.pidValue);
  }
}

TEST_F(UsbEnumeration, NamesAndTheirFallbacks) {
  struct Case {
    std::optional<std::string> manufacturer;
    std::optional<std::string> product;
    std::optional<std::string> model;
    std::u16string name;
  };
  const Case cases[] = {
      {"ACME", "Receipt Printer", "TM Series", u"ACME Receipt Printer"},  // friendly name wins
      {std::nullopt, "Receipt Printer", std::nullopt, u"Receipt Printer"},
      {"ACME", std::nullopt, std::nullopt, u"ACME"},
      {std::nullopt, std::nullopt, "TM Series", u"TM Series"},
      {"", "", "", u"USB Printer"},
      {"打印", "機 Ω", std::nullopt, u"打印 機 Ω"},
  };
  for (const Case& c : cases) {
    FakePrinter printer = Acme();
    printer.manufacturer = c.manufacturer;
    printer.product = c.product;
    printer.modelFromDatabase = c.model;
    EXPECT_EQ(Only(printer).displayName, c.name + u"  (VID_1FC9 PID_2016)  SER01");
  }
}

TEST_F(UsbEnumeration, SerialSegments) {
  struct Case {
    std::optional<std::string> serial;
    std::u16string pathSerial;
    std::u16string shown;
  };
  const Case cases[] = {
      {std::nullopt, u"1-2", u"1-2"},                      // none: the USB port
      {"", u"1-2", u"1-2"},
      {"A#B#C", u"A_B_C", u"A_B_C"},                       // '#' separates segments
  };
  for (const Case& c : cases) {
    FakePrinter printer = Acme();
    printer.serial = c.serial;
    const UsbPrinterInfo info = Only(printer);
    EXPECT_EQ(info.devicePath, u"usb#vid_1fc9&pid_2016#" + c.pathSerial + u"#/dev/usb/lp0");
    EXPECT_EQ(info.displayName, u"ACME Receipt Printer  (VID_1FC9 PID_2016)  " + c.shown);
  }
}

TEST_F(UsbEnumeration, PrinterDeeperInTheTreeIsFoundThroughItsAncestors) {
  // Not the usual device/interface/usbmisc layout: the USB device is found
  // by walking up from the node.
  bus.Add(
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-7\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
      "A: idVendor=0dd4\nA: idProduct=0195\nA: serial=DEEP\nA: product=Kiosk\n\n"
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-7/1-7:1.0\nE: SUBSYSTEM=usb\n"
      "E: DEVTYPE=usb_interface\n\n"
      "P: /devices/pci0000:00/0000:00:14.0/usb1/1-7/1-7:1.0/port/usbmisc/lp3\nN: usb/lp3\n"
      "E: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/lp3\n\n");
  const std::vector<UsbPrinterInfo> list = EnumerateUsbPrinters();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].devicePath, u"usb#vid_0dd4&pid_0195#DEEP#/dev/usb/lp3");
  EXPECT_EQ(list[0].displayName, u"Kiosk  (VID_0DD4 PID_0195)  DEEP");
}

}  // namespace
}  // namespace qm
