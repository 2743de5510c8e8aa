// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "text/TextHelpers.h"
#include "usb/UsbInterfaceSet.h"
#include "usb/UsbPrinterEnumeration.h"

namespace qm {
namespace {

std::string Narrow(const std::u16string& text) { return WideToUtf8(text); }

TEST(ParseVidPid, ReadsBothIdsInAnyCase) {
  struct Case {
    std::u16string path;
    std::uint16_t vid;
    std::uint16_t pid;
  };
  const Case cases[] = {
      {u"\\\\?\\usb#vid_1234&pid_0a0b#SER01#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", 0x1234, 0x0A0B},
      {u"usb#Vid_AbCd&pId_eF01#x#/dev/usb/lp0", 0xABCD, 0xEF01},
      {u"usb#vid_12&pid_3#", 0x12, 0x3},               // fewer digits
      {u"usb#vid_123456&pid_fffff#", 0x3456, 0xFFFF},  // low 16 bits
      {u"usb#vid_fffffffff#", 0xFFFF, 0},              // saturates like strtoul
      {u"usb#vid_zz&pid_#", 0, 0},                      // no digits
      {u"usb#pid_0001#", 0, 0x0001},
      {u"/dev/usb/lp0", 0, 0},
      {u"", 0, 0},
      {u"usb#vid_0001&pid_0002#vid_0003&pid_0004#", 0x0001, 0x0002},  // first one counts
  };
  for (const Case& c : cases) {
    std::uint16_t vid = 0xDEAD;
    std::uint16_t pid = 0xBEEF;
    ParseVidPid(c.path, vid, pid);
    EXPECT_EQ(vid, c.vid) << Narrow(c.path);
    EXPECT_EQ(pid, c.pid) << Narrow(c.path);
  }
}

TEST(ExtractUsbSerial, TakesTheSegmentAfterTheIds) {
  struct Case {
    std::u16string path;
    std::u16string serial;
  };
  const Case cases[] = {
      {u"\\\\?\\usb#vid_1234&pid_0a0b#SER01#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", u"SER01"},
      {u"USB#VID_1FC9&PID_2016#SeR01#/dev/usb/lp0", u"SeR01"},  // case kept
      {u"usb#vid_1fc9&pid_2016#ABCDEFGHIJKLMNOPQRSTUVWXYZ0123#/dev/usb/lp0",
       u"ABCDEFGHIJKLMNOPQRSTUVWX"},  // 30 characters, first 24 kept
      {u"usb#vid_1fc9&pid_2016##/dev/usb/lp0", u""},
      {u"usb#vid_1fc9&pid_2016#SER01", u""},  // no second '#'
      {u"usb#pid_2016#SER01#/dev/usb/lp0", u""},
      {u"/dev/usb/lp0", u""},
      // U+1F5A8 is a surrogate pair: never cut in half.
      {u"usb#vid_1&pid_2#ABCDEFGHIJKLMNOPQRSTUVW\U0001F5A8XYZ#/dev", u"ABCDEFGHIJKLMNOPQRSTUVW"},
      {u"usb#vid_1&pid_2#ABCDEFGHIJKLMNOPQRSTUV\U0001F5A8XYZ#/dev",
       u"ABCDEFGHIJKLMNOPQRSTUV\U0001F5A8"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractUsbSerial(c.path), c.serial) << Narrow(c.path);
  }
}

TEST(BuildDisplayName, JoinsNameIdsAndSerial) {
  struct Case {
    std::u16string name;
    std::uint16_t vid;
    std::uint16_t pid;
    std::u16string serial;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"ACME Receipt", 0x1234, 0x0A0B, u"SER01", u"ACME Receipt  (VID_1234 PID_0A0B)  SER01"},
      {u"", 0, 0, u"", u"USB Printer"},
      {u"", 0x1FC9, 0x2016, u"", u"USB Printer  (VID_1FC9 PID_2016)"},
      {u"P", 0, 0x0001, u"", u"P  (VID_0000 PID_0001)"},
      {u"P", 0xABCD, 0, u"S1", u"P  (VID_ABCD PID_0000)  S1"},
      {u"", 0, 0, u"S1", u"USB Printer  S1"},
      {u"打印机", 0xFFFF, 0xFFFF, u"序列", u"打印机  (VID_FFFF PID_FFFF)  序列"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildDisplayName(c.name, c.vid, c.pid, c.serial), c.expected) << Narrow(c.expected);
  }
}

}  // namespace
}  // namespace qm
