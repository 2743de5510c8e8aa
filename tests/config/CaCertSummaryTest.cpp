// SPDX-License-Identifier: MIT
#include "config/CaCertSummary.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(CaCertSummary, EveryVerdictInBothLanguages) {
  CaCertInfo info{true,
                  false,
                  false,
                  1,
                  u"",
                  u"Root CA",
                  u"测试 Issuer",
                  u"2024-01-02 03:04:05",
                  u"2031-06-30 23:59:59",
                  u"",
                  u"",
                  std::vector<std::uint8_t>(1234, 'A')};
  const std::u16string zh =
      u"大小： 1234 字节\r\n格式： PEM\r\n主体： Root CA\r\n颁发者： 测试 Issuer\r\n"
      u"有效期： 2024-01-02 03:04:05 ~ 2031-06-30 23:59:59\r\n\r\n";
  EXPECT_EQ(BuildCaCertSummary(info, true),
            zh + u"✔ 证书结构校验通过。\r\n点击「确认并发送」将通过 USB 写入设备。");
  info.notYetValid = true;
  info.messageEn = u"not yet";
  info.messageZh = u"尚未生效";
  EXPECT_EQ(BuildCaCertSummary(info, true),
            zh + u"⚠ 尚未生效\r\n仍可点击确认发送（请确认设备能接受）。");
  EXPECT_EQ(BuildCaCertSummary(info, false),
            u"Size: 1234 bytes\r\nFormat: PEM\r\nSubject: Root CA\r\nIssuer: 测试 Issuer\r\n"
            u"Valid: 2024-01-02 03:04:05 ~ 2031-06-30 23:59:59\r\n\r\n"
            u"Warning: not yet\r\nYou may still confirm and send if the device accepts it.");
  info.valid = false;
  EXPECT_EQ(BuildCaCertSummary(info, true),
            u"校验失败：尚未生效\r\n\r\n请重新选择有效的 PEM 证书。");
}

}  // namespace
}  // namespace qm
