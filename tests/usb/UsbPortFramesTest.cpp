// SPDX-License-Identifier: MIT
#include "usb/DeviceFrames.h"

#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "text/TextHelpers.h"
#include "usb/FifoDevice.h"
#include "usb/UsbPrinterEnumeration.h"
#include "usb/UsbPrinterPort.h"

namespace qm {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;
using std::chrono::steady_clock;

std::string P(std::size_t n) { return std::string(n, 'p'); }
const std::string kRaw("a\0\"\\\xff\x1d\x1e\x1f", 8);  // carried as they are
// Builder, payload, the bytes before and after it; no bytes: no frame.
// clang-format off
const std::tuple<Frame (*)(std::string_view), std::string, Bytes, Bytes> kFrames[] = {
    {BuildConfigFrame, kRaw, {0x1B, 0x1C, 0x1D, 0x08, 0x04}, {0x0D, 0x0A, 0x1D, 0x1E, 0x1F}},
    {BuildNameFrame, P(300), {0x1B, 0x1C, 0x1D, 0x01, 0x01, 0x2C}, {0x1D, 0x1E, 0x1F, 0x1B, 0x1C, 0x1D, 0xFE, 0xED, 0x1D, 0x1E, 0x1F}},
    {BuildCaCertFrame, "", {}, {}}, {BuildCaCertFrame, P(65536), {}, {}},
    {BuildCaCertFrame, P(65535), {0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E, 0xFF, 0xFF}, {0x1D, 0x1E, 0x1F}},
    {BuildSwConfigFrame, P(255), {0x53, 0x57, 0xF1, 0xFF, 0x00, 0x00, 0x00}, {}},
    {BuildSwConfigFrame, P(256), {}, {}}, {BuildSwNameFrame, P(256), {}, {}},
    {BuildSwNameFrame, kRaw, {0x53, 0x57, 0xF0, 0x08, 0x00, 0x00, 0x00}, {}},
    {[](std::string_view) { return BuildSelfTestFrame(); }, "", {0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F}, {}}};
// Ids as the low 16 bits, any case; the serial up to 24 units, never half a surrogate pair.
const std::tuple<std::u16string, std::uint16_t, std::uint16_t, std::u16string> kPaths[] = {
    {u"\\\\?\\usb#vid_1234&pid_0a0b#SER01#{28d78fad-5a12-11d1}", 0x1234, 0x0A0B, u"SER01"},
    {u"usb#Vid_AbCd&pId_eF01#SeR01#/dev/usb/lp0", 0xABCD, 0xEF01, u"SeR01"},
    {u"usb#vid_123456&pid_fffff#", 0x3456, 0xFFFF, u""},
    {u"usb#vid_1&pid_2#ABCDEFGHIJKLMNOPQRSTUVWXYZ0123#/dev", 1, 2, u"ABCDEFGHIJKLMNOPQRSTUVWX"},
    {u"usb#vid_1&pid_2#ABCDEFGHIJKLMNOPQRSTUVW\U0001F5A8XYZ#/dev", 1, 2, u"ABCDEFGHIJKLMNOPQRSTUVW"}};
// clang-format on

TEST(DeviceFrames, ExactBytesLengthLimitsAndDevicePaths) {
  for (auto [build, payload, frame, tail] : kFrames) {
    if (!frame.empty()) frame.insert(frame.end(), payload.begin(), payload.end());
    frame.insert(frame.end(), tail.begin(), tail.end());
    EXPECT_EQ(build(payload), frame) << payload.size();
  }
  for (const auto& [path, vid, pid, serial] : kPaths) {
    std::uint16_t gotVid = 0xDEAD, gotPid = 0xBEEF;
    ParseVidPid(path, gotVid, gotPid);
    EXPECT_EQ(std::tuple(gotVid, gotPid, ExtractUsbSerial(path)), std::tuple(vid, pid, serial));
  }
  EXPECT_EQ(BuildDisplayName(u"P", 0, 0, u"S1"), u"P  S1");
}

struct PortOnFifo : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(port.Open(device.WidePath())); }
  test::FifoDevice device;
  UsbPrinterPort port;
};

std::size_t OpenDescriptors() {  // less the listing's own
  return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}) - 1;
}

Bytes Pattern(std::size_t n) {
  Bytes bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return bytes;
}

TEST_F(PortOnFifo, PathsOpenTheNodeAtTheirEndAnotherClosesTheFirstUnplugFailsAtOnce) {
  test::FifoDevice second;
  const std::u16string path = u"usb#vid_1fc9&pid_2016#SER01#" + second.WidePath(),
                       gone = second.WidePath() + u"x";
  const std::size_t descriptors = OpenDescriptors();
  ASSERT_TRUE(port.Open(path) && port.Write({0x1B, 0x00, 0xFF}));
  EXPECT_TRUE(port.Open(u"USB#VID_1FC9&PID_2016#ser01#" + second.WidePath()));
  EXPECT_FALSE(port.Open(u"") || port.Write({}));  // keeps the open device
  EXPECT_EQ(std::tuple(port.IsOpen(), port.DevicePath(), OpenDescriptors()),
            std::tuple(true, path, descriptors));
  EXPECT_EQ(std::tuple(second.Drain(), device.Drain()),
            std::tuple(Bytes{0x1B, 0x00, 0xFF}, Bytes{}));
  EXPECT_FALSE(port.Open(gone) || port.Write({0x02}));
  EXPECT_EQ(std::tuple(port.IsOpen(), port.DevicePath(), OpenDescriptors()),
            std::tuple(false, gone, descriptors - 1));
  EXPECT_TRUE(UsbPrinterPort().Open(device.WidePath()));
  EXPECT_EQ(OpenDescriptors(), descriptors - 1);  // the destructor closes
  // A pseudo-terminal whose other side has gone behaves like a pulled device: no wait, still open.
  int controller = -1, terminal = -1;
  char name[256] = {};
  ASSERT_EQ(::openpty(&controller, &terminal, name, nullptr, nullptr), 0);
  ::close(terminal);
  ASSERT_TRUE(port.Open(Utf8ToWide(name)));
  ::close(controller);
  const auto start = steady_clock::now();
  EXPECT_FALSE(port.Write({0x1B, 0x1C}));
  EXPECT_LT(steady_clock::now() - start, 800ms);  // no wait for the write deadline
  EXPECT_TRUE(port.IsOpen());
}

// A record or name too long stops the pair; a full device costs the first frame's deadline.
TEST_F(PortOnFifo, WriteDeadlineIs800MillisecondsOncePerRecordPair) {
  EXPECT_EQ(UsbPrinterPort::kWriteTimeout, 800ms);  // the program's own deadline, once
  EXPECT_FALSE(SendRecordPair(port, true, std::string(256, 'r'), "dev"));
  EXPECT_FALSE(SendRecordPair(port, true, "{}", std::string(256, 'n')));
  EXPECT_EQ(device.Drain(), (Bytes{0x53, 0x57, 0xF1, 2, 0, 0, 0, '{', '}'}));
  const std::size_t filled = device.FillUp();
  const Bytes big = Pattern(256 * 1024);
  for (const bool pair : {true, false}) {
    const auto start = steady_clock::now();
    EXPECT_FALSE(pair ? SendRecordPair(port, false, "{}", "SN1") : port.Write(big));
    EXPECT_GE(steady_clock::now() - start, 800ms) << pair;  // never early
    EXPECT_LT(steady_clock::now() - start, 1200ms) << pair;
    const Bytes got = device.Drain();
    EXPECT_EQ(got, pair ? Bytes(filled, 0xAA) : Bytes(big.begin(), big.begin() + got.size()));
    EXPECT_TRUE(port.IsOpen() && !got.empty());
  }
  // A new request, its own deadline: the largest CA frame, more than the pipe holds.
  const Bytes frame = Pattern(65535 + 13);
  auto received = device.ReadEvery(1ms, frame.size());  // a reader that takes what has come
  EXPECT_TRUE(port.Write(frame));
  EXPECT_EQ(received.get(), frame);
}

// A device that never reads: false after one deadline, no name frame behind the configuration
// frame, the node opened again. A slow one then takes several pages in time, true once all is
// read. The node gone: the port closed.
TEST(PortOnOnePage, FrameNotTakenFailsAfterOneDeadlineAndTheNextStartsAfresh) {
  test::FifoDevice device(4096);
  UsbPrinterPort port;
  ASSERT_TRUE(port.Open(device.WidePath()));
  const Bytes self{0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F},
      several = Pattern(12388),
      config{0x1B, 0x1C, 0x1D, 0x08, 0x04, '{', '}', 0x0D, 0x0A, 0x1D, 0x1E, 0x1F};
  for (const Bytes* sent : {&self, &config}) {
    const auto start = steady_clock::now();
    EXPECT_FALSE(sent == &self ? port.Write(self) : SendRecordPair(port, false, "{}", "N"));
    EXPECT_TRUE(steady_clock::now() - start >= 800ms && steady_clock::now() - start < 1200ms);
    EXPECT_EQ(std::tuple(device.Drain(), port.IsOpen()), std::tuple(*sent, true));
  }
  auto taken = device.ReadEvery(30ms, several.size());
  const auto start = steady_clock::now();
  EXPECT_TRUE(port.Write(several) && device.Drain().empty());  // nothing left on its way
  EXPECT_LT(steady_clock::now() - start, 1200ms);
  EXPECT_EQ(taken.get(), several);
  std::filesystem::remove(device.Path());
  EXPECT_FALSE(port.Write({0x04}) || port.IsOpen());
}

}  // namespace qm
