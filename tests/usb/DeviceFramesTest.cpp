// SPDX-License-Identifier: MIT
#include "usb/DeviceFrames.h"

#include <gtest/gtest.h>

#include <string>

#include "usb/FifoDevice.h"
#include "usb/UsbPrinterPort.h"

namespace qm {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

Bytes BytesOf(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// A payload whose bytes differ from each other and from the framing, so a
// misplaced or dropped byte shows.
std::string Payload(std::size_t n) {
  std::string text(n, '\0');
  for (std::size_t i = 0; i < n; ++i) {
    text[i] = static_cast<char>('a' + i % 26);
  }
  return text;
}

const Bytes kNameClosing = {0x1B, 0x1C, 0x1D, 0xFE, 0xED, 0x1D, 0x1E, 0x1F};

TEST(DeviceFrames, KnownAnswers) {
  struct Case {
    const char* what;
    Bytes actual;
    Bytes expected;
  };
  const Case cases[] = {
      {"config of empty record", BuildConfigFrame(""),
       {0x1B, 0x1C, 0x1D, 0x08, 0x04, 0x0D, 0x0A, 0x1D, 0x1E, 0x1F}},
      {"config of {}", BuildConfigFrame("{}"),
       {0x1B, 0x1C, 0x1D, 0x08, 0x04, '{', '}', 0x0D, 0x0A, 0x1D, 0x1E, 0x1F}},
      {"name ABC", BuildNameFrame("ABC"),
       {0x1B, 0x1C, 0x1D, 0x01, 0x01, 0x03, 0x41, 0x42, 0x43, 0x1D, 0x1E, 0x1F,
        0x1B, 0x1C, 0x1D, 0xFE, 0xED, 0x1D, 0x1E, 0x1F}},
      {"name empty", BuildNameFrame(""),
       Concat({{0x1B, 0x1C, 0x1D, 0x01, 0x01, 0x00, 0x1D, 0x1E, 0x1F}, kNameClosing})},
      {"self-test", BuildSelfTestFrame(), {0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F}},
      {"SW config of 3 bytes", BuildSwConfigFrame("xyz"),
       {0x53, 0x57, 0xF1, 0x03, 0x00, 0x00, 0x00, 'x', 'y', 'z'}},
      {"SW name of 3 bytes", BuildSwNameFrame("xyz"),
       {0x53, 0x57, 0xF0, 0x03, 0x00, 0x00, 0x00, 'x', 'y', 'z'}},
      {"SW config empty", BuildSwConfigFrame(""), {0x53, 0x57, 0xF1, 0x00, 0x00, 0x00, 0x00}},
      {"SW name empty", BuildSwNameFrame(""), {0x53, 0x57, 0xF0, 0x00, 0x00, 0x00, 0x00}},
      {"CA cert of 1 byte", BuildCaCertFrame("Z"),
       {0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E, 0x00, 0x01, 'Z', 0x1D, 0x1E, 0x1F}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.actual, c.expected) << c.what;
  }
}

TEST(DeviceFrames, PayloadsPassUnchanged) {
  // NUL, quotes, backslashes and high bytes are carried as they are.
  const std::string raw("a\0\"\\\xff\x1d\x1e\x1f", 8);
  EXPECT_EQ(BuildConfigFrame(raw), Concat({{0x1B, 0x1C, 0x1D, 0x08, 0x04}, BytesOf(raw),
                                           {0x0D, 0x0A, 0x1D, 0x1E, 0x1F}}));
  EXPECT_EQ(BuildSwNameFrame(raw),
            Concat({{0x53, 0x57, 0xF0, 0x08, 0x00, 0x00, 0x00}, BytesOf(raw)}));
}

TEST(DeviceFrames, CaCertificateLengthLimits) {
  struct Case {
    std::size_t n;
    bool built;
    std::uint8_t high;
    std::uint8_t low;
  };
  const Case cases[] = {{0, false, 0, 0},          {1, true, 0x00, 0x01},   {255, true, 0x00, 0xFF},
                        {256, true, 0x01, 0x00},   {300, true, 0x01, 0x2C}, {65535, true, 0xFF, 0xFF},
                        {65536, false, 0, 0},      {70000, false, 0, 0}};
  for (const Case& c : cases) {
    const std::string record = Payload(c.n);
    const Bytes frame = BuildCaCertFrame(record);
    if (!c.built) {
      EXPECT_TRUE(frame.empty()) << c.n;
      continue;
    }
    EXPECT_EQ(frame, Concat({{0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E, c.high, c.low}, BytesOf(record),
                             {0x1D, 0x1E, 0x1F}}))
        << c.n;
    EXPECT_EQ(frame.size(), c.n + 11) << c.n;
  }
}

TEST(DeviceFrames, NameLengthByteIsTheLowEightBits) {
  for (const std::size_t n : {std::size_t{0}, std::size_t{239}, std::size_t{255}, std::size_t{256},
                              std::size_t{300}}) {
    const std::string name = Payload(n);
    const Bytes frame = BuildNameFrame(name);
    EXPECT_EQ(frame, Concat({{0x1B, 0x1C, 0x1D, 0x01, 0x01, static_cast<std::uint8_t>(n & 0xFF)},
                             BytesOf(name), {0x1D, 0x1E, 0x1F}, kNameClosing}))
        << n;
    EXPECT_EQ(frame.size(), n + 17) << n;
  }
}

TEST(DeviceFrames, ConfigFrameHasNoLengthLimit) {
  for (const std::size_t n : {std::size_t{255}, std::size_t{256}, std::size_t{65536}}) {
    const std::string record = Payload(n);
    EXPECT_EQ(BuildConfigFrame(record), Concat({{0x1B, 0x1C, 0x1D, 0x08, 0x04}, BytesOf(record),
                                                {0x0D, 0x0A, 0x1D, 0x1E, 0x1F}}))
        << n;
  }
}

TEST(DeviceFrames, CloudBoxPayloadLimit) {
  for (const std::size_t n : {std::size_t{254}, std::size_t{255}, std::size_t{256}, std::size_t{1000}}) {
    const std::string payload = Payload(n);
    const Bytes config = BuildSwConfigFrame(payload);
    const Bytes name = BuildSwNameFrame(payload);
    if (n > 255) {
      EXPECT_TRUE(config.empty()) << n;
      EXPECT_TRUE(name.empty()) << n;
      continue;
    }
    const auto length = static_cast<std::uint8_t>(n);
    EXPECT_EQ(config, Concat({{0x53, 0x57, 0xF1, length, 0, 0, 0}, BytesOf(payload)})) << n;
    EXPECT_EQ(name, Concat({{0x53, 0x57, 0xF0, length, 0, 0, 0}, BytesOf(payload)})) << n;
  }
}

class SendRecordPairTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(port.Open(device.WidePath())); }

  test::FifoDevice device;
  UsbPrinterPort port;
};

TEST_F(SendRecordPairTest, PrinterFamilySendsConfigThenName) {
  ASSERT_TRUE(SendRecordPair(port, false, R"({"Type":2})", "SN1"));
  EXPECT_EQ(device.Drain(), Concat({BuildConfigFrame(R"({"Type":2})"), BuildNameFrame("SN1")}));
}

TEST_F(SendRecordPairTest, CloudBoxFamilySendsConfigThenName) {
  ASSERT_TRUE(SendRecordPair(port, true, R"({"Type":1})", "dev"));
  EXPECT_EQ(device.Drain(),
            Concat({{0x53, 0x57, 0xF1, 10, 0, 0, 0}, BytesOf(R"({"Type":1})"),
                    {0x53, 0x57, 0xF0, 3, 0, 0, 0, 'd', 'e', 'v'}}));
}

TEST_F(SendRecordPairTest, CloudBoxRecordTooLongSendsNothing) {
  EXPECT_FALSE(SendRecordPair(port, true, Payload(256), "dev"));
  EXPECT_TRUE(device.Drain().empty());
  EXPECT_TRUE(port.IsOpen());
}

TEST_F(SendRecordPairTest, SecondFrameFailingLeavesTheFirstDelivered) {
  EXPECT_FALSE(SendRecordPair(port, true, "{}", Payload(256)));
  EXPECT_EQ(device.Drain(), BuildSwConfigFrame("{}"));
}

TEST_F(SendRecordPairTest, ClosedPortSendsNothing) {
  port.Close();
  EXPECT_FALSE(SendRecordPair(port, false, "{}", "SN1"));
  EXPECT_FALSE(SendRecordPair(port, true, "{}", "SN1"));
  EXPECT_TRUE(device.Drain().empty());
}

TEST_F(SendRecordPairTest, DeviceTakingNothingGetsNoNameFrame) {
  const std::size_t filled = device.FillUp();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(SendRecordPair(port, false, "{}", "SN1"));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  // One time-out only: the name frame is not tried after the first failure.
  EXPECT_GE(elapsed, UsbPrinterPort::kWriteTimeout);
  EXPECT_LT(elapsed, 2 * UsbPrinterPort::kWriteTimeout);
  EXPECT_EQ(device.Drain(), Bytes(filled, 0xAA));
  ASSERT_TRUE(SendRecordPair(port, false, "{}", "SN1"));
  EXPECT_EQ(device.Drain(), Concat({BuildConfigFrame("{}"), BuildNameFrame("SN1")}));
}

}  // namespace
}  // namespace qm
