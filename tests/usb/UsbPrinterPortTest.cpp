// SPDX-License-Identifier: MIT
#include "usb/UsbPrinterPort.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

#include "app/TextHelpers.h"
#include "usb/DeviceFrames.h"
#include "usb/FifoDevice.h"

namespace qm {
namespace {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

Bytes Pattern(std::size_t n) {
  Bytes bytes(n);
  for (std::size_t i = 0; i < n; ++i) {
    bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
  }
  return bytes;
}

std::u16string Upper(const std::u16string& text) {
  std::u16string upper = text;
  for (char16_t& ch : upper) {
    if (ch >= u'a' && ch <= u'z') {
      ch = static_cast<char16_t>(ch - u'a' + u'A');
    }
  }
  return upper;
}

TEST(UsbPrinterPort, StartsClosedWithNoPath) {
  UsbPrinterPort port;
  EXPECT_FALSE(port.IsOpen());
  EXPECT_TRUE(port.DevicePath().empty());
  EXPECT_FALSE(port.Write(BuildSelfTestFrame()));
}

TEST(UsbPrinterPort, WritesTheExactBytesAtOnce) {
  test::FifoDevice device;
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(device.WidePath()));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.DevicePath(), device.WidePath());
  const auto start = steady_clock::now();
  ASSERT_TRUE(port.Write(BuildSelfTestFrame()));
  EXPECT_LT(steady_clock::now() - start, UsbPrinterPort::kWriteTimeout);
  ASSERT_TRUE(port.Write({0x01}));
  EXPECT_EQ(device.Drain(), (Bytes{0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F, 0x01}));
}

TEST(UsbPrinterPort, InterfacePathOpensTheNodeAtItsEnd) {
  test::FifoDevice device;
  UsbPrinterPort port;
  const std::u16string path = u"usb#vid_1fc9&pid_2016#SER01#" + device.WidePath();
  ASSERT_TRUE(port.Open(path));
  EXPECT_EQ(port.DevicePath(), path);
  ASSERT_TRUE(port.Write({0x42}));
  EXPECT_EQ(device.Drain(), Bytes{0x42});
}

TEST(UsbPrinterPort, FrameLargerThanTheDeviceBufferArrivesWhole) {
  test::FifoDevice device;
  const std::size_t capacity = device.SetCapacity(4096);
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(device.WidePath()));
  // The largest frame there is: a CA certificate record of 65535 bytes.
  const std::string record(65535, 'c');
  const Bytes frame = BuildCaCertFrame(record);
  ASSERT_GT(frame.size(), 4 * capacity);
  auto received = std::async(std::launch::async, [&device, &frame] {
    return device.ReadExactly(frame.size(), milliseconds(20000));
  });
  EXPECT_TRUE(port.Write(frame));
  EXPECT_EQ(received.get(), frame);
}

TEST(UsbPrinterPort, DeviceTakingNothingTimesOutAndStaysOpen) {
  test::FifoDevice device;
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(device.WidePath()));
  const std::size_t filled = device.FillUp();
  ASSERT_GT(filled, 0u);

  const auto start = steady_clock::now();
  EXPECT_FALSE(port.Write(Pattern(64)));
  const auto elapsed = steady_clock::now() - start;
  EXPECT_GE(elapsed, UsbPrinterPort::kWriteTimeout);
  EXPECT_LT(elapsed, UsbPrinterPort::kWriteTimeout + milliseconds(1500));
  EXPECT_TRUE(port.IsOpen());

  // The device got nothing of the refused frame; the next write is a new
  // request with its own deadline.
  EXPECT_EQ(device.Drain(), Bytes(filled, 0xAA));
  ASSERT_TRUE(port.Write(Pattern(100)));
  EXPECT_EQ(device.Drain(), Pattern(100));
}

TEST(UsbPrinterPort, DeviceTakingPartOfTheFrameTimesOut) {
  test::FifoDevice device;
  device.SetCapacity(4096);
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(device.WidePath()));
  const Bytes frame = Pattern(256 * 1024);
  const auto start = steady_clock::now();
  EXPECT_FALSE(port.Write(frame));
  EXPECT_GE(steady_clock::now() - start, UsbPrinterPort::kWriteTimeout);
  EXPECT_TRUE(port.IsOpen());
  const Bytes head = device.Drain();
  ASSERT_FALSE(head.empty());
  ASSERT_LT(head.size(), frame.size());
  EXPECT_TRUE(std::equal(head.begin(), head.end(), frame.begin()));
}

TEST(UsbPrinterPort, RefusesWithoutIo) {
  test::FifoDevice device;
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(device.WidePath()));
  EXPECT_FALSE(port.Write({}));
  EXPECT_TRUE(port.IsOpen());
  port.Close();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.DevicePath(), device.WidePath());
  EXPECT_FALSE(port.Write(BuildSelfTestFrame()));
  EXPECT_TRUE(device.Drain().empty());
  port.Close();  // closing twice is harmless
  EXPECT_FALSE(port.IsOpen());
}

TEST(UsbPrinterPort, SamePathInOtherCaseIsNotOpenedAgain) {
  test::FifoDevice device("Printer");
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(device.WidePath()));
  const std::size_t descriptors = test::OpenDescriptorCount();
  // The upper-case path names no file, so a second open would fail.
  EXPECT_TRUE(port.Open(Upper(device.WidePath())));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.DevicePath(), device.WidePath());
  EXPECT_EQ(test::OpenDescriptorCount(), descriptors);
  ASSERT_TRUE(port.Write({0x07}));
  EXPECT_EQ(device.Drain(), Bytes{0x07});
}

TEST(UsbPrinterPort, EmptyPathKeepsTheOpenDevice) {
  test::FifoDevice device;
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(device.WidePath()));
  EXPECT_FALSE(port.Open(u""));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.DevicePath(), device.WidePath());
  ASSERT_TRUE(port.Write({0x09}));
  EXPECT_EQ(device.Drain(), Bytes{0x09});
}

TEST(UsbPrinterPort, OpeningAnotherPathClosesTheFirstEvenWhenItFails) {
  test::FifoDevice device;
  const std::size_t before = test::OpenDescriptorCount();
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(device.WidePath()));
  EXPECT_EQ(test::OpenDescriptorCount(), before + 1);
  const std::u16string missing = Utf8ToWide(device.Folder()) + u"/absent";
  EXPECT_FALSE(port.Open(missing));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.DevicePath(), missing);
  EXPECT_EQ(test::OpenDescriptorCount(), before);
  EXPECT_FALSE(port.Write({0x01}));
  EXPECT_TRUE(device.Drain().empty());
}

TEST(UsbPrinterPort, OpeningAnotherDeviceSwitchesToIt) {
  test::FifoDevice first("lp0");
  test::FifoDevice second("lp1");
  const std::size_t before = test::OpenDescriptorCount();
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(first.WidePath()));
  ASSERT_TRUE(port.Open(second.WidePath()));
  EXPECT_EQ(test::OpenDescriptorCount(), before + 1);
  ASSERT_TRUE(port.Write({0x02}));
  EXPECT_TRUE(first.Drain().empty());
  EXPECT_EQ(second.Drain(), Bytes{0x02});
}

TEST(UsbPrinterPort, DestructorReleasesTheDevice) {
  test::FifoDevice device;
  const std::size_t before = test::OpenDescriptorCount();
  {
    UsbPrinterPort port;
    ASSERT_TRUE(port.Open(device.WidePath()));
    EXPECT_EQ(test::OpenDescriptorCount(), before + 1);
  }
  EXPECT_EQ(test::OpenDescriptorCount(), before);
}

TEST(UsbPrinterPort, UnpluggedDeviceFailsAtOnceAndStaysOpen) {
  // A pseudo-terminal whose other side has gone behaves like a device that
  // was pulled out: every write fails with an error instead of waiting.
  int controller = -1;
  int terminal = -1;
  char name[256] = {};
  ASSERT_EQ(::openpty(&controller, &terminal, name, nullptr, nullptr), 0);
  ::close(terminal);
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(Utf8ToWide(name)));
  ::close(controller);
  const auto start = steady_clock::now();
  EXPECT_FALSE(port.Write(BuildSelfTestFrame()));
  EXPECT_LT(steady_clock::now() - start, UsbPrinterPort::kWriteTimeout);
  EXPECT_TRUE(port.IsOpen());
  EXPECT_FALSE(port.Write(BuildSelfTestFrame()));
}

TEST(UsbPrinterPort, OpenFailsForAbsentNodes) {
  UsbPrinterPort port;
  EXPECT_FALSE(port.Open(u"/nonexistent/usb/lp0"));
  EXPECT_EQ(port.DevicePath(), u"/nonexistent/usb/lp0");
  EXPECT_FALSE(port.Open(u"usb#vid_1fc9&pid_2016#SER01#"));  // no node after the last '#'
  EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace qm
