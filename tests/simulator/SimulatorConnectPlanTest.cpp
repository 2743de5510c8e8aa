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
  EXPECT_EQ(
      plan.notes,
      (std::vector<std::u16string>{
          u"Clean Session policy: sen=1 (Keep offline messages) -> MQTT cleansession=0",
          u"Simulator client ID: P1-pc (printer keeps P1)", u"Print jobs go to: ",
          u"Printer status is reported on the publish topic: pub/t. The subscribe topic  is where "
          u"the printer receives jobs, not where it reports status."}));
  form = {u"P1", u"h", u" 99999999999x", u"", u"", u" s ", u"p", 0, 0};
  plan = PlanSimulatorConnect(form, true);
  EXPECT_EQ(plan.config.port, 2147483647);
  EXPECT_EQ(plan.config.subTopic, u"s");
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
