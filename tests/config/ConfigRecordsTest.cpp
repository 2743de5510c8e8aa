// SPDX-License-Identifier: MIT
#include "config/ConfigRecords.h"

#include <gtest/gtest.h>

#include "config/PortField.h"

namespace qm {
namespace {

const AlibabaCloudConfig kAlibaba{.productKey = u" a1Key ", .deviceName = u"dev01", .deviceSecret = u"s3cret",
                                  .url = u"iot.example.com", .port = 1883, .subTopic = u"get",
                                  .pubTopic = u"update"};
const SelfHostedConfig kSelfHosted{.clientId = u"SN123", .domain = u"broker.local", .port = 1883,
                                   .username = u"user", .password = u" pw ", .subTopic = u"jobs/SN123",
                                   .pubTopic = u"reports/SN123", .tls = 0, .cleanSession = 0};
const TencentCloudConfig kTencent{.productKey = u"PK", .deviceName = u"dev", .deviceSecret = u"sec",
                                  .port = 8883, .subTopic = u"PK/dev/data", .pubTopic = u"PK/dev/event"};

void ExpectFailed(const RecordResult& r, const std::u16string& message) {
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.json.empty());
  EXPECT_TRUE(r.idUtf8.empty());
  EXPECT_EQ(r.error, message);
}

TEST(BuildType1Record, WritesTheExactRecord) {
  const RecordResult r = BuildType1Record(kAlibaba, false);
  ASSERT_TRUE(r.ok) << std::string(r.error.begin(), r.error.end());
  EXPECT_EQ(r.json,
            R"({"Key":"a1Key","SN":"dev01","Pass":"s3cret","Url":"iot.example.com",)"
            R"("Port":1883,"SUB":"user/get","PUB":"user/update","Type":1})");
  EXPECT_EQ(r.idUtf8, "dev01");
  EXPECT_TRUE(r.error.empty());
}

TEST(BuildType1Record, EmptyTopicsAndOddPortsAreWrittenAsTheyAre) {
  const std::pair<std::u16string, std::string> ports[] = {
      {u"", "0"}, {u"0", "0"}, {u"-1", "-1"}, {u"abc", "0"}, {u"99999", "99999"}};
  for (const auto& [text, written] : ports) {
    AlibabaCloudConfig c = kAlibaba;
    c.url.clear();
    c.subTopic = u"   ";
    c.pubTopic.clear();
    c.port = ReadPortField(text);
    const RecordResult r = BuildType1Record(c, true);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.json, R"({"Key":"a1Key","SN":"dev01","Pass":"s3cret","Url":"","Port":)" + written +
                          R"(,"SUB":"user/","PUB":"user/","Type":1})");
  }
}

TEST(BuildType2Record, WritesTheExactRecordWithChoices) {
  SelfHostedConfig c = kSelfHosted;
  RecordResult r = BuildType2Record(c);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.json,
            R"({"Key":"user","SN":"SN123","Pass":"pw","Url":"broker.local","Port":1883,)"
            R"("SUB":"jobs/SN123","PUB":"reports/SN123","Type":2,"tls":0,"sen":0})");
  EXPECT_EQ(r.idUtf8, "SN123");
  // The port has no upper bound.
  c.tls = 1;
  c.cleanSession = 1;
  c.pubTopic.clear();
  c.port = ReadPortField(u"99999");
  r = BuildType2Record(c);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.json,
            R"({"Key":"user","SN":"SN123","Pass":"pw","Url":"broker.local","Port":99999,)"
            R"("SUB":"jobs/SN123","PUB":"","Type":2,"tls":1,"sen":1})");
}

TEST(BuildType3Record, WritesOneBlankUrlAndBareTopics) {
  const RecordResult r = BuildType3Record(kTencent);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.json,
            R"({"Key":"PK","SN":"dev","Pass":"sec","Url":" ","Port":8883,)"
            R"("SUB":"PK/dev/data","PUB":"PK/dev/event","Type":3})");
  EXPECT_EQ(r.idUtf8, "dev");
}

TEST(CloudRecords, ValidateKeysInOrder) {
  struct Case {
    std::u16string key, name, secret, message;
  };
  const Case cases[] = {
      {u"", u"", u"", u"Please enter ProductKey."},
      {u" \t", u"n", u"s", u"Please enter ProductKey."},
      {u"k", u"", u"", u"Please enter DeviceName."},
      {u"k", u"\u00A0", u"s", u"Please enter DeviceName."},
      {u"k", u"n", u" ", u"Please enter DeviceSecret."},
      {u"k", std::u16string(u"\0n", 2), u"s",
       u"DeviceName encoding failed (UTF-8 conversion error)."},
  };
  for (const auto& c : cases) {
    AlibabaCloudConfig a = kAlibaba;
    a.productKey = c.key;
    a.deviceName = c.name;
    a.deviceSecret = c.secret;
    ExpectFailed(BuildType1Record(a, false), c.message);
    TencentCloudConfig t = kTencent;
    t.productKey = c.key;
    t.deviceName = c.name;
    t.deviceSecret = c.secret;
    ExpectFailed(BuildType3Record(t), c.message);
  }
}

TEST(BuildType2Record, ValidatesInOrder) {
  struct Case {
    void (*change)(SelfHostedConfig&);
    std::u16string message;
  };
  const Case cases[] = {
      {[](SelfHostedConfig& c) { c = SelfHostedConfig{}; }, u"Please enter ClientID / SN."},
      {[](SelfHostedConfig& c) { c.clientId = u" \u3000 "; }, u"Please enter ClientID / SN."},
      {[](SelfHostedConfig& c) { c.clientId = std::u16string(31, u'x'); },
       u"SN / ClientID must be 30 characters or fewer."},
      {[](SelfHostedConfig& c) { c.clientId = std::u16string(29, u'x') + u"\U0001F600"; },
       u"SN / ClientID must be 30 characters or fewer."},
      {[](SelfHostedConfig& c) { c.clientId = std::u16string(31, u'x'); c.domain.clear(); },
       u"SN / ClientID must be 30 characters or fewer."},
      {[](SelfHostedConfig& c) { c.domain = u" "; c.port = 0; }, u"Please enter domain or IP address."},
      {[](SelfHostedConfig& c) { c.port = 0; c.username.clear(); }, u"Please enter port."},
      {[](SelfHostedConfig& c) { c.port = -1; }, u"Please enter port."},
      {[](SelfHostedConfig& c) { c.port = -2147483647 - 1; }, u"Please enter port."},
      {[](SelfHostedConfig& c) { c.username = u"\t"; c.password.clear(); }, u"Please enter username."},
      {[](SelfHostedConfig& c) { c.password = u"  "; c.subTopic.clear(); }, u"Please enter password."},
      {[](SelfHostedConfig& c) { c.subTopic = u"\n"; }, u"Please enter subscribe topic."},
      {[](SelfHostedConfig& c) { c.clientId = std::u16string(u"\0x", 2); },
       u"ClientID encoding failed (UTF-8 conversion error)."},
  };
  for (const auto& c : cases) {
    SelfHostedConfig config = kSelfHosted;
    c.change(config);
    ExpectFailed(BuildType2Record(config), c.message);
  }
}

TEST(BuildType2Record, ClientIdLengthCountsUtf16UnitsAfterTrimming) {
  const std::u16string accepted[] = {
      std::u16string(30, u'x'),
      u"  " + std::u16string(30, u'x') + u"\t",
      std::u16string(28, u'x') + u"\U0001F600",
      std::u16string(30, u'中'),
  };
  for (const auto& id : accepted) {
    SelfHostedConfig c = kSelfHosted;
    c.clientId = id;
    const RecordResult r = BuildType2Record(c);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.idUtf8.find(' '), std::string::npos);
  }
}

// Grows one free-text field until the JSON has exactly the wanted length.
template <typename Config, typename Build>
RecordResult BuildWithLength(Config config, std::u16string Config::*field, std::size_t length,
                             Build build) {
  config.*field = u"";
  const std::size_t base = build(config).json.size();
  EXPECT_LE(base, length);
  config.*field = std::u16string(length - base, u'p');
  return build(config);
}

TEST(CheckStorageCapacity, BoundariesOfEveryReserve) {
  struct Case {
    const char* what;
    std::size_t accepted;
    RecordResult (*build)(std::size_t);
  };
  const Case cases[] = {
      {"type 1 printer", 232,
       [](std::size_t n) {
         return BuildWithLength(kAlibaba, &AlibabaCloudConfig::url, n,
                                [](const AlibabaCloudConfig& c) { return BuildType1Record(c, false); });
       }},
      {"type 1 box", 239,
       [](std::size_t n) {
         return BuildWithLength(kAlibaba, &AlibabaCloudConfig::url, n,
                                [](const AlibabaCloudConfig& c) { return BuildType1Record(c, true); });
       }},
      {"type 2", 239,
       [](std::size_t n) {
         return BuildWithLength(kSelfHosted, &SelfHostedConfig::pubTopic, n, BuildType2Record);
       }},
      {"type 3", 232,
       [](std::size_t n) {
         return BuildWithLength(kTencent, &TencentCloudConfig::pubTopic, n, BuildType3Record);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const RecordResult fits = c.build(c.accepted);
    EXPECT_TRUE(fits.ok);
    EXPECT_EQ(fits.json.size(), c.accepted);
    ExpectFailed(c.build(c.accepted + 1), u"Configuration exceeds device storage capacity.");
  }
}

TEST(CheckStorageCapacity, PassesFailuresAndMeasuresJsonOnly) {
  ExpectFailed(CheckStorageCapacity(RecordResult::Failure(u"x"), 17), u"x");
  RecordResult candidate;
  candidate.ok = true;
  candidate.json = std::string(239, 'j');
  candidate.idUtf8 = std::string(239, 'i');
  const RecordResult r = CheckStorageCapacity(candidate, 10);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.idUtf8.size(), 239u);
  candidate.json.clear();
  EXPECT_TRUE(CheckStorageCapacity(candidate, 249).ok);
  ExpectFailed(CheckStorageCapacity(candidate, 250), u"Configuration exceeds device storage capacity.");
}

TEST(RecordResult, MovedFromIsEmpty) {
  RecordResult r = BuildType3Record(kTencent);
  RecordResult moved = std::move(r);
  EXPECT_TRUE(moved.ok);
  EXPECT_FALSE(r.ok);  // NOLINT(bugprone-use-after-move)
  EXPECT_TRUE(r.json.empty());
  EXPECT_TRUE(r.idUtf8.empty());
  RecordResult failed = RecordResult::Failure(u"m");
  RecordResult target;
  target = std::move(failed);
  EXPECT_EQ(target.error, u"m");
  EXPECT_TRUE(failed.error.empty());  // NOLINT(bugprone-use-after-move)
}

TEST(Records, EscapeEveryValueAndKeepChineseBytes) {
  SelfHostedConfig c = kSelfHosted;
  c.username = u" a\tb ";
  c.password = u"\u0001\"";
  c.domain = u"中文.example/x";
  const RecordResult r = BuildType2Record(c);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.json,
            "{\"Key\":\"a\\tb\",\"SN\":\"SN123\",\"Pass\":\"\\u0001\\\"\",\"Url\":\""
            "\xE4\xB8\xAD\xE6\x96\x87.example/x\",\"Port\":1883,\"SUB\":\"jobs/SN123\","
            "\"PUB\":\"reports/SN123\",\"Type\":2,\"tls\":0,\"sen\":0}");
}

}  // namespace
}  // namespace qm
