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
    std::string product;
    std::u16string name;  // as the list shows it
    std::string serial = "SER01";
    std::u16string serialShown = u"SER01";
  };
  const Case cases[] = {
      {"Evil\u202E", u"Evil"},
      {"\u202Aa\u202Bb\u202Cc\u202Dd\u202Ee\u2066f\u2067g\u2068h\u2069i\u200Ej\u200Fk\u061Cl",
       u"abcdefghijkl"},
      {"Line1\nLine2\rX\tCtrl+Q\x1B", u"Line1 Line2 X Ctrl+Q "},
      {"a\x7F" "b\u0085c\u009Bd\u2028e\u2029f", u"a b c d e f"},
      {"AT&T \u05D0\u05D1", u"AT&T \u05D0\u05D1"},
      {"\u202E\u2066", u"USB Printer", "S\x01N\u202E", u"S N"},
  };
  for (const Case& c : cases) {
    test::MockUsbBus bus;
    test::FakePrinter printer;
    printer.product = c.product;
    printer.serial = c.serial;
    bus.Plug(printer);
    const std::vector<UsbPrinterInfo> list = EnumerateUsbPrinters();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].displayName, c.name + u"  (VID_1FC9 PID_2016)  " + c.serialShown);
    EXPECT_EQ(list[0].devicePath,
              u"usb#vid_1fc9&pid_2016#" + Utf8ToWide(c.serial) + u"#/dev/usb/lp0");
  }
}

}  // namespace
}  // namespace qm
