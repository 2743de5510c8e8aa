// SPDX-License-Identifier: MIT
#include "config/ConfigRecords.h"

#include <gtest/gtest.h>

#include "config/JsonEscape.h"
#include "config/PortField.h"
#include "config/TopicRules.h"

namespace qm {

using C = SelfHostedConfig;
auto Fields(const RecordResult& r) { return std::tuple(r.ok, r.json, r.idUtf8, r.error); }

// clang-format off
// Every field differs from its neighbours, so a value in the wrong place shows.
const AlibabaCloudConfig kAlibaba{u" a1Key ", u"dev01", u"s3cret", u"iot.example.com", 1883, u"get", u"update"};
const SelfHostedConfig kSelfHosted{u"SN123", u"broker.local", 8884, u"user", u" pw ", u"jobs/SN123", u"reports/SN123", 1, 0};
const TencentCloudConfig kTencent{u"PK", u"dev", u"sec", 8883, u"PK/dev/data", u"PK/dev/event"};
// No upper bound on the port; backslash and quote escaped, UTF-8 carried.
const SelfHostedConfig kOdd{u"SN123", u"中文.example/x", 99999, u" a b ", u"\\\"", u"jobs/SN123", u"", 0, 1};
const std::tuple<RecordResult, std::string, std::string> kRecords[] = {
    {BuildType1Record(kAlibaba, false), R"({"Key":"a1Key","SN":"dev01","Pass":"s3cret",)"
     R"("Url":"iot.example.com","Port":1883,"SUB":"user/get","PUB":"user/update","Type":1})", "dev01"},
    {BuildType2Record(kSelfHosted), R"({"Key":"user","SN":"SN123","Pass":"pw","Url":"broker.local",)"
     R"("Port":8884,"SUB":"jobs/SN123","PUB":"reports/SN123","Type":2,"tls":1,"sen":0})", "SN123"},
    {BuildType2Record(kOdd), "{\"Key\":\"a b\",\"SN\":\"SN123\",\"Pass\":\"\\\\\\\"\","
     "\"Url\":\"\xE4\xB8\xAD\xE6\x96\x87.example/x\",\"Port\":99999,\"SUB\":\"jobs/SN123\","
     R"("PUB":"","Type":2,"tls":0,"sen":1})", "SN123"},
    {BuildType3Record(kTencent), R"({"Key":"PK","SN":"dev","Pass":"sec","Url":" ","Port":8883,)"
     R"("SUB":"PK/dev/data","PUB":"PK/dev/event","Type":3})", "dev"}};
// Leading decimal digits, clamped to the int range; a full-width digit is no decimal digit.
const std::pair<std::u16string, int> kPorts[] = {
    {u"\t1883\u00A0", 1883}, {u"12ab", 12}, {u"", 0}, {u"+7", 7}, {u"-1", -1}, {u"--5", 0},
    {u"2147483648", 2147483647}, {u"-4294967296", -2147483647 - 1}, {u"\uFF11", 0}};
// Self-hosted fields in order, each step filling the one before; the encoding is checked last.
const std::tuple<std::u16string C::*, std::u16string, std::u16string> kSteps[] = {
    {&C::clientId, u" \u3000 ", u"Please enter ClientID / SN."},
    {&C::clientId, std::u16string(29, u'x') + u"\U0001F600", u"SN / ClientID must be 30 characters or fewer."},
    {&C::clientId, u"  " + std::u16string(30, u'x') + u"\t", u"Please enter domain or IP address."},
    {&C::domain, u"d", u"Please enter port."}, {&C::username, u"\t", u"Please enter username."},
    {&C::username, u"u", u"Please enter password."}, {&C::password, u"p", u"Please enter subscribe topic."},
    {&C::subTopic, u"\n", u"Please enter subscribe topic."}, {&C::subTopic, u"s", u""}, {&C::clientId, std::u16string(30, u'中'), u""},
    {&C::clientId, std::u16string(u"\0x", 2), u"ClientID / SN contains a control character."}};
// Cloud fields: key, name, secret; the same rules for both clouds.
const std::u16string kCloud[][4] = {
    {u" \t", u"n", u"s", u"Please enter ProductKey."},
    {u"k", u"\u00A0", u"", u"Please enter DeviceName."}, {u"k", u"n", u" ", u"Please enter DeviceSecret."},
    {u"k", std::u16string(u"\0n", 2), u"s", u"DeviceName contains a control character."},
    {std::u16string(u"\0PK", 3), u"\u0002", u"s", u"ProductKey contains a control character."},
    {u"k", u"n\u001D\u001E\u001F\u001B\u001C\u001D", std::u16string(u"se\0cret", 7), u"DeviceName contains a control character."},
    {u"k", u"n", std::u16string(u"se\0cret", 7), u"DeviceSecret contains a control character."}};
const std::u16string kNoFilter = u"Subscribe topic is not a valid filter: # only as the whole last level, + only as a whole level.",
    kWildcard = u"Publish topic must not contain + or #.";
// Topics of both clouds: sub, pub; control characters first (after trimming), then filter, then name.
const std::u16string kCloudTopics[][3] = {{u"a\tb", u"p", u"Subscribe topic contains a control character."},
    {u"a/#/b", u"p\u007F", u"Publish topic contains a control character."}, {u"#/a", u"a/#", kNoFilter}, {u"+/+/x", u"a+", kWildcard}, {u" # ", u"", u""}};
// Self-hosted: one field changed from kSelfHosted; the refusal, or none.
const std::tuple<std::u16string C::*, std::u16string, std::u16string> kSelfHostedTexts[] = {
    {&C::clientId, std::u16string(u"P1\0X", 4), u"ClientID / SN contains a control character."},
    {&C::domain, u"h\u0001", u"Domain or IP address contains a control character."}, {&C::username, u"u\u009F", u"Username contains a control character."},
    {&C::password, u"\u0001\"", u"Password contains a control character."},
    {&C::subTopic, u"a/b#", kNoFilter}, {&C::pubTopic, u"r/+", kWildcard}, {&C::clientId, u"\tdev1\r\n", u""}};
// clang-format on

// Grows one free-text field until the JSON has exactly `accepted` bytes, then one more.
template <typename Config, typename Build>
void ExpectCapacity(std::size_t accepted, Config c, std::u16string Config::*field, Build build) {
  c.*field = std::u16string(accepted - build(c).json.size() + (c.*field).size(), u'p');
  EXPECT_EQ(build(c).json.size(), accepted);
  c.*field += u"p";
  EXPECT_EQ(Fields(build(c)),
            std::tuple(false, "", "", u"Configuration exceeds device storage capacity."));
}

TEST(Records, ExactBytesValidationInOrderCapacityEscapesAndPort) {
  for (const auto& [r, json, id] : kRecords) EXPECT_EQ(Fields(r), std::tuple(true, json, id, u""));
  for (const auto& [key, name, secret, message] : kCloud) {
    for (const RecordResult& r : {BuildType1Record({key, name, secret, u"u", 1, u"s", u"p"}, false),
                                  BuildType3Record({key, name, secret, 1, u"s", u"p"})}) {
      EXPECT_EQ(Fields(r), std::tuple(false, "", "", message));
    }
  }
  C c{};
  for (const auto& [field, value, message] : kSteps) {
    c.*field = value;
    c.port = field == &C::domain ? 0 : 1;
    const RecordResult r = BuildType2Record(c);
    EXPECT_EQ(std::tuple(r.ok, r.json.empty(), r.error),
              std::tuple(message.empty(), !message.empty(), message));
  }
  for (const bool box : {false, true}) {
    ExpectCapacity(box ? 239 : 232, kAlibaba, &AlibabaCloudConfig::url,
                   [box](const AlibabaCloudConfig& c) { return BuildType1Record(c, box); });
  }
  ExpectCapacity(239, kSelfHosted, &SelfHostedConfig::pubTopic, BuildType2Record);
  ExpectCapacity(232, kTencent, &TencentCloudConfig::pubTopic, BuildType3Record);
  EXPECT_EQ(EscapeJsonString("\b\t\n\f\r\"\\/\x7F\xFF\x01\x0B\x1F"),
            "\\b\\t\\n\\f\\r\\\"\\\\/\x7F\xFF\\u0001\\u000b\\u001f");
  for (const auto& [text, port] : kPorts) EXPECT_EQ(ReadPortField(text), port) << port;
}

// After the required values; a line end pasted from a terminal is trimmed.
TEST(Records, ControlCharactersAndTopicsRefused) {
  for (const auto& [sub, pub, message] : kCloudTopics) {
    for (const RecordResult& r : {BuildType1Record({u"k", u"n", u"s", u"u", 1, sub, pub}, true),
                                  BuildType3Record({u"k", u"n", u"s", 1, sub, pub})})
      EXPECT_EQ(std::pair(r.ok, r.error), std::pair(message.empty(), message));
  }
  EXPECT_EQ(BuildType1Record({u"k", u"n", u"s", u"io\u0085t", 1, u"", u""}, false).error,
            u"URL contains a control character.");
  EXPECT_EQ(
      BuildType1Record({u"k", u" dev1\r\n", u"s", u"", 7, u" # ", u""}, false).json,
      R"({"Key":"k","SN":"dev1","Pass":"s","Url":"","Port":7,"SUB":"user/#","PUB":"user/","Type":1})");
  for (const auto& [field, value, message] : kSelfHostedTexts) {
    C c = kSelfHosted;
    c.*field = value;
    EXPECT_EQ(BuildType2Record(c).error, message);
  }
  EXPECT_EQ(BuildType2Record({u"\u0001", u"h", 1, u" ", u"p", u"s", u"", 0, 0}).error,
            u"Please enter username.");
  for (std::u16string_view t : {u"a/#", u"+/b", u"#", u"+/+/x", u"+"})
    EXPECT_TRUE(IsTopicFilter(t) && !IsTopicName(t));
  for (std::u16string_view t : {u"a/#/b", u"a+", u"a/b#", u"#/a", u"", u"a/+#"})
    EXPECT_FALSE(IsTopicFilter(t) || IsTopicName(t));
  for (std::u16string_view t : {u"a/b", u"/", u"中文/任务"})
    EXPECT_TRUE(IsTopicFilter(t) && IsTopicName(t));
}

}  // namespace qm
