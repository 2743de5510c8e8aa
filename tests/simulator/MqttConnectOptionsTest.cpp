// SPDX-License-Identifier: MIT
#include "simulator/MqttConnectOptions.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(MqttConnectOptions, TrimsEveryTextAndConvertsToUtf8) {
  const MqttConnectOptions o = MqttConnectOptions::FromForm(
      {u"  SN123-pc\t", u" broker.local ", 1883, u" user ", u" pw ", u" 打印/任务 ",
       u"\u3000reports/SN123 ", 0, 0});
  EXPECT_EQ(o.serverUri, "mqtt://broker.local:1883");
  EXPECT_EQ(o.clientId, "SN123-pc");
  EXPECT_EQ(o.username, "user");
  EXPECT_EQ(o.password, "pw");
  EXPECT_EQ(o.subTopic, "\xE6\x89\x93\xE5\x8D\xB0/\xE4\xBB\xBB\xE5\x8A\xA1");
  EXPECT_EQ(o.pubTopic, "reports/SN123");
}

// The scheme follows the TLS choice and port 8883; the URI is cut at 255 bytes
// ("mqtt://" is 7 bytes, ":1883" 5: a host of 243 bytes just fits).
TEST(MqttConnectOptions, SchemeCutAndCleanSession) {
  struct Case {
    int tls, port;
    std::size_t hostLength;
    int cleanSessionChoice, cleansession;
    std::string uri;
  };
  const Case cases[] = {
      {0, 1883, 1, 0, 1, "mqtt://h:1883"},   {1, 1883, 1, 1, 0, "mqtts://h:1883"},
      {0, 8883, 1, 2, 0, "mqtts://h:8883"},  {0, 8884, 1, -1, 0, "mqtt://h:8884"},
      {2, 0, 1, 0, 1, "mqtts://h:0"},        {0, -1, 1, 0, 1, "mqtt://h:-1"},
      {0, 1883, 243, 0, 1, "mqtt://" + std::string(243, 'h') + ":1883"},
      {0, 1883, 244, 0, 1, "mqtt://" + std::string(244, 'h') + ":188"},
      {0, 1883, 300, 0, 1, "mqtt://" + std::string(248, 'h')},
  };
  for (const Case& c : cases) {
    const MqttConnectOptions o = MqttConnectOptions::FromForm({u"c", std::u16string(c.hostLength, u'h'),
        c.port, u"", u"", u"", u"", c.tls, c.cleanSessionChoice});
    EXPECT_EQ(o.serverUri, c.uri) << c.tls << " " << c.port << " " << c.hostLength;
    EXPECT_EQ(o.cleansession, c.cleansession) << c.cleanSessionChoice;
  }
}

}  // namespace
}  // namespace qm
