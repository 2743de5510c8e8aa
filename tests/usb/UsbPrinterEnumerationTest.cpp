// SPDX-License-Identifier: MIT
// The device list on a fake udev tree of umockdev, whose preload library redirects /sys and /dev.
#include "usb/UsbPrinterEnumeration.h"

#include <gtest/gtest.h>
#include <umockdev.h>

#include <algorithm>
#include <optional>

namespace qm {

using Text = std::optional<std::string>;

// Port, ids, serial, manufacturer, product, hardware database model, lpN, folder above lpN.
using FakePrinter =
    std::tuple<std::string, std::string, std::string, Text, Text, Text, Text, int, std::string>;

// A binary attribute in hex: any byte, a line end too, reaches the program as the device gave it.
std::string Attribute(const std::string& key, const Text& value) {
  std::string line = value ? "H: " + key + "=" : "";
  for (const unsigned char c : value.value_or(""))
    line += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
  return line + (value ? "\n" : "");
}

// A printer as the kernel shows it: usb_device, its interface, usbmisc lpN with its node.
std::string Describe(const FakePrinter& p) {
  const auto& [port, vid, pid, serial, manufacturer, product, model, lp, below] = p;
  const std::string device = "P: /devices/pci0000:00/0000:00:14.0/usb1/" + port,
                    n = std::to_string(lp), interface = device + "/" + port + ":1.0";
  return device + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: idVendor=" + vid +
         "\nA: idProduct=" + pid + "\n" +
         (model ? "E: ID_MODEL_FROM_DATABASE=" + *model + "\n" : "") + Attribute("serial", serial) +
         Attribute("manufacturer", manufacturer) + Attribute("product", product) + "\n" +
         interface + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n\n" + interface + below +
         "/usbmisc/lp" + n + "\nN: usb/lp" + n + "\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/lp" +
         n + "\nE: MAJOR=180\nE: MINOR=" + n + "\n\n";
}

// clang-format off
// The host controller and its root hub, where udev's walk up from a printer ends; an lp of no USB device.
constexpr char kBus[] = "P: /devices/pci0000:00/0000:00:14.0\nE: SUBSYSTEM=pci\n\n"
    "P: /devices/pci0000:00/0000:00:14.0/usb1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: idVendor=1d6b\nA: idProduct=0002\n\n"
    "P: /devices/virtual/usbmisc/lp7\nN: usb/lp7\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/lp7\n\n";
const FakePrinter kPrinters[] = {{"1-2", "04B8", "2016", "S1", "ACME", "Receipt Printer", "TM", 0, ""},
    {"1-4", "1fc9", "2016", {}, {}, {}, "TM Series", 1, ""},  // no serial: the port
    {"1-5", "1fc9", "2016", "A#B", "", "", "", 2, ""}, {"1-6", "0000", "2016", "S\x01N\u202E", "ACME", {}, {}, 3, ""},
    {"1-7", "0dd4", "0195", "DEEP", {}, "Kiosk", {}, 9, "/port"},
    {"1-8", "1fc9", "2016", "S", "打\u202Aa\u2066b\u2028c", "\u200Fd\u061Ce\nf\rg\th\x1B\x7F\u0085i\u009Bj\u2029", {}, 4, ""}};
// clang-format on

bool Add(UMockdevTestbed* bed, const std::string& text) {
  return umockdev_testbed_add_from_string(bed, text.c_str(), nullptr);
}

// Untrusted strings: controls become blanks, bidi formatting goes, '#' would split the path.
TEST(UsbEnumeration, OnlyPrintersOfUsbDevicesWithTheirNamesIdsAndSerials) {
  UMockdevTestbed* bed = umockdev_testbed_new();
  ASSERT_TRUE(Add(bed, kBus));
  for (const FakePrinter& p : kPrinters) EXPECT_TRUE(Add(bed, Describe(p)));
  std::vector<std::u16string> all;
  for (const auto& i : EnumerateUsbPrinters()) all.push_back(i.devicePath + u"=" + i.displayName);
  std::sort(all.begin(), all.end());
  // clang-format off
  EXPECT_EQ(all, (std::vector<std::u16string>{
      u"usb#vid_0000&pid_2016#S\x01N\u202E#/dev/usb/lp3=ACME  (VID_0000 PID_2016)  S N",
      u"usb#vid_04b8&pid_2016#S1#/dev/usb/lp0=ACME Receipt Printer  (VID_04B8 PID_2016)  S1",
      u"usb#vid_0dd4&pid_0195#DEEP#/dev/usb/lp9=Kiosk  (VID_0DD4 PID_0195)  DEEP",
      u"usb#vid_1fc9&pid_2016#1-4#/dev/usb/lp1=TM Series  (VID_1FC9 PID_2016)  1-4",
      u"usb#vid_1fc9&pid_2016#A_B#/dev/usb/lp2=USB Printer  (VID_1FC9 PID_2016)  A_B",
      u"usb#vid_1fc9&pid_2016#S#/dev/usb/lp4=打ab c de f g h   i j   (VID_1FC9 PID_2016)  S"}));
  // clang-format on
  g_clear_object(&bed);
}

}  // namespace qm
