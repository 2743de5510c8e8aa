// SPDX-License-Identifier: MIT
#include "usb/UsbPrinterPort.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <future>
#include <string>
#include <thread>

#include "text/TextHelpers.h"
#include "usb/DeviceFrames.h"
#include "usb/FifoPortTest.h"

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

TEST(UsbPrinterPort, StartsClosedWithNoPath) {
  UsbPrinterPort port;
  EXPECT_FALSE(port.IsOpen());
  EXPECT_TRUE(port.DevicePath().empty());
  EXPECT_FALSE(port.Write(BuildSelfTestFrame()));
}

using PortOnFifo = test::FifoPortTest;

TEST_F(PortOnFifo, InterfacePathOpensTheNodeAtItsEndAndGetsTheExactBytes) {
  EXPECT_EQ(port.DevicePath(), device.WidePath());
  const std::u16string path = u"usb#vid_1fc9&pid_2016#SER01#" + device.WidePath();
  ASSERT_TRUE(port.Open(path));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.DevicePath(), path);
  const auto start = steady_clock::now();
  ASSERT_TRUE(port.Write(BuildSelfTestFrame()));
  EXPECT_LT(steady_clock::now() - start, UsbPrinterPort::kWriteTimeout);
  ASSERT_TRUE(port.Write({0x01}));
  EXPECT_EQ(device.Drain(), (Bytes{0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F, 0x01}));
}

TEST_F(PortOnFifo, FrameLargerThanTheDeviceBufferArrivesWhole) {
  const std::size_t capacity = device.SetCapacity(4096);
  // The largest frame there is: a CA certificate record of 65535 bytes.
  const Bytes frame = BuildCaCertFrame(std::string(65535, 'c'));
  ASSERT_GT(frame.size(), 4 * capacity);
  auto received = std::async(std::launch::async, [this, &frame] {
    return device.ReadExactly(frame.size(), milliseconds(20000));
  });
  EXPECT_TRUE(port.Write(frame));
  EXPECT_EQ(received.get(), frame);
}

TEST_F(PortOnFifo, DeviceTakingNothingTimesOutAndStaysOpen) {
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

TEST_F(PortOnFifo, DeviceTakingPartOfTheFrameTimesOut) {
  device.SetCapacity(4096);
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

TEST_F(PortOnFifo, RefusesWithoutIo) {
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

TEST_F(PortOnFifo, SamePathInOtherCaseOrNoPathKeepsTheOpenDevice) {
  const std::size_t descriptors = test::OpenDescriptorCount();
  // The upper-case path names no file, so a second open would fail.
  std::string upper = device.Path();
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char ch) {
    return static_cast<char>(std::toupper(ch));
  });
  EXPECT_TRUE(port.Open(Utf8ToWide(upper)));
  EXPECT_FALSE(port.Open(u""));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.DevicePath(), device.WidePath());
  EXPECT_EQ(test::OpenDescriptorCount(), descriptors);
  ASSERT_TRUE(port.Write({0x07}));
  EXPECT_EQ(device.Drain(), Bytes{0x07});
}

TEST(UsbPrinterPort, OpeningAnotherPathClosesTheFirstEvenWhenItFails) {
  test::FifoDevice device;
  const std::size_t before = test::OpenDescriptorCount();
  // An absent node, and an interface path with no node after its last '#'.
  for (const std::u16string& other : {Utf8ToWide(device.Folder()) + u"/absent",
                                      std::u16string(u"usb#vid_1fc9&pid_2016#SER01#")}) {
    UsbPrinterPort port;
    ASSERT_TRUE(port.Open(device.WidePath()));
    EXPECT_EQ(test::OpenDescriptorCount(), before + 1);
    EXPECT_FALSE(port.Open(other));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.DevicePath(), other);
    EXPECT_EQ(test::OpenDescriptorCount(), before);
    EXPECT_FALSE(port.Write({0x01}));
  }
  EXPECT_TRUE(device.Drain().empty());
}

TEST(UsbPrinterPort, OpeningAnotherDeviceSwitchesToItAndTheDestructorReleasesIt) {
  test::FifoDevice first("lp0");
  test::FifoDevice second("lp1");
  const std::size_t before = test::OpenDescriptorCount();
  {
    UsbPrinterPort port;
    ASSERT_TRUE(port.Open(first.WidePath()));
    ASSERT_TRUE(port.Open(second.WidePath()));
    EXPECT_EQ(test::OpenDescriptorCount(), before + 1);
    ASSERT_TRUE(port.Write({0x02}));
  }
  EXPECT_EQ(test::OpenDescriptorCount(), before);
  EXPECT_TRUE(first.Drain().empty());
  EXPECT_EQ(second.Drain(), Bytes{0x02});
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

}  // namespace
}  // namespace qm
