// SPDX-License-Identifier: MIT
#include "simulator/PrinterInfo.h"

#include "simulator/JsonFieldReader.h"
#include "text/DecimalText.h"
#include "text/PayloadView.h"
#include "text/TextHelpers.h"
#include "text/TextPair.h"

namespace qm {
namespace {

struct InfoKey {
  std::u16string_view key;
  TextPair label;
};

// In display order.
constexpr InfoKey kInfoKeys[] = {
    {u"devicename", {u"devicename", u"设备"}},
    {u"code", {u"code", u"状态"}},
    {u"imei", {u"imei", u"IMEI"}},
    {u"iccid", {u"iccid", u"ICCID"}},
    {u"id", {u"id", u"任务"}},
    {u"scan_content", {u"scan_content", u"扫码"}},
    {u"amount", {u"amount", u"金额"}},
    {u"pay_code", {u"pay_code", u"付款码"}},
    {u"timestamp", {u"timestamp", u"时间"}},
    {u"message", {u"message", u"消息"}},
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

}  // namespace

std::u16string_view PrinterStatusText(int code, bool chinese) {
  for (const StatusText& entry : kStatusTexts) {
    if (entry.code == code) return entry.text.Pick(chinese);
  }
  return {};
}

std::u16string FormatPrinterInfo(std::string_view payload, bool chinese) {
  const std::u16string text = Utf8ToWide(payload);
  std::u16string out(kPrinterInfo.Pick(chinese));
  bool any = false;
  for (const InfoKey& info : kInfoKeys) {
    const std::u16string value = ExtractJsonField(text, info.key);
    if (value.empty()) continue;
    any = true;
    out += u"  ";
    out += info.label.Pick(chinese);
    out += u"=" + PayloadView(value);
    // Read with clamping: a huge code must not wrap around onto a known one.
    const std::u16string_view status =
        info.key == u"code" ? PrinterStatusText(ReadLeadingInt32(value), chinese) : u"";
    if (!status.empty()) out += u"(" + std::u16string(status) + u")";
  }
  if (!any) out += u"  " + PayloadView(payload);
  return out;
}

}  // namespace qm
