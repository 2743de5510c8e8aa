// SPDX-License-Identifier: MIT
// A device's name strings are untrusted text: what the list shows of them.
#include <gtest/gtest.h>

#include "text/TextHelpers.h"
#include "usb/MockUsbBus.h"
#include "usb/UsbPrinterEnumeration.h"

namespace qm {
namespace {

TEST(DeviceNameText, ControlsBecomeBlanksAndBidiFormattingGoesPathStays) {
  ASSERT_TRUE(test::MockUsbBus::PreloadActive()) << "run under umockdev's preload library";
  struct Case {
    std::string product, serial;
    std::u16string name, serialShown;
  };
  const Case cases[] = {
      {"Evil\u202E", "SER01", u"Evil", u"SER01"},
      {"\u202Aa\u202Bb\u202Cc\u202Dd\u202Ee\u2066f\u2067g\u2068h\u2069i\u200Ej\u200Fk\u061Cl",
       "SER01", u"abcdefghijkl", u"SER01"},
      {"Line1\nLine2\rX", "SER01", u"Line1 Line2 X", u"SER01"},
      {"Name\tCtrl+Q\x1B", "SER01", u"Name Ctrl+Q ", u"SER01"},
      {"a\x7F" "b\u0085c\u009Bd\u2028e\u2029f", "SER01", u"a b c d e f", u"SER01"},
      {"AT&T \u05D0\u05D1", "SER01", u"AT&T \u05D0\u05D1", u"SER01"},
      {"\u202E\u2066", "S\x01N\u202E", u"USB Printer", u"S N"},
  };
  for (const Case& c : cases) {
    test::MockUsbBus bus;
    test::FakePrinter printer;
    printer.product = c.product;
    printer.serial = c.serial;
    bus.Plug(printer);
    const std::vector<UsbPrinterInfo> list = EnumerateUsbPrinters();
    ASSERT_EQ(list.size(), 1u) << c.product;
    EXPECT_EQ(list[0].displayName, c.name + u"  (VID_1FC9 PID_2016)  " + c.serialShown);
    EXPECT_EQ(list[0].devicePath,
              u"usb#vid_1fc9&pid_2016#" + Utf8ToWide(c.serial) + u"#/dev/usb/lp0");
  }
}

}  // namespace
}  // namespace qm
