// SPDX-License-Identifier: MIT
#include "usb/DeviceFrames.h"

#include <gtest/gtest.h>

#include <string>

#include "usb/FifoPortTest.h"

namespace qm {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// head + payload + tail; no head: no frame at all.
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
        {BuildConfigFrame, p(65536), kConfigHead, kConfigTail},
        {BuildNameFrame, p(255), {0x1B, 0x1C, 0x1D, 0x01, 0x01, 0xFF}, kNameTail},
        {BuildNameFrame, p(300), {0x1B, 0x1C, 0x1D, 0x01, 0x01, 0x2C}, kNameTail},  // low byte
        {BuildCaCertFrame, "", {}, {}},
        {BuildCaCertFrame, p(300), {0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E, 0x01, 0x2C}, kEnd},
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

using SendRecordPair = test::FifoPortTest;

TEST_F(SendRecordPair, ConfigThenNameInEitherFamilyAndOneDeadlineAtMost) {
  ASSERT_TRUE(qm::SendRecordPair(port, false, "{}", "SN1"));
  Bytes pair = Framed(kConfigHead, "{}", kConfigTail);
  const Bytes name = Framed({0x1B, 0x1C, 0x1D, 0x01, 0x01, 0x03}, "SN1", kNameTail);
  pair.insert(pair.end(), name.begin(), name.end());
  EXPECT_EQ(device.Drain(), pair);
  ASSERT_TRUE(qm::SendRecordPair(port, true, "{}", "dev"));
  EXPECT_EQ(device.Drain(), (Bytes{0x53, 0x57, 0xF1, 2, 0, 0, 0, '{', '}', 0x53, 0x57, 0xF0, 3, 0,
                                   0, 0, 'd', 'e', 'v'}));
  // A record too long sends nothing; a name too long leaves the record delivered.
  EXPECT_FALSE(qm::SendRecordPair(port, true, std::string(256, 'r'), "dev"));
  EXPECT_TRUE(device.Drain().empty());
  EXPECT_FALSE(qm::SendRecordPair(port, true, "{}", std::string(256, 'n')));
  EXPECT_EQ(device.Drain(), (Bytes{0x53, 0x57, 0xF1, 2, 0, 0, 0, '{', '}'}));
  const std::size_t filled = device.FillUp();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(qm::SendRecordPair(port, false, "{}", "SN1"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1600ms);  // the name frame is not tried
  EXPECT_EQ(device.Drain(), Bytes(filled, 0xAA));
  port.Close();
  EXPECT_FALSE(qm::SendRecordPair(port, false, "{}", "SN1"));
  EXPECT_TRUE(device.Drain().empty());
}

}  // namespace
}  // namespace qm
