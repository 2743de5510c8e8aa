// SPDX-License-Identifier: MIT
// The summary of a certificate check, English or Chinese.
#include "config/CaCertSummary.h"

#include "text/DecimalText.h"
#include "text/ShowableText.h"
#include "text/TextPair.h"

namespace qm {
namespace {

// The size line is the lead, the byte count and the tail.
constexpr TextPair kSizeLead{u"Size: ", u"大小： "};
constexpr TextPair kSizeTail{u" bytes\r\n", u" 字节\r\n"};
constexpr TextPair kFormatLabel{u"Format: ", u"格式： "};
constexpr TextPair kFormatValue{u"PEM", u"PEM"};
constexpr TextPair kSubjectLabel{u"Subject: ", u"主体： "};
constexpr TextPair kIssuerLabel{u"Issuer: ", u"颁发者： "};
constexpr TextPair kValidityLabel{u"Valid: ", u"有效期： "};
constexpr TextPair kValiditySeparator{u" ~ ", u" ~ "};
constexpr TextPair kPassed{
    u"Certificate structure validation passed.\r\nClick Confirm & Send to write via USB.",
    u"✔ 证书结构校验通过。\r\n点击「确认并发送」将通过 USB 写入设备。"};
constexpr TextPair kWarningLead{u"Warning: ", u"⚠ "};
constexpr TextPair kWarningTail{u"\r\nYou may still confirm and send if the device accepts it.",
                                u"\r\n仍可点击确认发送（请确认设备能接受）。"};
constexpr TextPair kFailureLead{u"Validation failed: ", u"校验失败："};
constexpr TextPair kFailureTail{u"\r\n\r\nPlease select a valid PEM certificate.",
                                u"\r\n\r\n请重新选择有效的 PEM 证书。"};
constexpr std::u16string_view kLineEnd = u"\r\n";

}  // namespace

std::u16string BuildCaCertSummary(const CaCertInfo& info, bool chinese) {
  const auto pick = [chinese](const TextPair& pair) { return pair.Pick(chinese); };
  const std::u16string& message = chinese ? info.messageZh : info.messageEn;
  std::u16string text;
  if (!info.valid) {
    text.append(pick(kFailureLead)).append(message).append(pick(kFailureTail));
    return text;
  }
  text.append(pick(kSizeLead))
      .append(DecimalText(static_cast<std::int64_t>(info.data.size())))
      .append(pick(kSizeTail));
  text.append(pick(kFormatLabel)).append(pick(kFormatValue)).append(kLineEnd);
  // The names come from the file: one line each, read in their own order.
  text.append(pick(kSubjectLabel)).append(ShowableText(info.subject)).append(kLineEnd);
  text.append(pick(kIssuerLabel)).append(ShowableText(info.issuer)).append(kLineEnd);
  text.append(pick(kValidityLabel))
      .append(info.validFrom)
      .append(pick(kValiditySeparator))
      .append(info.validTo);
  text.append(kLineEnd).append(kLineEnd);
  if (!info.expired && !info.notYetValid) {
    text.append(pick(kPassed));
  } else {
    text.append(pick(kWarningLead)).append(message).append(pick(kWarningTail));
  }
  return text;
}

}  // namespace qm
