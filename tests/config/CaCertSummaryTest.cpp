// SPDX-License-Identifier: MIT
// The summary's texts with their CR LF line ends; the English texts of a
// passed, expired and failed check are also seen in the dialog's own test.
#include "config/CaCertSummary.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

CaCertInfo Checked(bool expired, std::u16string en, std::u16string zh) {
  return CaCertInfo{.valid = true, .expired = expired, .notYetValid = !en.empty(), .format = 1,
                    .path = u"/tmp/ca.pem", .subject = u"Root CA", .issuer = u"测试 Issuer",
                    .validFrom = u"2024-01-02 03:04:05", .validTo = u"2031-06-30 23:59:59",
                    .messageEn = std::move(en), .messageZh = std::move(zh),
                    .data = std::vector<std::uint8_t>(1234, 'A')};
}

TEST(CaCertSummary, EveryVerdictInBothLanguages) {
  const std::u16string zh = u"大小： 1234 字节\r\n格式： PEM\r\n主体： Root CA\r\n颁发者： 测试 Issuer\r\n"
                            u"有效期： 2024-01-02 03:04:05 ~ 2031-06-30 23:59:59\r\n\r\n";
  CaCertInfo failed;
  failed.messageEn = u"Certificate file is empty.";
  failed.messageZh = u"证书文件为空。";
  struct Case {
    CaCertInfo info;
    bool chinese;
    std::u16string expected;
  };
  const Case cases[] = {
      {Checked(false, u"", u""), true,
       zh + u"✔ 证书结构校验通过。\r\n点击「确认并发送」将通过 USB 写入设备。"},
      {Checked(true, u"expired", u"证书已过期（结构有效）。"), true,
       zh + u"⚠ 证书已过期（结构有效）。\r\n仍可点击确认发送（请确认设备能接受）。"},
      {Checked(false, u"not yet", u""), false,
       u"Size: 1234 bytes\r\nFormat: PEM\r\nSubject: Root CA\r\nIssuer: 测试 Issuer\r\n"
       u"Valid: 2024-01-02 03:04:05 ~ 2031-06-30 23:59:59\r\n\r\n"
       u"Warning: not yet\r\nYou may still confirm and send if the device accepts it."},
      {failed, true, u"校验失败：证书文件为空。\r\n\r\n请重新选择有效的 PEM 证书。"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildCaCertSummary(c.info, c.chinese), c.expected) << (&c - cases);
  }
}

}  // namespace
}  // namespace qm
