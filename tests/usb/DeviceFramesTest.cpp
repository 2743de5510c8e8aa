// SPDX-License-Identifier: MIT
#include "usb/DeviceFrames.h"

#include <gtest/gtest.h>

#include <string>

#include "usb/FifoPortTest.h"

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

const Bytes kEnd = {0x1D, 0x1E, 0x1F};
const Bytes kConfigHead = {0x1B, 0x1C, 0x1D, 0x08, 0x04};
const Bytes kConfigTail = {0x0D, 0x0A, 0x1D, 0x1E, 0x1F};
const Bytes kCaHead = {0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E};
const Bytes kNameHead = {0x1B, 0x1C, 0x1D, 0x01, 0x01};
const Bytes kNameTail = {0x1D, 0x1E, 0x1F, 0x1B, 0x1C, 0x1D, 0xFE, 0xED, 0x1D, 0x1E, 0x1F};

TEST(DeviceFrames, KnownAnswers) {
  // NUL, quotes, backslashes, high bytes and framing bytes are carried as they are.
  const std::string raw("a\0\"\\\xff\x1d\x1e\x1f", 8);
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
      {"self-test", BuildSelfTestFrame(), {0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F}},
      {"SW config of 3 bytes", BuildSwConfigFrame("xyz"),
       {0x53, 0x57, 0xF1, 0x03, 0x00, 0x00, 0x00, 'x', 'y', 'z'}},
      {"SW name of 3 bytes", BuildSwNameFrame("xyz"),
       {0x53, 0x57, 0xF0, 0x03, 0x00, 0x00, 0x00, 'x', 'y', 'z'}},
      {"CA cert of 1 byte", BuildCaCertFrame("Z"),
       {0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E, 0x00, 0x01, 'Z', 0x1D, 0x1E, 0x1F}},
      {"config of raw bytes", BuildConfigFrame(raw), Concat({kConfigHead, BytesOf(raw), kConfigTail})},
      {"SW name of raw bytes", BuildSwNameFrame(raw),
       Concat({{0x53, 0x57, 0xF0, 0x08, 0x00, 0x00, 0x00}, BytesOf(raw)})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.actual, c.expected) << c.what;
  }
}

TEST(DeviceFrames, LengthLimits) {
  struct Case {
    Frame (*build)(std::string_view);
    std::size_t n;
    Bytes head;  // with the tail around the payload; none: no frame
    Bytes tail;
  };
  const Case cases[] = {
      {BuildCaCertFrame, 0, {}, {}},
      {BuildCaCertFrame, 1, Concat({kCaHead, {0x00, 0x01}}), kEnd},
      {BuildCaCertFrame, 255, Concat({kCaHead, {0x00, 0xFF}}), kEnd},
      {BuildCaCertFrame, 256, Concat({kCaHead, {0x01, 0x00}}), kEnd},
      {BuildCaCertFrame, 300, Concat({kCaHead, {0x01, 0x2C}}), kEnd},
      {BuildCaCertFrame, 65535, Concat({kCaHead, {0xFF, 0xFF}}), kEnd},
      {BuildCaCertFrame, 65536, {}, {}},
      {BuildCaCertFrame, 70000, {}, {}},
      // The name's length byte is the low eight bits; there is no limit.
      {BuildNameFrame, 0, Concat({kNameHead, {0x00}}), kNameTail},
      {BuildNameFrame, 239, Concat({kNameHead, {0xEF}}), kNameTail},
      {BuildNameFrame, 255, Concat({kNameHead, {0xFF}}), kNameTail},
      {BuildNameFrame, 256, Concat({kNameHead, {0x00}}), kNameTail},
      {BuildNameFrame, 300, Concat({kNameHead, {0x2C}}), kNameTail},
      {BuildConfigFrame, 255, kConfigHead, kConfigTail},
      {BuildConfigFrame, 256, kConfigHead, kConfigTail},
      {BuildConfigFrame, 65536, kConfigHead, kConfigTail},
      {BuildSwConfigFrame, 0, {0x53, 0x57, 0xF1, 0x00, 0, 0, 0}, {}},
      {BuildSwConfigFrame, 254, {0x53, 0x57, 0xF1, 0xFE, 0, 0, 0}, {}},
      {BuildSwConfigFrame, 255, {0x53, 0x57, 0xF1, 0xFF, 0, 0, 0}, {}},
      {BuildSwConfigFrame, 256, {}, {}},
      {BuildSwConfigFrame, 1000, {}, {}},
      {BuildSwNameFrame, 0, {0x53, 0x57, 0xF0, 0x00, 0, 0, 0}, {}},
      {BuildSwNameFrame, 254, {0x53, 0x57, 0xF0, 0xFE, 0, 0, 0}, {}},
      {BuildSwNameFrame, 255, {0x53, 0x57, 0xF0, 0xFF, 0, 0, 0}, {}},
      {BuildSwNameFrame, 256, {}, {}},
      {BuildSwNameFrame, 1000, {}, {}},
  };
  for (const Case& c : cases) {
    const std::string payload = Payload(c.n);
    const Bytes expected = c.head.empty() ? Bytes{} : Concat({c.head, BytesOf(payload), c.tail});
    EXPECT_EQ(c.build(payload), expected) << &c - cases << ": " << c.n;
  }
}

using SendRecordPairTest = test::FifoPortTest;

TEST_F(SendRecordPairTest, EitherFamilySendsConfigThenName) {
  ASSERT_TRUE(SendRecordPair(port, false, R"({"Type":2})", "SN1"));
  EXPECT_EQ(device.Drain(), Concat({BuildConfigFrame(R"({"Type":2})"), BuildNameFrame("SN1")}));
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
