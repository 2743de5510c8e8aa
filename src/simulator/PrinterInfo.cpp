// SPDX-License-Identifier: MIT
#include "simulator/PrinterInfo.h"

#include <algorithm>

#include "simulator/JsonFieldReader.h"
#include "text/DecimalText.h"
#include "text/PayloadView.h"
#include "text/TextHelpers.h"
#include "text/TextPair.h"

namespace qm {
namespace {

struct InfoKey {
  std::string_view key;  // ASCII
  TextPair label;
};

// In display order.
constexpr InfoKey kInfoKeys[] = {
    {"devicename", {u"devicename", u"设备"}},
    {"code", {u"code", u"状态"}},
    {"imei", {u"imei", u"IMEI"}},
    {"iccid", {u"iccid", u"ICCID"}},
    {"id", {u"id", u"任务"}},
    {"scan_content", {u"scan_content", u"扫码"}},
    {"amount", {u"amount", u"金额"}},
    {"pay_code", {u"pay_code", u"付款码"}},
    {"timestamp", {u"timestamp", u"时间"}},
    {"message", {u"message", u"消息"}},
};

struct StatusText {
  int code;
  TextPair text;
};

constexpr StatusText kStatusTexts[] = {
    {0, {u"ok", u"正常/打印成功"}},
    {100, {u"unknown error", u"未知错误"}},
    {101, {u"out of paper", u"缺纸"}},
    {102, {u"cover open", u"开盖"}},
    {103, {u"overheat", u"过热"}},
    {109, {u"printer offline", u"打印机未连接"}},
    {201, {u"missing id", u"没有id"}},
    {202, {u"missing type", u"没有type"}},
    {203, {u"invalid type", u"无效type"}},
    {204, {u"missing contents", u"没有内容"}},
    {208, {u"bad contents", u"内容格式错误"}},
    {209, {u"duplicate id", u"重复任务"}},
};

constexpr TextPair kPrinterInfo{u"Printer info", u"打印机信息"};

// The decimal integer at the start of a value, read with clamping (a huge
// code must not wrap around onto a known one). Past the sign and leading
// zeros, a dozen characters decide it.
int ReadCode(std::string_view value) {
  std::size_t digits = value.starts_with('+') || value.starts_with('-') ? 1 : 0;
  std::u16string head(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(digits));
  digits = std::min(value.find_first_not_of('0', digits), value.size());
  for (const char ch : value.substr(digits, 12)) head += static_cast<unsigned char>(ch);
  return ReadLeadingInt32(head);
}

}  // namespace

std::u16string_view PrinterStatusText(int code, bool chinese) {
  for (const StatusText& entry : kStatusTexts) {
    if (entry.code == code) return entry.text.Pick(chinese);
  }
  return {};
}

std::u16string FormatPrinterInfo(std::string_view payload, bool chinese) {
  // Searched in bytes up to the first zero byte: a long payload is never
  // decoded whole, only what is shown of it.
  const std::string_view text = payload.substr(0, payload.find('\0'));
  std::u16string out(kPrinterInfo.Pick(chinese));
  bool any = false;
  for (const InfoKey& info : kInfoKeys) {
    const std::string value = ExtractJsonField(text, info.key);
    if (value.empty()) continue;
    any = true;
    out += u"  ";
    out += info.label.Pick(chinese);
    out += u"=" + PayloadView(value);
    const std::u16string_view status =
        info.key == "code" ? PrinterStatusText(ReadCode(value), chinese) : u"";
    if (!status.empty()) out += u"(" + std::u16string(status) + u")";
  }
  if (!any) out += u"  " + PayloadView(payload);
  return out;
}

}  // namespace qm
