// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "text/TextHelpers.h"
#include "usb/UsbInterfaceSet.h"
#include "usb/UsbPrinterEnumeration.h"

namespace qm {
namespace {

TEST(DevicePath, IdsAndSerialFromThePath) {
  struct Case {
    std::u16string path;
    std::uint16_t vid, pid;
    std::u16string serial;
  };
  const Case cases[] = {
      {u"\\\\?\\usb#vid_1234&pid_0a0b#SER01#{28d78fad-5a12-11d1}", 0x1234, 0x0A0B, u"SER01"},
      {u"usb#Vid_AbCd&pId_eF01#SeR01#/dev/usb/lp0", 0xABCD, 0xEF01, u"SeR01"},
      {u"usb#vid_12&pid_3##/dev/usb/lp0", 0x12, 0x3, u""},  // fewer digits
      {u"usb#vid_123456&pid_fffff#", 0x3456, 0xFFFF, u""},  // low 16 bits
      {u"usb#vid_fffffffff#S#", 0xFFFF, 0, u"S"},           // saturates like strtoul
      {u"usb#vid_zz&pid_#S", 0, 0, u""},                    // no digits, no second '#'
      {u"usb#pid_0001#SER01#/dev/usb/lp0", 0, 0x0001, u""},
      {u"/dev/usb/lp0", 0, 0, u""},
      {u"", 0, 0, u""},
      {u"usb#vid_0001&pid_0002#vid_0003&pid_0004#", 1, 2, u"vid_0003&pid_0004"},
      {u"usb#vid_1&pid_2#ABCDEFGHIJKLMNOPQRSTUVWXYZ0123#/dev", 1, 2, u"ABCDEFGHIJKLMNOPQRSTUVWX"},
      // U+1F5A8 is a surrogate pair: never cut in half.
      {u"usb#vid_1&pid_2#ABCDEFGHIJKLMNOPQRSTUVW\U0001F5A8XYZ#/dev", 1, 2,
       u"ABCDEFGHIJKLMNOPQRSTUVW"},
      {u"usb#vid_1&pid_2#ABCDEFGHIJKLMNOPQRSTUV\U0001F5A8XYZ#/dev", 1, 2,
       u"ABCDEFGHIJKLMNOPQRSTUV\U0001F5A8"},
  };
  for (const Case& c : cases) {
    std::uint16_t vid = 0xDEAD, pid = 0xBEEF;
    ParseVidPid(c.path, vid, pid);
    EXPECT_EQ(vid, c.vid) << WideToUtf8(c.path);
    EXPECT_EQ(pid, c.pid) << WideToUtf8(c.path);
    EXPECT_EQ(ExtractUsbSerial(c.path), c.serial) << WideToUtf8(c.path);
  }
  // The ids show when either is set; the serial when there is one.
  EXPECT_EQ(BuildDisplayName(u"P", 0, 0x0001, u""), u"P  (VID_0000 PID_0001)");
  EXPECT_EQ(BuildDisplayName(u"P", 0xABCD, 0, u"S1"), u"P  (VID_ABCD PID_0000)  S1");
  EXPECT_EQ(BuildDisplayName(u"", 0, 0, u"S1"), u"USB Printer  S1");
  EXPECT_EQ(BuildDisplayName(u"", 0xFFFF, 0xFFFF, u""), u"USB Printer  (VID_FFFF PID_FFFF)");
}

}  // namespace
}  // namespace qm
