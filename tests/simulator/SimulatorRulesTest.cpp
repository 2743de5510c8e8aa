// SPDX-License-Identifier: MIT
// The simulator's pure rules, from task codes to test job ids.
#include <gtest/gtest.h>

#include <tuple>

#include "simulator/IncomingJob.h"
#include "simulator/JsonFieldReader.h"
#include "simulator/MqttConnectOptions.h"
#include "simulator/PrintAck.h"
#include "simulator/PrintTask.h"
#include "simulator/PrinterInfo.h"
#include "simulator/SimulatorConnectPlan.h"
#include "simulator/TestPayload.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

using std::string, std::u16string, std::string_view, std::u16string_view, std::tuple;

// clang-format off
// Ids 0 to 4294967295, types 1 to 6, 99, 100; contents by type; the last of each key counts.
const std::pair<int, std::vector<string_view>> kTaskCodes[] = {
    {208, {"", "[1]", "{\"id\" 1}", "{1:2}", "{\"id\":12x,\"type\":1,\"contents\":\"a\"}",
     R"({"id":1,"type":6,"contents":7})", R"({"id":1,"type":2,"contents":[1]})",
     R"({"id":1,"type":5,"contents":"x","message":"m"})", R"({"id":1,"type":99,"contents":[]})",
     R"({"id":1,"type":100,"contents":3})", R"({"id":1,"type":1,"contents":})",
     R"({"id":1,"type":1,"contents":"a","contents":5})",
     "{\"id\":1,\"type\":1,\"contents\":\"x\", "}},
    {201, {"{", R"({"id":4294967296,"type":1,"contents":"x"})",
     R"({"id":-1,"type":1,"contents":"x"})",
     R"({"id":12.5,"type":1,"contents":"x"})", R"({"ID":3,"id ":4,"type":1,"contents":"x"})",
     R"({"x":{"id":5},"type":1,"contents":"x"})"}},
    {202, {R"({"id":1,"contents":"x"})", R"({"id":1,"type":"1","contents":"x"})",
     R"({"id":1,"type":2147483648,"contents":"x"})",
     R"({"id":1,"type":-2147483648,"contents":"x"})"}},
    {203, {R"({"id":1,"type":0,"contents":"x"})", R"({"id":1,"type":7,"contents":"x"})",
     R"({"id":1,"type":98,"contents":"x"})", R"({"id":1,"type":101,"contents":"x"})"}},
    {204, {R"({"id":1,"type":1})", R"({"id":1,"type":5,"message":"m","message":1})"}},
    {0, {R"({"id":0,"type":1,"contents":"x"})", R"({"id":4294967295,"type":1,"contents":"x"})",
     R"({"id":1,"id":-1,"type":1,"contents":"x"})", R"({"i\d":3,"type":1,"contents":"x"})",
     R"({"id":1,"type":3,"type":"x","contents":"x"})", R"({"id":1,"type":+5,"contents":[]})",
     R"({"id":1,"type":1,"contents":""})", R"({"id":1,"type":4,"contents":{},"message":"m"})",
     R"({"id":1,"type":5,"message":"m"})", R"({"id":1,"type":5,"contents":{}})",
     R"({"id":1,"type":99,"message":"m"})", R"({"id":1,"type":100,"contents":3,"message":"m"})",
     R"({"id":1,"type":100,"contents":"x"})", R"({"contents":["a","b}"],"id":5,"type":5})",
     R"({"contents":{"k":"\"}\\"},"id":8,"type":99})",
     R"({"contents":"\",\"type\":7","id":9,"type":1})",
     R"({"id":1 "type":1 "contents":"x"})", " {\"id\" : 42 ,\"type\":\t1,\r\n\"contents\":\"x\"}",
     R"({"id":1,"type":1,"contents":"x")", R"({"id":1,"type":1,"contents":"x"} not json)"}}};
// Id, type, code: a refused id is not remembered; ten more ids push one out.
const tuple<std::uint32_t, int, int> kIdHistory[] = {{0, 1, 0}, {0, 1, 209}, {500, 1, 0},
    {500, 1, 209}, {500, 5, 208}, {501, 7, 203}, {501, 1, 0}, {1, 1, 0}, {2, 1, 0}, {3, 1, 0},
    {4, 1, 0}, {5, 1, 0}, {6, 1, 0}, {7, 1, 0}, {8, 1, 0}, {9, 1, 0}, {501, 1, 209}, {0, 1, 0},
    {500, 1, 0}, {501, 1, 0}};
const tuple<int, string_view, u16string_view, u16string_view> kCodeTexts[] = {
    {0, "success", u"ok", u"正常/打印成功"}, {100, "unknown error", u"unknown error", u"未知错误"},
    {101, "out of paper", u"out of paper", u"缺纸"}, {102, "cover open", u"cover open", u"开盖"},
    {103, "overheat", u"overheat", u"过热"}, {205, "invalid message", u"", u""},
    {109, "printer not connected", u"printer offline", u"打印机未连接"},
    {201, "missing/invalid id (valid range 0-4294967295)", u"missing id", u"没有id"},
    {202, "missing type", u"missing type", u"没有type"}, {206, "download error", u"", u""},
    {203, "invalid type (allowed: 1,2,3,4,5,6,99,100)", u"invalid type", u"无效type"},
    {204, "missing contents/message", u"missing contents", u"没有内容"},
    {208, "invalid content format", u"bad contents", u"内容格式错误"}, {1, "unknown code", u"", u""},
    {209, "duplicate task id", u"duplicate id", u"重复任务"}, {207, "task too long", u"", u""},
    {104, "unknown code", u"", u""}, {200, "unknown code", u"", u""}, {210, "unknown code", u"", u""}};
// Acknowledgements: only quote and backslash escaped; cut at 255 bytes, even inside an escape pair.
const tuple<string, std::uint32_t, int, string> kAcks[] = {
    {"SN123", 42, 0, R"({"devicename":"SN123","id":42,"code":0})"},
    {"", 0, 208, R"({"devicename":"","id":0,"code":208})"},
    {"a\"b\\c\n/打", 4294967295u, -1,
     "{\"devicename\":\"a\\\"b\\\\c\n/打\",\"id\":4294967295,\"code\":-1}"},
    {string(222, 'n'), 1, 0, R"({"devicename":")" + string(222, 'n') + R"(","id":1,"code":0})"},
    {string(223, 'n'), 1, 0, R"({"devicename":")" + string(223, 'n') + R"(","id":1,"code":0)"}};
// TLS choice, port, host length, clean-session choice: cleansession, URI (whole, never cut).
const tuple<int, int, std::size_t, int, int, string> kUris[] = {
    {0, 1883, 1, 0, 1, "mqtt://h:1883"}, {1, 1883, 1, 1, 0, "mqtts://h:1883"},
    {0, 8883, 1, 2, 0, "mqtts://h:8883"}, {0, 8884, 1, -1, 0, "mqtt://h:8884"},
    {2, 0, 1, 0, 1, "mqtts://h:0"}, {0, -1, 1, 0, 1, "mqtt://h:-1"},
    {0, 1883, 243, 0, 1, "mqtt://" + string(243, 'h') + ":1883"},
    {0, 1883, 244, 0, 1, "mqtt://" + string(244, 'h') + ":1883"},
    {0, -2147483647 - 1, 300, 0, 1, "mqtt://" + string(300, 'h') + ":-2147483648"}};
// Uplink reports: quoted words anywhere; escaped quotes are not double quotes around a word.
const std::pair<string_view, bool> kReports[] = {{R"({"code":0})", true},
    {R"({"scan_content":"x"})", true}, {R"({"pay_code":"x"})", true}, {R"({"iccid":"x"})", true},
    {R"({"msg":"code","x":"\"iccid\""})", true}, {R"({"msg":"say \"code\""})", false},
    {R"({"type":5,"code":0})", false}, {R"({"x":"type","code":0})", false},
    {R"({"code_x":0,"Code":1})", false}};
const tuple<string, bool, u16string_view> kPrinterInfo[] = {
    {R"({"message":"m","timestamp":5,"pay_code":"p","amount":"1.5","scan_content":"s",)"
     R"("id":3,"iccid":"c","imei":"i","code":209,"devicename":"d"})", true,
     u"打印机信息  设备=d  状态=209(重复任务)  IMEI=i  ICCID=c  任务=3  扫码=s  金额=1.5  "
     u"付款码=p  时间=5  消息=m"},
    {R"({"code":205,"imei":"x"})", false, u"Printer info  code=205  imei=x"},
    {R"({"code":"abc"})", false, u"Printer info  code=abc(ok)"},
    {R"({"code":-0})", true, u"打印机信息  状态=-0(正常/打印成功)"},
    {R"({"devicename":"","code":true,"id":null})", true,
     u"打印机信息  {\"devicename\":\"\",\"code\":true,\"id\":null}"},
    {string("hello\0{\"code\":0}", 16), false, u"Printer info  hello"},
    {"\xff", false, u"Printer info  \uFFFD"}};
// Values read loosely: numbers cut at the first other sign, cut strings, a missing colon.
const tuple<string_view, string_view, string_view> kFields[] = {
    {R"({"code" :	 -12.5e3})", "code", "-12.5"}, {R"({"m":"a\"b\\c\nd"})", "m", R"(a"b\cnd)"},
    {R"({"m":"ab\)", "m", R"(ab\)"}, {R"({"id":   )", "id", ""}, {R"({"d":{"x":1}})", "d", ""},
    {R"({"id" 5 , "x": 6})", "id", "6"}, {R"({"msg":"id","x":"y","id":9})", "id", "y"},
    {"{\"id\":\u3000\"全角\"}", "id", "全角"}};
// Status text, publish topic, subscribe topic: the report topic to subscribe.
const tuple<u16string, u16string, u16string, u16string> kReportTopics[] = {
    {u"Connected.", u" p ", u"s", u"p"}, {u"Connected.", u" p ", u"p ", u""},
    {u"Connected.", u" P ", u"p", u"P"}, {u"Connected.", u" ", u"s", u""},
    {u"Subscribed: s", u"p", u"s", u""}};
// Form texts changed from a valid form (P1, h, u, pw, jobs, reports): the refusal in both languages,
// or none. After the required values, each text in form order (control, then length), then topics.
const u16string kMb(65535, u'x'), kZh(21846, u'中');  // 65535 bytes; 65538 bytes
using F = SimulatorForm;
const tuple<std::vector<std::pair<u16string F::*, u16string>>, u16string_view, u16string_view> kFormTexts[] = {
    {{{&F::clientId, u16string(u"P1\0X", 4)}, {&F::pubTopic, u"a/#"}}, u"Client ID contains a control character.", u"clientID 含有控制字符。"},
    {{{&F::domain, u"h\u001B"}}, u"Domain contains a control character.", u"域名含有控制字符。"}, {{{&F::username, u"u\u0085x"}}, u"Username contains a control character.", u"用户名含有控制字符。"},
    {{{&F::password, u"p\u007F"}}, u"Password contains a control character.", u"密码含有控制字符。"}, {{{&F::subTopic, u"a\nb"}}, u"Subscribe topic contains a control character.", u"订阅主题含有控制字符。"},
    {{{&F::pubTopic, u"r\u009F"}}, u"Publish topic contains a control character.", u"发布主题含有控制字符。"},
    {{{&F::clientId, kMb.substr(2)}}, u"Client ID is too long: at most 65532 bytes in UTF-8 (the simulator adds -pc).", u"clientID 太长：最多 65532 字节（UTF-8，模拟器会加上 -pc）。"},
    {{{&F::domain, u16string(254, u'h')}, {&F::username, u"\u0001"}}, u"Domain is too long: at most 253 characters.", u"域名太长：最多 253 个字符。"},
    {{{&F::username, kMb + u"x"}}, u"Username is too long: at most 65535 bytes in UTF-8.", u"用户名太长：最多 65535 字节（UTF-8）。"},
    {{{&F::password, kZh}}, u"Password is too long: at most 65535 bytes in UTF-8.", u"密码太长：最多 65535 字节（UTF-8）。"},
    {{{&F::subTopic, kZh}}, u"Subscribe topic is too long: at most 65535 bytes in UTF-8.", u"订阅主题太长：最多 65535 字节（UTF-8）。"},
    {{{&F::pubTopic, kZh}}, u"Publish topic is too long: at most 65535 bytes in UTF-8.", u"发布主题太长：最多 65535 字节（UTF-8）。"},
    {{{&F::subTopic, u"a/#/b"}, {&F::pubTopic, u"+"}}, u"Subscribe topic is not a valid filter: # only as the whole last level, + only as a whole level.", u"订阅主题不是有效的过滤器：# 只能作为最后一整级，+ 只能作为一整级。"},
    {{{&F::pubTopic, u"a/#"}}, u"Publish topic must not contain + or #.", u"发布主题不能含有 + 或 #。"},
    {{{&F::clientId, u"\u0001"}, {&F::pubTopic, u"\r\n"}}, u"Publish topic is required.", u"发布主题不能为空。"},
    {{{&F::clientId, kMb.substr(3)}, {&F::domain, u16string(253, u'h')}, {&F::username, kMb}, {&F::subTopic, u""}, {&F::pubTopic, kMb}}, u"", u""}};
// Last id, clock: next test job id.
const tuple<std::uint32_t, std::int64_t, std::uint32_t> kJobIds[] = {{0, 0, 1}, {0, 4294967296, 1},
    {0, -2, 4294967295}, {41, 7, 42}, {4294967294u, 7, 4294967295u}, {4294967295u, 7, 1}};
// clang-format on

TEST(TaskRules, CodesHistoryAcknowledgementsAndTexts) {
  for (const auto& [code, texts] : kTaskCodes) {
    for (const string_view text : texts) {
      TaskIdHistory history;
      EXPECT_EQ(DecideTaskCode(ParsePrintTask(text), history), code) << text;
    }
  }
  TaskIdHistory history;
  for (const auto& [id, type, code] : kIdHistory) {
    const string task = "{\"id\":" + std::to_string(id) + ",\"type\":" + std::to_string(type);
    EXPECT_EQ(DecideTaskCode(ParsePrintTask(task + ",\"contents\":\"x\"}"), history), code) << task;
  }
  history.Clear();  // forgets 501, the last id accepted; its free slots match no 0
  for (const char* task :
       {R"({"id":501,"type":1,"contents":"x"})", R"({"id":0,"type":1,"contents":"x"})"})
    EXPECT_EQ(DecideTaskCode(ParsePrintTask(task), history), 0) << task;
  for (const auto& [c, ack, en, zh] : kCodeTexts) {
    EXPECT_EQ(tuple(AckCodeText(c), PrinterStatusText(c, false), PrinterStatusText(c, true)),
              tuple(ack, en, zh));
  }
  for (const auto& [name, id, code, ack] : kAcks) EXPECT_EQ(BuildPrintAckJson(name, id, code), ack);
  string quotes;
  for (int i = 0; i < 119; ++i) quotes += "\\\"";
  EXPECT_EQ(BuildPrintAckJson("x" + string(1000, '"'), 1, 0),
            "{\"devicename\":\"x" + quotes + "\\");
  for (const auto& [last, now, next] : kJobIds) {
    EXPECT_EQ(NextTestJobId(last, [now = now] { return now; }), next) << last << " " << now;
  }
}

TEST(ConnectRules, PlanFormOptionsAndReportTopic) {
  const string topic = "\xE6\x89\x93\xE5\x8D\xB0/\xE4\xBB\xBB\xE5\x8A\xA1";  // 打印/任务
  for (const SimulatorForm& form : {SimulatorForm{u" ", u"h", u"", u"", u"", u"s", u"p", 0, 0},
                                    SimulatorForm{u"P1", u" \t", u"", u"", u"", u"", u"", 0, 0}}) {
    const SimulatorConnectPlan p = PlanSimulatorConnect(form, true);
    EXPECT_EQ(
        tuple(p.ok, p.error.en, p.error.zh, p.notes.size()),
        tuple(false, u"Client ID and domain are required.", u"clientID 和域名不能为空。", 0u));
  }
  // The record, then the options the client gets from it: every text trimmed and in UTF-8.
  SimulatorConnectPlan plan = PlanSimulatorConnect(
      {u" P1 ", u" broker ", u"", u" user ", u" pw ", u"", u"\u3000打印/任务 ", 1, 1}, false);
  const SelfHostedConfig& c = plan.config;
  EXPECT_EQ(tuple(plan.ok, c.clientId, c.domain, c.username, c.password, c.subTopic, c.pubTopic,
                  c.port, c.tls, c.cleanSession, plan.notes.size()),
            tuple(true, u"P1-pc", u" broker ", u" user ", u" pw ", u"打印/任务", u"打印/任务", 1883,
                  1, 1, 4u));
  const MqttConnectOptions o = MqttConnectOptions::FromForm(c);
  EXPECT_EQ(std::vector({o.serverUri, o.clientId, o.username, o.password, o.subTopic, o.pubTopic}),
            std::vector<string>({"mqtts://broker:1883", "P1-pc", "user", "pw", topic, topic}));
  plan = PlanSimulatorConnect({u"P1", u"h", u" 99999999999x", u"", u"", u" s ", u"p", 0, 0}, true);
  EXPECT_EQ(tuple(plan.config.port, plan.config.subTopic), tuple(2147483647, u"s"));
  for (const auto& [s, p, u, t] : kReportTopics) EXPECT_EQ(ReportTopicToSubscribe(s, p, u), t);
  for (const auto& [tls, port, length, choice, cleansession, uri] : kUris) {
    const MqttConnectOptions o = MqttConnectOptions::FromForm(
        {u"c", u16string(length, u'h'), port, u"", u"", u"", u"", tls, choice});
    EXPECT_EQ(tuple(o.serverUri, o.cleansession), tuple(uri, cleansession)) << uri;
  }
}

// Refused, never cut (the URI is whole: kUris).
TEST(ConnectRules, ControlCharactersLimitsAndTopicsRefusedBeforeTheConnect) {
  for (const auto& [changes, en, zh] : kFormTexts) {
    SimulatorForm form{u"P1", u"h", u"", u"u", u"pw", u"jobs", u"reports", 0, 0};
    for (const auto& [field, text] : changes) form.*field = text;
    const SimulatorConnectPlan p = PlanSimulatorConnect(form, false);
    EXPECT_EQ(tuple(p.ok, p.error.en, p.error.zh), tuple(en.empty(), en, zh));
  }
  // Test jobs go to the job topic as read at the click.
  EXPECT_EQ(TestTopicProblem(u"a/#")->zh, u"测试任务发往订阅主题，而它含有 + 或 #：未发布。");
  EXPECT_EQ(TestTopicProblem(kMb + u"x")->en,
            u"Subscribe topic is too long: at most 65535 bytes in UTF-8.");
  EXPECT_FALSE(TestTopicProblem(kMb));
}

// Labels in order or the whole payload; values read loosely, empty ones as absent.
TEST(IncomingRules, AcknowledgementReportsAndPrinterInfo) {
  TaskIdHistory history;
  EXPECT_EQ(ProcessIncomingJob(R"({"id":1.5})", "P1", history).ack,
            R"({"devicename":"P1","id":0,"code":201})");
  const IncomingJob report = ProcessIncomingJob(R"({"devicename":"P1","code":0})", "P1", history);
  EXPECT_TRUE(report.uplinkReport && report.summary.empty() && report.ack.empty());
  for (const auto& [payload, isReport] : kReports) EXPECT_EQ(IsUplinkReport(payload), isReport);
  for (const auto& [payload, zh, line] : kPrinterInfo)
    EXPECT_EQ(FormatPrinterInfo(payload, zh), line);
  // Codes beyond 32 bits or at its edges: no status text, none wrapped onto a known one.
  for (const string n : {"4294967296", "-4294967296", "4294967505", "-2147483648", "-2147483649"}) {
    EXPECT_EQ(WideToUtf8(FormatPrinterInfo(R"({"code":)" + n + "}", false)),
              "Printer info  code=" + n);
  }
  for (const auto& [text, key, value] : kFields) EXPECT_EQ(ExtractJsonField(text, key), value);
}

}  // namespace
}  // namespace qm
