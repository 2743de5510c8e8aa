// SPDX-License-Identifier: MIT
#include "usb/DeviceFrames.h"

#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "text/TextHelpers.h"
#include "usb/FifoDevice.h"
#include "usb/UsbPrinterEnumeration.h"
#include "usb/UsbPrinterPort.h"

namespace qm {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;
using std::chrono::steady_clock;

Bytes Framed(const Bytes& head, const std::string& payload, const Bytes& tail) {
  if (head.empty()) return {};
  Bytes all = head;
  all.insert(all.end(), payload.begin(), payload.end());
  all.insert(all.end(), tail.begin(), tail.end());
  return all;
}

const Bytes kEnd = {0x1D, 0x1E, 0x1F};
const Bytes kNameTail = {0x1D, 0x1E, 0x1F, 0x1B, 0x1C, 0x1D, 0xFE, 0xED, 0x1D, 0x1E, 0x1F};
const Bytes kConfigTail = {0x0D, 0x0A, 0x1D, 0x1E, 0x1F};
const Bytes kConfigHead = {0x1B, 0x1C, 0x1D, 0x08, 0x04};

TEST(DeviceFrames, ExactBytesAndLengthLimits) {
  const std::string raw("a\0\"\\\xff\x1d\x1e\x1f", 8);  // carried as they are
  const auto p = [](std::size_t n) { return std::string(n, 'p'); };
  for (const auto& [build, payload, head, tail] :
       {std::tuple{&BuildConfigFrame, raw, kConfigHead, kConfigTail},
        {BuildNameFrame, p(300), {0x1B, 0x1C, 0x1D, 0x01, 0x01, 0x2C}, kNameTail},  // low byte
        {BuildCaCertFrame, "", {}, {}},
        {BuildCaCertFrame, p(65535), {0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E, 0xFF, 0xFF}, kEnd},
        {BuildCaCertFrame, p(65536), {}, {}},
        {BuildSwConfigFrame, p(255), {0x53, 0x57, 0xF1, 0xFF, 0x00, 0x00, 0x00}, {}},
        {BuildSwConfigFrame, p(256), {}, {}},
        {BuildSwNameFrame, raw, {0x53, 0x57, 0xF0, 0x08, 0x00, 0x00, 0x00}, {}},
        {BuildSwNameFrame, p(256), {}, {}}}) {
    EXPECT_EQ(build(payload), Framed(head, payload, tail)) << payload.size();
  }
  EXPECT_EQ(BuildSelfTestFrame(), (Bytes{0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F}));
}

struct PortOnFifo : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(port.Open(device.WidePath())); }
  test::FifoDevice device;
  UsbPrinterPort port;
};

TEST_F(PortOnFifo, SendRecordPairWithTooLongPartsOrAFullDeviceCostOneDeadlineAtMost) {
  // A record too long sends nothing; a name too long leaves the record delivered.
  EXPECT_FALSE(qm::SendRecordPair(port, true, std::string(256, 'r'), "dev"));
  EXPECT_TRUE(device.Drain().empty());
  EXPECT_FALSE(qm::SendRecordPair(port, true, "{}", std::string(256, 'n')));
  EXPECT_EQ(device.Drain(), (Bytes{0x53, 0x57, 0xF1, 2, 0, 0, 0, '{', '}'}));
  const std::size_t filled = device.FillUp();
  const auto start = steady_clock::now();
  EXPECT_FALSE(qm::SendRecordPair(port, false, "{}", "SN1"));
  EXPECT_LT(steady_clock::now() - start, 1600ms);  // the name frame is not tried
  EXPECT_EQ(device.Drain(), Bytes(filled, 0xAA));
}

TEST(DevicePath, IdsAndSerialFromThePathAndTheDisplayName) {
  for (const auto& [path, vid, pid, serial] :
       {std::tuple<std::u16string, int, int, std::u16string>{
            u"\\\\?\\usb#vid_1234&pid_0a0b#SER01#{28d78fad-5a12-11d1}", 0x1234, 0x0A0B, u"SER01"},
        {u"usb#Vid_AbCd&pId_eF01#SeR01#/dev/usb/lp0", 0xABCD, 0xEF01, u"SeR01"},
        {u"usb#vid_123456&pid_fffff#", 0x3456, 0xFFFF, u""},  // low 16 bits
        {u"usb#vid_1&pid_2#ABCDEFGHIJKLMNOPQRSTUVWXYZ0123#/dev", 1, 2, u"ABCDEFGHIJKLMNOPQRSTUVWX"},
        {u"usb#vid_1&pid_2#ABCDEFGHIJKLMNOPQRSTUVW\U0001F5A8XYZ#/dev", 1, 2,
         u"ABCDEFGHIJKLMNOPQRSTUVW"}}) {
    std::uint16_t gotVid = 0xDEAD, gotPid = 0xBEEF;
    ParseVidPid(path, gotVid, gotPid);
    EXPECT_EQ(std::tuple(int{gotVid}, int{gotPid}, ExtractUsbSerial(path)),
              std::tuple(vid, pid, serial))
        << WideToUtf8(path);
  }
  EXPECT_EQ(BuildDisplayName(u"P", 0, 0, u"S1"), u"P  S1");
}

Bytes Pattern(std::size_t n) {
  Bytes bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return bytes;
}

TEST_F(PortOnFifo, PathsOpenTheNodeAtTheirEndAndAnotherPathClosesTheFirst) {
  test::FifoDevice second;
  const std::u16string path = u"usb#vid_1fc9&pid_2016#SER01#" + second.WidePath();
  const std::size_t descriptors = test::OpenDescriptorCount();
  ASSERT_TRUE(port.Open(path));
  ASSERT_TRUE(port.Write({0x1B, 0x00, 0xFF}));
  EXPECT_TRUE(port.Open(u"USB#VID_1FC9&PID_2016#ser01#" + second.WidePath()));
  EXPECT_FALSE(port.Open(u""));  // keeps the open device
  EXPECT_EQ(std::tuple(port.IsOpen(), port.DevicePath(), test::OpenDescriptorCount()),
            std::tuple(true, path, descriptors));
  EXPECT_FALSE(port.Write({}));
  EXPECT_EQ(std::tuple(second.Drain(), device.Drain()),
            std::tuple(Bytes{0x1B, 0x00, 0xFF}, Bytes{}));
  EXPECT_FALSE(port.Open(second.WidePath() + u"x"));
  EXPECT_EQ(std::tuple(port.IsOpen(), port.DevicePath(), test::OpenDescriptorCount()),
            std::tuple(false, second.WidePath() + u"x", descriptors - 1));
  EXPECT_FALSE(port.Write({0x02}));
  EXPECT_TRUE(UsbPrinterPort().Open(device.WidePath()));
  EXPECT_EQ(test::OpenDescriptorCount(), descriptors - 1);  // the destructor closes
}

TEST_F(PortOnFifo, FrameLargerThanTheDeviceBufferArrivesWhole) {
  const Bytes frame = Pattern(65535 + 13);  // the largest CA certificate frame
  ASSERT_GT(frame.size(), 4 * device.SetCapacity(4096));
  auto received = std::async(std::launch::async, [&] {  // a reader that takes what has come
    Bytes got;
    const auto end = steady_clock::now() + 20s;
    while (got.size() < frame.size() && steady_clock::now() < end) {
      const Bytes piece = device.Drain();
      got.insert(got.end(), piece.begin(), piece.end());
      if (piece.empty()) std::this_thread::sleep_for(1ms);
    }
    return got;
  });
  EXPECT_TRUE(port.Write(frame));
  EXPECT_EQ(received.get(), frame);
}

TEST_F(PortOnFifo, WriteDeadlineIs800Milliseconds) {
  const std::size_t filled = device.FillUp();
  for (const std::size_t size : {std::size_t{64}, std::size_t{256 * 1024}}) {
    const auto start = steady_clock::now();
    EXPECT_FALSE(port.Write(Pattern(size)));
    EXPECT_GE(steady_clock::now() - start, 800ms) << size;  // never early
    EXPECT_LT(steady_clock::now() - start, 1200ms) << size;
    EXPECT_TRUE(port.IsOpen());
    const Bytes sent = Pattern(size), got = device.Drain();
    EXPECT_EQ(got,
              size == 64 ? Bytes(filled, 0xAA) : Bytes(sent.begin(), sent.begin() + got.size()));
    EXPECT_FALSE(got.empty());
    device.SetCapacity(4096);
  }
  ASSERT_TRUE(port.Write(Pattern(100)));  // a new request with its own deadline
  EXPECT_EQ(device.Drain(), Pattern(100));
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
  EXPECT_LT(steady_clock::now() - start, 800ms);  // no wait for the write deadline
  EXPECT_TRUE(port.IsOpen());
}

}  // namespace
}  // namespace qm
