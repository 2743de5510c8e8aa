// SPDX-License-Identifier: MIT
#include "simulator/MqttConnectOptions.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

SelfHostedConfig Form() {
  SelfHostedConfig form;
  form.clientId = u"  SN123-pc\t";
  form.domain = u" broker.local ";
  form.port = 1883;
  form.username = u" user ";
  form.password = u" pw ";
  form.subTopic = u" jobs/SN123 ";
  form.pubTopic = u"\u3000reports/SN123 ";
  return form;
}

TEST(MqttConnectOptions, TrimsEveryTextAndConvertsToUtf8) {
  SelfHostedConfig form = Form();
  form.subTopic = u" 打印/任务 ";
  const MqttConnectOptions o = MqttConnectOptions::FromForm(form);
  EXPECT_EQ(o.serverUri, "mqtt://broker.local:1883");
  EXPECT_EQ(o.clientId, "SN123-pc");
  EXPECT_EQ(o.username, "user");
  EXPECT_EQ(o.password, "pw");
  EXPECT_EQ(o.subTopic, "\xE6\x89\x93\xE5\x8D\xB0/\xE4\xBB\xBB\xE5\x8A\xA1");
  EXPECT_EQ(o.pubTopic, "reports/SN123");
}

TEST(MqttConnectOptions, SchemeFollowsTheTlsChoiceAndPort8883) {
  struct Case {
    int tls;
    int port;
    const char* uri;
  };
  const Case cases[] = {
      {0, 1883, "mqtt://broker.local:1883"},  {1, 1883, "mqtts://broker.local:1883"},
      {0, 8883, "mqtts://broker.local:8883"}, {0, 8884, "mqtt://broker.local:8884"},
      {2, 0, "mqtts://broker.local:0"},       {0, -1, "mqtt://broker.local:-1"},
  };
  for (const Case& c : cases) {
    SelfHostedConfig form = Form();
    form.tls = c.tls;
    form.port = c.port;
    EXPECT_EQ(MqttConnectOptions::FromForm(form).serverUri, c.uri) << c.tls << " " << c.port;
  }
}

TEST(MqttConnectOptions, CleanSessionChoiceZeroMeansCleanSession) {
  const std::pair<int, int> cases[] = {{0, 1}, {1, 0}, {2, 0}, {-1, 0}};
  for (const auto& [choice, flag] : cases) {
    SelfHostedConfig form = Form();
    form.cleanSession = choice;
    EXPECT_EQ(MqttConnectOptions::FromForm(form).cleansession, flag) << choice;
  }
}

TEST(MqttConnectOptions, UriIsCutAt255Bytes) {
  struct Case {
    std::size_t hostLength;
    std::string expected;
  };
  // "mqtt://" is 7 bytes, ":1883" 5: a host of 243 bytes just fits.
  const Case cases[] = {
      {243, "mqtt://" + std::string(243, 'h') + ":1883"},
      {244, "mqtt://" + std::string(244, 'h') + ":188"},
      {300, "mqtt://" + std::string(248, 'h')},
  };
  for (const Case& c : cases) {
    SelfHostedConfig form = Form();
    form.domain = std::u16string(c.hostLength, u'h');
    const std::string uri = MqttConnectOptions::FromForm(form).serverUri;
    EXPECT_EQ(uri, c.expected) << c.hostLength;
    EXPECT_LE(uri.size(), 255u);
  }
}

}  // namespace
}  // namespace qm
