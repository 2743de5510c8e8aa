// SPDX-License-Identifier: MIT
#include "config/ConfigRecords.h"

#include <gtest/gtest.h>

#include <functional>

#include "config/JsonEscape.h"
#include "config/PortField.h"

namespace qm {
namespace {

// Every field differs from its neighbours, so a value in the wrong place shows.
const AlibabaCloudConfig kAlibaba{u" a1Key ", u"dev01", u"s3cret", u"iot.example.com", 1883,
                                  u"get", u"update"};
const SelfHostedConfig kSelfHosted{u"SN123", u"broker.local", 8884, u"user", u" pw ",
                                   u"jobs/SN123", u"reports/SN123", 1, 0};
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
      {"\b", "\\b"}, {"\t", "\\t"}, {"\n", "\\n"},     {"\f", "\\f"},     {"\r", "\\r"},
      {"\"", "\\\""}, {"\\", "\\\\"}, {"/", "/"}, {"\x7F", "\x7F"}, {"\xFF", "\xFF"},
      {"\x01", "\\u0001"}, {"\x0B", "\\u000b"}, {"\x1F", "\\u001f"}};
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
      {u"k", std::u16string(u"\0n", 2), u"s", u"DeviceName encoding failed (UTF-8 conversion error)."},
  };
  for (const auto& c : cloud) {
    ExpectFailed(BuildType1Record({c.key, c.name, c.secret, u"u", 1, u"s", u"p"}, false), c.message);
    ExpectFailed(BuildType3Record({c.key, c.name, c.secret, 1, u"s", u"p"}), c.message);
  }
  using Change = void (*)(SelfHostedConfig&);
  const std::pair<Change, std::u16string> selfHosted[] = {
      {[](SelfHostedConfig& c) { c = SelfHostedConfig{}; }, u"Please enter ClientID / SN."},
      {[](SelfHostedConfig& c) { c.clientId = u" \u3000 "; }, u"Please enter ClientID / SN."},
      {[](SelfHostedConfig& c) { c.clientId = std::u16string(29, u'x') + u"\U0001F600"; c.domain.clear(); },
       u"SN / ClientID must be 30 characters or fewer."},
      {[](SelfHostedConfig& c) { c.domain = u" "; c.port = 0; }, u"Please enter domain or IP address."},
      {[](SelfHostedConfig& c) { c.port = 0; c.username.clear(); }, u"Please enter port."},
      {[](SelfHostedConfig& c) { c.port = -1; }, u"Please enter port."},
      {[](SelfHostedConfig& c) { c.username = u"\t"; c.password.clear(); }, u"Please enter username."},
      {[](SelfHostedConfig& c) { c.password = u"  "; c.subTopic.clear(); }, u"Please enter password."},
      {[](SelfHostedConfig& c) { c.subTopic = u"\n"; }, u"Please enter subscribe topic."},
      {[](SelfHostedConfig& c) { c.clientId = std::u16string(u"\0x", 2); },
       u"ClientID encoding failed (UTF-8 conversion error)."},
  };
  for (const auto& [change, message] : selfHosted) {
    SelfHostedConfig config = kSelfHosted;
    change(config);
    ExpectFailed(BuildType2Record(config), message);
  }
  // 30 UTF-16 units after trimming are accepted.
  for (const std::u16string& id : {u"  " + std::u16string(30, u'x') + u"\t", std::u16string(30, u'中'),
                                  std::u16string(28, u'x') + u"\U0001F600"}) {
    SelfHostedConfig c = kSelfHosted;
    c.clientId = id;
    EXPECT_TRUE(BuildType2Record(c).ok);
  }
}

// Grows one free-text field until the JSON has exactly the wanted length.
template <typename Config, typename Build>
RecordResult WithLength(Config config, std::u16string Config::*field, std::size_t length, Build build) {
  config.*field = u"";
  const std::size_t base = build(config).json.size();
  config.*field = std::u16string(length - base, u'p');
  return build(config);
}

TEST(Records, CapacityBoundaryOfEveryReserve) {
  const auto type1 = [](bool box) {
    return [box](std::size_t n) {
      return WithLength(kAlibaba, &AlibabaCloudConfig::url, n,
                        [box](const AlibabaCloudConfig& c) { return BuildType1Record(c, box); });
    };
  };
  const std::pair<std::size_t, std::function<RecordResult(std::size_t)>> cases[] = {
      {232, type1(false)},
      {239, type1(true)},
      {239, [](std::size_t n) { return WithLength(kSelfHosted, &SelfHostedConfig::pubTopic, n, BuildType2Record); }},
      {232, [](std::size_t n) { return WithLength(kTencent, &TencentCloudConfig::pubTopic, n, BuildType3Record); }},
  };
  for (const auto& [accepted, build] : cases) {
    const RecordResult fits = build(accepted);
    EXPECT_TRUE(fits.ok) << accepted;
    EXPECT_EQ(fits.json.size(), accepted);
    ExpectFailed(build(accepted + 1), u"Configuration exceeds device storage capacity.");
  }
}

TEST(ReadPortField, ReadsLeadingDecimalDigits) {
  const std::pair<std::u16string, int> cases[] = {
      {u" 8883 ", 8883},  {u"\t1883\u00A0", 1883}, {u"12ab", 12}, {u"abc", 0}, {u"", 0},
      {u"+7", 7},         {u"-1", -1},           {u"-", 0},     {u"--5", 0},  {u"007", 7},
      {u"1 2", 1},        {u"2147483648", 2147483647},      {u"-2147483649", -2147483647 - 1},
      {u"\uFF11", 0},  // a full-width digit is no decimal digit
  };
  for (const auto& [text, port] : cases) EXPECT_EQ(ReadPortField(text), port) << port;
}

}  // namespace
}  // namespace qm
