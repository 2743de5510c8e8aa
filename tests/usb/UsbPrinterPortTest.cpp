// SPDX-License-Identifier: MIT
#include "usb/UsbPrinterPort.h"

#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <string>

#include "text/TextHelpers.h"
#include "usb/FifoPortTest.h"

namespace qm {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;
using std::chrono::steady_clock;

Bytes Pattern(std::size_t n) {
  Bytes bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

using PortOnFifo = test::FifoPortTest;

TEST_F(PortOnFifo, InterfacePathOpensTheNodeAtItsEnd) {
  const std::u16string path = u"usb#vid_1fc9&pid_2016#SER01#" + device.WidePath();
  ASSERT_TRUE(port.Open(path));
  EXPECT_EQ(port.DevicePath(), path);
  ASSERT_TRUE(port.Write({0x1B, 0x00, 0xFF}));
  ASSERT_TRUE(port.Write({0x01}));
  EXPECT_EQ(device.Drain(), (Bytes{0x1B, 0x00, 0xFF, 0x01}));
  // The same path in other letter case, or no path, keeps the open device.
  std::string upper = device.Path();
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char ch) { return std::toupper(ch); });
  const std::size_t descriptors = test::OpenDescriptorCount();
  EXPECT_TRUE(port.Open(u"USB#VID_1FC9&PID_2016#ser01#" + Utf8ToWide(upper)));
  EXPECT_FALSE(port.Open(u""));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(test::OpenDescriptorCount(), descriptors);
  // An empty frame and a closed port write nothing.
  EXPECT_FALSE(port.Write({}));
  port.Close();
  port.Close();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.DevicePath(), path);
  EXPECT_FALSE(port.Write({0x02}));
  EXPECT_TRUE(device.Drain().empty());
}

TEST_F(PortOnFifo, FrameLargerThanTheDeviceBufferArrivesWhole) {
  const std::size_t capacity = device.SetCapacity(4096);
  const Bytes frame = Pattern(65535 + 13);  // the largest CA certificate frame
  ASSERT_GT(frame.size(), 4 * capacity);
  auto received = std::async(std::launch::async, [&] { return device.ReadExactly(frame.size(), 20000ms); });
  EXPECT_TRUE(port.Write(frame));
  EXPECT_EQ(received.get(), frame);
}

TEST_F(PortOnFifo, WriteDeadlineIs800Milliseconds) {
  const std::size_t filled = device.FillUp();
  for (const std::size_t size : {std::size_t{64}, std::size_t{256 * 1024}}) {
    const auto start = steady_clock::now();
    EXPECT_FALSE(port.Write(Pattern(size)));
    const auto elapsed = steady_clock::now() - start;
    EXPECT_GE(elapsed, 800ms) << size;
    EXPECT_LT(elapsed, 950ms) << size;
    EXPECT_TRUE(port.IsOpen());
    // Nothing of a refused frame that found no room; the head of one that
    // found some.
    const Bytes got = device.Drain();
    if (size == 64) {
      EXPECT_EQ(got, Bytes(filled, 0xAA));
      device.SetCapacity(4096);
    } else {
      ASSERT_FALSE(got.empty());
      ASSERT_LT(got.size(), size);
      EXPECT_TRUE(std::equal(got.begin(), got.end(), Pattern(size).begin()));
    }
  }
  ASSERT_TRUE(port.Write(Pattern(100)));  // a new request with its own deadline
  EXPECT_EQ(device.Drain(), Pattern(100));
}

TEST(UsbPrinterPort, AnotherPathClosesTheFirstEvenWhenItFails) {
  test::FifoDevice first("lp0");
  test::FifoDevice second("lp1");
  const std::size_t before = test::OpenDescriptorCount();
  {
    UsbPrinterPort port;
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.Write({0x01}));
    ASSERT_TRUE(port.Open(first.WidePath()));
    ASSERT_TRUE(port.Open(second.WidePath()));
    EXPECT_EQ(test::OpenDescriptorCount(), before + 1);
    ASSERT_TRUE(port.Write({0x02}));
    for (const std::u16string& bad : {Utf8ToWide(first.Folder()) + u"/absent", std::u16string(u"usb#vid_1&pid_2#S#")}) {
      ASSERT_TRUE(port.Open(first.WidePath()));
      EXPECT_FALSE(port.Open(bad));
      EXPECT_FALSE(port.IsOpen());
      EXPECT_EQ(port.DevicePath(), bad);
      EXPECT_EQ(test::OpenDescriptorCount(), before);
    }
    ASSERT_TRUE(port.Open(first.WidePath()));
  }
  EXPECT_EQ(test::OpenDescriptorCount(), before);  // the destructor closes
  EXPECT_TRUE(first.Drain().empty());
  EXPECT_EQ(second.Drain(), Bytes{0x02});
}

TEST(UsbPrinterPort, UnpluggedDeviceFailsAtOnceAndStaysOpen) {
  // A pseudo-terminal whose other side has gone behaves like a pulled device.
  int controller = -1;
  int terminal = -1;
  char name[256] = {};
  ASSERT_EQ(::openpty(&controller, &terminal, name, nullptr, nullptr), 0);
  ::close(terminal);
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(Utf8ToWide(name)));
  ::close(controller);
  const auto start = steady_clock::now();
  EXPECT_FALSE(port.Write({0x1B, 0x1C}));
  EXPECT_LT(steady_clock::now() - start, 400ms);
  EXPECT_TRUE(port.IsOpen());
}

}  // namespace
}  // namespace qm
