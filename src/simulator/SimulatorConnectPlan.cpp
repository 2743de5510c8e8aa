// SPDX-License-Identifier: MIT
#include "simulator/SimulatorConnectPlan.h"

#include "config/PortField.h"
#include "config/TopicRules.h"
#include "text/DecimalText.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

constexpr TextPair kIdAndDomainRequired{u"Client ID and domain are required.",
                                        u"clientID 和域名不能为空。"};
constexpr TextPair kPublishTopicRequired{u"Publish topic is required.", u"发布主题不能为空。"};
constexpr int kDefaultPort = 1883;

// The longest string MQTT carries, and the longest host name DNS has.
constexpr std::size_t kMqttStringBytes = 65535;
constexpr std::size_t kHostUnits = 253;
constexpr std::u16string_view kIdSuffix = u"-pc";

constexpr TextPair kSubscribeTopicTooLong{
    u"Subscribe topic is too long: at most 65535 bytes in UTF-8.",
    u"订阅主题太长：最多 65535 字节（UTF-8）。"};
constexpr TextPair kTestTopicWildcard{
    u"Test jobs go to the subscribe topic, which holds + or #: nothing was published.",
    u"测试任务发往订阅主题，而它含有 + 或 #：未发布。"};

// One text of the form as the connect sends it: it may hold no control
// character, and it must fit its limit (UTF-8 bytes, or for the host UTF-16
// units). A longer text is refused, never cut.
struct FormText {
  std::u16string text;  // trimmed
  TextPair control;
  TextPair tooLong;
  std::size_t limit = kMqttStringBytes;
  bool countsBytes = true;
};

std::vector<FormText> FormTexts(const SimulatorForm& form) {
  return {
      {TrimWhitespace(form.clientId),
       {u"Client ID contains a control character.", u"clientID 含有控制字符。"},
       {u"Client ID is too long: at most 65532 bytes in UTF-8 (the simulator adds -pc).",
        u"clientID 太长：最多 65532 字节（UTF-8，模拟器会加上 -pc）。"},
       kMqttStringBytes - kIdSuffix.size()},
      {TrimWhitespace(form.domain),
       {u"Domain contains a control character.", u"域名含有控制字符。"},
       {u"Domain is too long: at most 253 characters.", u"域名太长：最多 253 个字符。"},
       kHostUnits,
       false},
      {TrimWhitespace(form.username),
       {u"Username contains a control character.", u"用户名含有控制字符。"},
       {u"Username is too long: at most 65535 bytes in UTF-8.",
        u"用户名太长：最多 65535 字节（UTF-8）。"}},
      {TrimWhitespace(form.password),
       {u"Password contains a control character.", u"密码含有控制字符。"},
       {u"Password is too long: at most 65535 bytes in UTF-8.",
        u"密码太长：最多 65535 字节（UTF-8）。"}},
      {TrimWhitespace(form.subTopic),
       {u"Subscribe topic contains a control character.", u"订阅主题含有控制字符。"},
       kSubscribeTopicTooLong},
      {TrimWhitespace(form.pubTopic),
       {u"Publish topic contains a control character.", u"发布主题含有控制字符。"},
       {u"Publish topic is too long: at most 65535 bytes in UTF-8.",
        u"发布主题太长：最多 65535 字节（UTF-8）。"}},
  };
}

// The first text, in the form's order, with a control character or over its
// limit.
std::optional<TextPair> FormTextProblem(const SimulatorForm& form) {
  for (const FormText& field : FormTexts(form)) {
    if (HoldsControlCharacter(field.text)) return field.control;
    const std::size_t size = field.countsBytes ? WideToUtf8(field.text).size() : field.text.size();
    if (size > field.limit) return field.tooLong;
  }
  return std::nullopt;
}

std::u16string CleanSessionNote(int cleanSession) {
  const bool clear = cleanSession == 0;
  return u"Clean Session policy: sen=" + DecimalText(cleanSession) + u" (" +
         (clear ? u"Clear offline messages" : u"Keep offline messages") +
         u") -> MQTT cleansession=" + (clear ? u"1" : u"0");
}

std::vector<std::u16string> TopicNotes(const std::u16string& id, const std::u16string& sub,
                                       const std::u16string& pub, bool chinese) {
  if (chinese) {
    return {u"模拟器客户端号：" + id + u"-pc（不会占用打印机的 " + id + u"）",
            u"打印任务发到：" + sub,
            u"打印机状态从发布主题上报：" + pub + u"。订阅主题 " + sub +
                u" 是打印机接收任务的主题，不会在这里回状态。"};
  }
  return {u"Simulator client ID: " + id + u"-pc (printer keeps " + id + u")",
          u"Print jobs go to: " + sub,
          u"Printer status is reported on the publish topic: " + pub + u". The subscribe topic " +
              sub + u" is where the printer receives jobs, not where it reports status."};
}

}  // namespace

SimulatorConnectPlan PlanSimulatorConnect(const SimulatorForm& form, bool chinese) {
  const std::u16string id = TrimWhitespace(form.clientId);
  const std::u16string sub = TrimWhitespace(form.subTopic);
  const std::u16string pub = TrimWhitespace(form.pubTopic);
  SimulatorConnectPlan plan;
  SelfHostedConfig& config = plan.config;
  config.clientId = id + std::u16string(kIdSuffix);
  config.domain = form.domain;
  config.port = TrimWhitespace(form.port).empty() ? kDefaultPort : ReadPortField(form.port);
  config.username = form.username;
  config.password = form.password;
  config.subTopic = sub.empty() ? pub : sub;
  config.pubTopic = pub;
  config.tls = form.tls;
  config.cleanSession = form.cleanSession;
  if (id.empty() || TrimWhitespace(form.domain).empty()) {
    plan.error = kIdAndDomainRequired;
    return plan;
  }
  if (pub.empty()) {
    plan.error = kPublishTopicRequired;
    return plan;
  }
  std::optional<TextPair> problem = FormTextProblem(form);
  if (!problem) problem = TopicsProblem(sub, pub);
  if (problem) {
    plan.error = *problem;
    return plan;
  }
  plan.ok = true;
  plan.notes = TopicNotes(id, sub, pub, chinese);
  plan.notes.insert(plan.notes.begin(), CleanSessionNote(form.cleanSession));
  return plan;
}

std::optional<TextPair> TestTopicProblem(const std::u16string& topic) {
  if (!IsTopicName(topic)) return kTestTopicWildcard;
  if (WideToUtf8(topic).size() > kMqttStringBytes) return kSubscribeTopicTooLong;
  return std::nullopt;
}

std::u16string ReportTopicToSubscribe(const std::u16string& statusText,
                                      const std::u16string& pubTopic,
                                      const std::u16string& subTopic) {
  if (statusText != u"Connected.") return {};
  const std::u16string pub = TrimWhitespace(pubTopic);
  return pub != TrimWhitespace(subTopic) ? pub : std::u16string();
}

}  // namespace qm
