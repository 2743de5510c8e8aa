// SPDX-License-Identifier: MIT
#include "config/ConfigRecords.h"

#include <gtest/gtest.h>

#include "config/JsonEscape.h"
#include "config/PortField.h"

namespace qm {
namespace {

// Every field differs from its neighbours, so a value in the wrong place shows.
const AlibabaCloudConfig kAlibaba{u" a1Key ", u"dev01", u"s3cret", u"iot.example.com",
                                  1883,       u"get",   u"update"};
const SelfHostedConfig kSelfHosted{u"SN123",      u"broker.local",  8884, u"user", u" pw ",
                                   u"jobs/SN123", u"reports/SN123", 1,    0};
const TencentCloudConfig kTencent{u"PK", u"dev", u"sec", 8883, u"PK/dev/data", u"PK/dev/event"};

void ExpectFailed(const RecordResult& r, const std::u16string& message) {
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.json.empty());
  EXPECT_TRUE(r.idUtf8.empty());
  EXPECT_EQ(r.error, message);
}

TEST(Records, ExactBytesOfEveryType) {
  SelfHostedConfig keep = kSelfHosted;
  keep.tls = 0;
  keep.cleanSession = 1;
  keep.port = ReadPortField(u"99999");  // no upper bound
  keep.pubTopic.clear();
  AlibabaCloudConfig bare = kAlibaba;
  bare.url.clear();
  bare.subTopic = u"   ";
  bare.pubTopic.clear();
  bare.port = ReadPortField(u"abc");
  struct Case {
    RecordResult r;
    std::string json;
    std::string id;
  };
  const Case cases[] = {
      {BuildType1Record(kAlibaba, false),
       R"({"Key":"a1Key","SN":"dev01","Pass":"s3cret","Url":"iot.example.com","Port":1883,)"
       R"("SUB":"user/get","PUB":"user/update","Type":1})",
       "dev01"},
      {BuildType1Record(bare, true),
       R"({"Key":"a1Key","SN":"dev01","Pass":"s3cret","Url":"","Port":0,)"
       R"("SUB":"user/","PUB":"user/","Type":1})",
       "dev01"},
      {BuildType2Record(kSelfHosted),
       R"({"Key":"user","SN":"SN123","Pass":"pw","Url":"broker.local","Port":8884,)"
       R"("SUB":"jobs/SN123","PUB":"reports/SN123","Type":2,"tls":1,"sen":0})",
       "SN123"},
      {BuildType2Record(keep),
       R"({"Key":"user","SN":"SN123","Pass":"pw","Url":"broker.local","Port":99999,)"
       R"("SUB":"jobs/SN123","PUB":"","Type":2,"tls":0,"sen":1})",
       "SN123"},
      {BuildType3Record(kTencent),
       R"({"Key":"PK","SN":"dev","Pass":"sec","Url":" ","Port":8883,)"
       R"("SUB":"PK/dev/data","PUB":"PK/dev/event","Type":3})",
       "dev"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(c.r.ok) << c.json;
    EXPECT_EQ(c.r.json, c.json);
    EXPECT_EQ(c.r.idUtf8, c.id);
    EXPECT_TRUE(c.r.error.empty());
  }
}

TEST(Records, EscapeEveryValueAndKeepChineseBytes) {
  SelfHostedConfig c = kSelfHosted;
  c.username = u" a\tb ";
  c.password = u"\u0001\"";
  c.domain = u"中文.example/x";
  EXPECT_EQ(BuildType2Record(c).json,
            "{\"Key\":\"a\\tb\",\"SN\":\"SN123\",\"Pass\":\"\\u0001\\\"\",\"Url\":\""
            "\xE4\xB8\xAD\xE6\x96\x87.example/x\",\"Port\":8884,\"SUB\":\"jobs/SN123\","
            "\"PUB\":\"reports/SN123\",\"Type\":2,\"tls\":1,\"sen\":0}");
  std::vector<std::pair<std::string, std::string>> bytes = {
      {"\b", "\\b"},      {"\t", "\\t"},    {"\n", "\\n"},       {"\f", "\\f"},
      {"\r", "\\r"},      {"\"", "\\\""},   {"\\", "\\\\"},      {"/", "/"},
      {"\x7F", "\x7F"},   {"\xFF", "\xFF"}, {"\x01", "\\u0001"}, {"\x0B", "\\u000b"},
      {"\x1F", "\\u001f"}};
  for (const auto& [in, out] : bytes) EXPECT_EQ(EscapeJsonString(in), out) << int(in[0]);
}

TEST(Records, ValidationInOrder) {
  struct Case {
    std::u16string key, name, secret, message;
  };
  const Case cloud[] = {
      {u"", u"", u"", u"Please enter ProductKey."},
      {u" \t", u"n", u"s", u"Please enter ProductKey."},
      {u"k", u"\u00A0", u"", u"Please enter DeviceName."},
      {u"k", u"n", u" ", u"Please enter DeviceSecret."},
      {u"k", std::u16string(u"\0n", 2), u"s",
       u"DeviceName encoding failed (UTF-8 conversion error)."},
  };
  for (const auto& c : cloud) {
    ExpectFailed(BuildType1Record({c.key, c.name, c.secret, u"u", 1, u"s", u"p"}, false),
                 c.message);
    ExpectFailed(BuildType3Record({c.key, c.name, c.secret, 1, u"s", u"p"}), c.message);
  }
  // Self-hosted fields are checked in order: each step fills the one before.
  SelfHostedConfig c{};
  const auto fails = [&](const std::u16string& message) {
    ExpectFailed(BuildType2Record(c), message);
  };
  fails(u"Please enter ClientID / SN.");
  c.clientId = u" \u3000 ";
  fails(u"Please enter ClientID / SN.");
  c.clientId = std::u16string(29, u'x') + u"\U0001F600";
  fails(u"SN / ClientID must be 30 characters or fewer.");
  c.clientId = u"  " + std::u16string(30, u'x') + u"\t";  // 30 units after trimming fit
  c.domain = u" ";
  fails(u"Please enter domain or IP address.");
  c.domain = u"d";
  c.port = 0;
  fails(u"Please enter port.");
  c.port = -1;
  fails(u"Please enter port.");
  c.port = 1;
  c.username = u"\t";
  fails(u"Please enter username.");
  c.username = u"u";
  c.password = u"  ";
  fails(u"Please enter password.");
  c.password = u"p";
  c.subTopic = u"\n";
  fails(u"Please enter subscribe topic.");
  c.subTopic = u"s";
  const std::u16string trimmed30 = c.clientId;
  c.clientId = std::u16string(u"\0x", 2);  // checked once everything is there
  fails(u"ClientID encoding failed (UTF-8 conversion error).");
  for (const std::u16string& id :
       {trimmed30, std::u16string(30, u'中'), std::u16string(28, u'x') + u"\U0001F600"}) {
    c.clientId = id;
    EXPECT_TRUE(BuildType2Record(c).ok);
  }
}

// Grows one free-text field until the JSON has exactly `accepted` bytes, then one more.
template <typename Config, typename Build>
void ExpectCapacity(std::size_t accepted, Config config, std::u16string Config::*field,
                    Build build) {
  config.*field = u"";
  config.*field = std::u16string(accepted - build(config).json.size(), u'p');
  const RecordResult fits = build(config);
  EXPECT_TRUE(fits.ok) << accepted;
  EXPECT_EQ(fits.json.size(), accepted);
  config.*field += u"p";
  ExpectFailed(build(config), u"Configuration exceeds device storage capacity.");
}

TEST(Records, CapacityBoundaryOfEveryReserve) {
  const auto boxed = [](bool box) {
    return [box](const AlibabaCloudConfig& c) { return BuildType1Record(c, box); };
  };
  ExpectCapacity(232, kAlibaba, &AlibabaCloudConfig::url, boxed(false));
  ExpectCapacity(239, kAlibaba, &AlibabaCloudConfig::url, boxed(true));
  ExpectCapacity(239, kSelfHosted, &SelfHostedConfig::pubTopic, BuildType2Record);
  ExpectCapacity(232, kTencent, &TencentCloudConfig::pubTopic, BuildType3Record);
}

TEST(ReadPortField, ReadsLeadingDecimalDigits) {
  // A full-width digit is no decimal digit.
  const std::pair<std::u16string, int> cases[] = {{u" 8883 ", 8883},
                                                  {u"\t1883\u00A0", 1883},
                                                  {u"12ab", 12},
                                                  {u"abc", 0},
                                                  {u"", 0},
                                                  {u"+7", 7},
                                                  {u"-1", -1},
                                                  {u"-", 0},
                                                  {u"--5", 0},
                                                  {u"007", 7},
                                                  {u"1 2", 1},
                                                  {u"2147483648", 2147483647},
                                                  {u"-2147483649", -2147483648LL},
                                                  {u"\uFF11", 0}};
  for (const auto& [text, port] : cases) EXPECT_EQ(ReadPortField(text), port) << port;
}

}  // namespace
}  // namespace qm
