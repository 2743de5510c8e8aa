// SPDX-License-Identifier: MIT
#include "simulator/PrinterInfo.h"

#include <gtest/gtest.h>

#include "text/TextHelpers.h"

namespace qm {
namespace {

TEST(PrinterStatusText, BothLanguages) {
  const std::tuple<int, std::u16string_view, std::u16string_view> cases[] = {
      {0, u"ok", u"正常/打印成功"},
      {100, u"unknown error", u"未知错误"},
      {101, u"out of paper", u"缺纸"},
      {102, u"cover open", u"开盖"},
      {103, u"overheat", u"过热"},
      {109, u"printer offline", u"打印机未连接"},
      {201, u"missing id", u"没有id"},
      {202, u"missing type", u"没有type"},
      {203, u"invalid type", u"无效type"},
      {204, u"missing contents", u"没有内容"},
      {208, u"bad contents", u"内容格式错误"},
      {209, u"duplicate id", u"重复任务"},
      {205, u"", u""},
      {-1, u"", u""},
      {1, u"", u""},
  };
  for (const auto& [code, en, zh] : cases) {
    EXPECT_EQ(PrinterStatusText(code, false), en) << code;
    EXPECT_EQ(PrinterStatusText(code, true), zh) << code;
  }
}

TEST(FormatPrinterInfo, LabelsInOrderOrTheWholePayload) {
  using namespace std::string_literals;
  const std::tuple<std::string, bool, std::u16string_view> cases[] = {
      {R"({"devicename":"P1","id":1765000001,"code":0})", true,
       u"打印机信息  设备=P1  状态=0(正常/打印成功)  任务=1765000001"},
      {R"({"message":"m","timestamp":5,"pay_code":"p","amount":"1.5","scan_content":"s",)"
       R"("id":3,"iccid":"c","imei":"i","code":209,"devicename":"d"})",
       true,
       u"打印机信息  设备=d  状态=209(重复任务)  IMEI=i  ICCID=c  任务=3  扫码=s  金额=1.5  "
       u"付款码=p  时间=5  消息=m"},
      {R"({"code":205,"imei":"x"})", false, u"Printer info  code=205  imei=x"},
      {R"({"code":-1})", false, u"Printer info  code=-1"},
      {R"({"code":"abc"})", false, u"Printer info  code=abc(ok)"},
      {R"({"code":4294967296})", false, u"Printer info  code=4294967296"},
      {R"({"devicename":"","code":true,"id":null})", true,
       u"打印机信息  {\"devicename\":\"\",\"code\":true,\"id\":null}"},
      {"hello\0{\"code\":0}"s, false, u"Printer info  hello"},
      {"\xff", false, u"Printer info  \uFFFD"},
  };
  for (const auto& [payload, chinese, line] : cases) {
    EXPECT_EQ(FormatPrinterInfo(payload, chinese), line) << payload;
  }
}

}  // namespace
}  // namespace qm
