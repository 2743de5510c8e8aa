// SPDX-License-Identifier: MIT
#include "simulator/SimulatorConnectPlan.h"

#include "config/PortField.h"
#include "text/DecimalText.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

constexpr TextPair kIdAndDomainRequired{u"Client ID and domain are required.",
                                        u"clientID 和域名不能为空。"};
constexpr TextPair kPublishTopicRequired{u"Publish topic is required.", u"发布主题不能为空。"};
constexpr int kDefaultPort = 1883;

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
  config.clientId = id + u"-pc";
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
  plan.ok = true;
  plan.notes = TopicNotes(id, sub, pub, chinese);
  plan.notes.insert(plan.notes.begin(), CleanSessionNote(form.cleanSession));
  return plan;
}

std::u16string ReportTopicToSubscribe(const std::u16string& statusText,
                                      const std::u16string& pubTopic,
                                      const std::u16string& subTopic) {
  if (statusText != u"Connected.") return {};
  const std::u16string pub = TrimWhitespace(pubTopic);
  return pub != TrimWhitespace(subTopic) ? pub : std::u16string();
}

}  // namespace qm
