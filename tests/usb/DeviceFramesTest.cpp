// SPDX-License-Identifier: MIT
#include "usb/DeviceFrames.h"

#include <gtest/gtest.h>

#include <string>

#include "usb/FifoPortTest.h"

namespace qm {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A payload whose bytes differ from each other and from the framing.
std::string Payload(std::size_t n) {
  std::string text(n, '\0');
  for (std::size_t i = 0; i < n; ++i) text[i] = static_cast<char>('a' + i % 26);
  return text;
}

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

const Bytes kEnd = {0x1D, 0x1E, 0x1F};
const Bytes kNameTail = {0x1D, 0x1E, 0x1F, 0x1B, 0x1C, 0x1D, 0xFE, 0xED, 0x1D, 0x1E, 0x1F};
const Bytes kConfigTail = {0x0D, 0x0A, 0x1D, 0x1E, 0x1F};

TEST(DeviceFrames, ExactBytesAndLengthLimits) {
  // NUL, quotes, backslashes, high bytes and framing bytes are carried as they are.
  const std::string raw("a\0\"\\\xff\x1d\x1e\x1f", 8);
  struct Case {
    Frame (*build)(std::string_view);
    std::string payload;
    Bytes head;  // none: no frame at all
    Bytes tail;
  };
  const Case cases[] = {
      {BuildConfigFrame, "", {0x1B, 0x1C, 0x1D, 0x08, 0x04}, kConfigTail},
      {BuildConfigFrame, raw, {0x1B, 0x1C, 0x1D, 0x08, 0x04}, kConfigTail},
      {BuildConfigFrame, Payload(65536), {0x1B, 0x1C, 0x1D, 0x08, 0x04}, kConfigTail},
      {BuildNameFrame, "ABC", {0x1B, 0x1C, 0x1D, 0x01, 0x01, 0x03}, kNameTail},
      {BuildNameFrame, Payload(255), {0x1B, 0x1C, 0x1D, 0x01, 0x01, 0xFF}, kNameTail},
      {BuildNameFrame, Payload(300), {0x1B, 0x1C, 0x1D, 0x01, 0x01, 0x2C}, kNameTail},  // low byte
      {BuildCaCertFrame, "", {}, {}},
      {BuildCaCertFrame, "Z", {0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E, 0x00, 0x01}, kEnd},
      {BuildCaCertFrame, Payload(300), {0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E, 0x01, 0x2C}, kEnd},
      {BuildCaCertFrame, Payload(65535), {0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E, 0xFF, 0xFF}, kEnd},
      {BuildCaCertFrame, Payload(65536), {}, {}},
      {BuildSwConfigFrame, "xyz", {0x53, 0x57, 0xF1, 0x03, 0x00, 0x00, 0x00}, {}},
      {BuildSwConfigFrame, Payload(255), {0x53, 0x57, 0xF1, 0xFF, 0x00, 0x00, 0x00}, {}},
      {BuildSwConfigFrame, Payload(256), {}, {}},
      {BuildSwNameFrame, raw, {0x53, 0x57, 0xF0, 0x08, 0x00, 0x00, 0x00}, {}},
      {BuildSwNameFrame, Payload(254), {0x53, 0x57, 0xF0, 0xFE, 0x00, 0x00, 0x00}, {}},
      {BuildSwNameFrame, Payload(256), {}, {}},
  };
  for (const Case& c : cases) {
    const Bytes expected = c.head.empty() ? Bytes{} : Concat({c.head, BytesOf(c.payload), c.tail});
    EXPECT_EQ(c.build(c.payload), expected) << &c - cases;
  }
  EXPECT_EQ(BuildSelfTestFrame(), (Bytes{0x1B, 0x1C, 0x1D, 0x01, 0x00, 0x1D, 0x1E, 0x1F}));
}

using SendRecordPair = test::FifoPortTest;

TEST_F(SendRecordPair, ConfigThenNameInEitherFamily) {
  ASSERT_TRUE(qm::SendRecordPair(port, false, "{}", "SN1"));
  EXPECT_EQ(device.Drain(), Concat({{0x1B, 0x1C, 0x1D, 0x08, 0x04, '{', '}'}, kConfigTail,
                                    {0x1B, 0x1C, 0x1D, 0x01, 0x01, 0x03, 'S', 'N', '1'}, kNameTail}));
  ASSERT_TRUE(qm::SendRecordPair(port, true, "{}", "dev"));
  EXPECT_EQ(device.Drain(), (Bytes{0x53, 0x57, 0xF1, 2, 0, 0, 0, '{', '}', 0x53, 0x57, 0xF0, 3, 0, 0, 0,
                                   'd', 'e', 'v'}));
  // A record too long for the "SW" family sends nothing; a name too long
  // leaves the record delivered.
  EXPECT_FALSE(qm::SendRecordPair(port, true, Payload(256), "dev"));
  EXPECT_TRUE(device.Drain().empty());
  EXPECT_FALSE(qm::SendRecordPair(port, true, "{}", Payload(256)));
  EXPECT_EQ(device.Drain(), (Bytes{0x53, 0x57, 0xF1, 2, 0, 0, 0, '{', '}'}));
  port.Close();
  EXPECT_FALSE(qm::SendRecordPair(port, false, "{}", "SN1"));
  EXPECT_TRUE(device.Drain().empty());
}

TEST_F(SendRecordPair, DeviceTakingNothingCostsOneDeadlineOnly) {
  const std::size_t filled = device.FillUp();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(qm::SendRecordPair(port, false, "{}", "SN1"));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, 800ms);
  EXPECT_LT(elapsed, 1600ms);  // the name frame is not tried
  EXPECT_EQ(device.Drain(), Bytes(filled, 0xAA));
}

}  // namespace
}  // namespace qm
