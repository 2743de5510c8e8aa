// SPDX-License-Identifier: MIT
#include "simulator/SimulatorConnectPlan.h"

#include <gtest/gtest.h>

#include "text/TextHelpers.h"

namespace qm {
namespace {

SimulatorForm Form(std::u16string id, std::u16string domain, std::u16string sub,
                   std::u16string pub) {
  return {id, domain, u"", u" user ", u" pw ", sub, pub, 1, 0};
}

TEST(PlanSimulatorConnect, ChecksInOrder) {
  const std::pair<SimulatorForm, std::u16string_view> cases[] = {
      {Form(u" ", u"h", u"s", u"p"), u"Client ID and domain are required."},
      {Form(u"P1", u" \t", u"", u""), u"Client ID and domain are required."},
      {Form(u"P1", u"h", u"s", u" "), u"Publish topic is required."},
  };
  for (const auto& [form, error] : cases) {
    const SimulatorConnectPlan plan = PlanSimulatorConnect(form, true);
    EXPECT_FALSE(plan.ok);
    EXPECT_EQ(plan.error.en, error);
    EXPECT_TRUE(plan.notes.empty());
  }
  EXPECT_EQ(PlanSimulatorConnect(Form(u"", u"h", u"", u""), false).error.zh,
            u"clientID 和域名不能为空。");
  EXPECT_EQ(PlanSimulatorConnect(Form(u"P1", u"h", u"", u""), false).error.zh,
            u"发布主题不能为空。");
}

TEST(PlanSimulatorConnect, RecordAndNotes) {
  SimulatorForm form = Form(u" P1 ", u" broker ", u"", u" pub/t ");
  form.cleanSession = 1;
  SimulatorConnectPlan plan = PlanSimulatorConnect(form, false);
  ASSERT_TRUE(plan.ok);
  const SelfHostedConfig& c = plan.config;
  EXPECT_EQ(c.clientId + u"|" + c.domain + u"|" + c.username + u"|" + c.password + u"|" +
                c.subTopic + u"|" + c.pubTopic,
            u"P1-pc| broker | user | pw |pub/t|pub/t");
  EXPECT_EQ(c.port, 1883);
  EXPECT_EQ(c.tls, 1);
  EXPECT_EQ(c.cleanSession, 1);
  EXPECT_EQ(plan.notes, (std::vector<std::u16string>{
      u"Clean Session policy: sen=1 (Keep offline messages) -> MQTT cleansession=0",
      u"Simulator client ID: P1-pc (printer keeps P1)", u"Print jobs go to: ",
      u"Printer status is reported on the publish topic: pub/t. The subscribe topic  is where "
      u"the printer receives jobs, not where it reports status."}));
  form = {u"P1", u"h", u" 99999999999x", u"", u"", u" s ", u"p", 0, 0};
  plan = PlanSimulatorConnect(form, true);
  EXPECT_EQ(plan.config.port, 2147483647);
  EXPECT_EQ(plan.config.subTopic, u"s");
  EXPECT_EQ(plan.notes, (std::vector<std::u16string>{
      u"Clean Session policy: sen=0 (Clear offline messages) -> MQTT cleansession=1",
      u"模拟器客户端号：P1-pc（不会占用打印机的 P1）", u"打印任务发到：s",
      u"打印机状态从发布主题上报：p。订阅主题 s 是打印机接收任务的主题，不会在这里回状态。"}));
}

TEST(ReportTopicToSubscribe, OnlyOnConnectedWithADifferentTopic) {
  EXPECT_EQ(ReportTopicToSubscribe(u"Connected.", u" p ", u"s"), u"p");
  EXPECT_EQ(ReportTopicToSubscribe(u"Connected.", u" p ", u"p "), u"");
  EXPECT_EQ(ReportTopicToSubscribe(u"Connected.", u" P ", u"p"), u"P");
  EXPECT_EQ(ReportTopicToSubscribe(u"Connected.", u" ", u"s"), u"");
  EXPECT_EQ(ReportTopicToSubscribe(u"Subscribed: s", u"p", u"s"), u"");
}

}  // namespace
}  // namespace qm
