// SPDX-License-Identifier: MIT
#include "usb/UsbPrinterPort.h"

#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <future>

#include "text/TextHelpers.h"
#include "usb/FifoPortTest.h"

namespace qm {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;
using std::chrono::steady_clock;

Bytes Pattern(std::size_t n) {
  Bytes bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return bytes;
}

using PortOnFifo = test::FifoPortTest;

TEST_F(PortOnFifo, InterfacePathOpensTheNodeAtItsEnd) {
  const std::u16string path = u"usb#vid_1fc9&pid_2016#SER01#" + device.WidePath();
  ASSERT_TRUE(port.Open(path));
  ASSERT_TRUE(port.Write({0x1B, 0x00, 0xFF}));
  EXPECT_EQ(device.Drain(), (Bytes{0x1B, 0x00, 0xFF}));
  // The same path in other letter case, or no path, keeps the open device.
  const std::size_t descriptors = test::OpenDescriptorCount();
  EXPECT_TRUE(port.Open(u"USB#VID_1FC9&PID_2016#ser01#" + device.WidePath()));
  EXPECT_FALSE(port.Open(u""));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(test::OpenDescriptorCount(), descriptors);
  EXPECT_FALSE(port.Write({}));  // an empty frame and a closed port write nothing
  port.Close();
  EXPECT_EQ(port.DevicePath(), path);
  EXPECT_FALSE(port.Write({0x02}));
  EXPECT_TRUE(device.Drain().empty());
}

TEST_F(PortOnFifo, FrameLargerThanTheDeviceBufferArrivesWhole) {
  const Bytes frame = Pattern(65535 + 13);  // the largest CA certificate frame
  ASSERT_GT(frame.size(), 4 * device.SetCapacity(4096));
  auto received = std::async(std::launch::async, [&] { return device.ReadExactly(65548, 20s); });
  EXPECT_TRUE(port.Write(frame));
  EXPECT_EQ(received.get(), frame);
}

TEST_F(PortOnFifo, WriteDeadlineIs800Milliseconds) {
  const std::size_t filled = device.FillUp();
  for (const std::size_t size : {std::size_t{64}, std::size_t{256 * 1024}}) {
    const auto start = steady_clock::now();
    EXPECT_FALSE(port.Write(Pattern(size)));
    EXPECT_GE(steady_clock::now() - start, 800ms) << size;
    EXPECT_LT(steady_clock::now() - start, 950ms) << size;
    EXPECT_TRUE(port.IsOpen());
    // Nothing of a frame that found no room; the head of one that found some.
    const Bytes sent = Pattern(size), got = device.Drain();
    EXPECT_FALSE(got.empty());
    EXPECT_EQ(got, size == 64 ? Bytes(filled, 0xAA)
                              : Bytes(sent.begin(), sent.begin() + std::min(got.size(), size - 1)));
    device.SetCapacity(4096);
  }
  ASSERT_TRUE(port.Write(Pattern(100)));  // a new request with its own deadline
  EXPECT_EQ(device.Drain(), Pattern(100));
}

TEST_F(PortOnFifo, AnotherPathClosesTheFirstEvenWhenItFails) {
  test::FifoDevice second;
  port.Close();
  const std::size_t before = test::OpenDescriptorCount();
  ASSERT_TRUE(port.Open(device.WidePath()));
  ASSERT_TRUE(port.Open(second.WidePath()));
  EXPECT_EQ(test::OpenDescriptorCount(), before + 1);
  ASSERT_TRUE(port.Write({0x02}));
  EXPECT_EQ(second.Drain(), Bytes{0x02});
  ASSERT_TRUE(port.Open(device.WidePath()));
  EXPECT_FALSE(port.Open(second.WidePath() + u"x"));
  EXPECT_EQ(std::tuple(port.IsOpen(), port.DevicePath(), test::OpenDescriptorCount()),
            std::tuple(false, second.WidePath() + u"x", before));
  {
    UsbPrinterPort other;
    ASSERT_TRUE(other.Open(device.WidePath()));
  }
  EXPECT_EQ(test::OpenDescriptorCount(), before);  // the destructor closes
}

TEST(UsbPrinterPort, UnpluggedDeviceFailsAtOnceAndStaysOpen) {
  // A pseudo-terminal whose other side has gone behaves like a pulled device.
  int controller = -1, terminal = -1;
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
