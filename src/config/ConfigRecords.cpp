// SPDX-License-Identifier: MIT
#include "config/ConfigRecords.h"

#include <initializer_list>
#include <utility>

#include "config/JsonEscape.h"
#include "config/TopicRules.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

struct NamedField {
  const std::u16string& value;
  const char16_t* message;
};

// The message of the first field whose trimmed value fails the test, or
// nullptr.
template <typename Fails>
const char16_t* FirstFailing(std::initializer_list<NamedField> fields, Fails fails) {
  for (const auto& field : fields) {
    if (fails(TrimWhitespace(field.value))) return field.message;
  }
  return nullptr;
}

const char16_t* FirstMissing(std::initializer_list<NamedField> fields) {
  return FirstFailing(fields, [](const std::u16string& text) { return text.empty(); });
}

// Trimming takes line breaks and tabs off the ends; any control character
// left is refused rather than written into the device.
const char16_t* FirstWithControl(std::initializer_list<NamedField> fields) {
  return FirstFailing(fields,
                      [](const std::u16string& text) { return HoldsControlCharacter(text); });
}

// A device given a topic MQTT forbids could never subscribe or publish on
// it. An empty topic is left to the builder's own rules.
const char16_t* TopicProblem(const std::u16string& subTopic, const std::u16string& pubTopic) {
  const std::optional<TextPair> problem =
      TopicsProblem(TrimWhitespace(subTopic), TrimWhitespace(pubTopic));
  return problem ? problem->en.data() : nullptr;
}

constexpr const char16_t* kSubTopicControl = u"Subscribe topic contains a control character.";
constexpr const char16_t* kPubTopicControl = u"Publish topic contains a control character.";

// Last two steps shared by the builders: the UTF-8 name, then capacity.
RecordResult Finish(std::string json, const std::u16string& name, const char16_t* encodingMessage,
                    int reserve) {
  std::string id = WideToUtf8(TrimWhitespace(name));
  if (id.empty()) return RecordResult::Failure(encodingMessage);
  RecordResult candidate;
  candidate.ok = true;
  candidate.json = std::move(json);
  candidate.idUtf8 = std::move(id);
  return CheckStorageCapacity(std::move(candidate), reserve);
}

constexpr const char16_t* kDeviceNameEncoding =
    u"DeviceName encoding failed (UTF-8 conversion error).";
constexpr const char16_t* kClientIdEncoding = u"ClientID encoding failed (UTF-8 conversion error).";
constexpr std::size_t kMaxClientIdUnits = 30;

// Types 1 and 3: the three required keys, then control characters in the
// page's row order, then the topic rules.
const char16_t* ValidateCloudFields(const std::u16string& productKey,
                                    const std::u16string& deviceName,
                                    const std::u16string& deviceSecret, const std::u16string& url,
                                    const std::u16string& subTopic,
                                    const std::u16string& pubTopic) {
  if (const char16_t* missing = FirstMissing({{productKey, u"Please enter ProductKey."},
                                              {deviceName, u"Please enter DeviceName."},
                                              {deviceSecret, u"Please enter DeviceSecret."}})) {
    return missing;
  }
  if (const char16_t* control =
          FirstWithControl({{productKey, u"ProductKey contains a control character."},
                            {deviceName, u"DeviceName contains a control character."},
                            {deviceSecret, u"DeviceSecret contains a control character."},
                            {url, u"URL contains a control character."},
                            {subTopic, kSubTopicControl},
                            {pubTopic, kPubTopicControl}})) {
    return control;
  }
  return TopicProblem(subTopic, pubTopic);
}

// Type 2 after its required values: control characters in the page's row
// order, then the topic rules.
const char16_t* ValidateSelfHostedTexts(const SelfHostedConfig& c) {
  if (const char16_t* control =
          FirstWithControl({{c.clientId, u"ClientID / SN contains a control character."},
                            {c.domain, u"Domain or IP address contains a control character."},
                            {c.username, u"Username contains a control character."},
                            {c.password, u"Password contains a control character."},
                            {c.subTopic, kSubTopicControl},
                            {c.pubTopic, kPubTopicControl}})) {
    return control;
  }
  return TopicProblem(c.subTopic, c.pubTopic);
}

// The opening pieces every record shares: {"Key":"…","SN":"…","Pass":"…",
std::string CredentialsPrefix(const std::u16string& key, const std::u16string& sn,
                              const std::u16string& pass) {
  return "{\"Key\":\"" + JsonEscapeUtf8(key) + "\",\"SN\":\"" + JsonEscapeUtf8(sn) +
         "\",\"Pass\":\"" + JsonEscapeUtf8(pass) + "\",";
}

}  // namespace

RecordResult::RecordResult(RecordResult&& other) noexcept
    : ok(std::exchange(other.ok, false)),
      json(std::exchange(other.json, {})),
      idUtf8(std::exchange(other.idUtf8, {})),
      error(std::exchange(other.error, {})) {}

RecordResult& RecordResult::operator=(RecordResult&& other) noexcept {
  if (this != &other) {
    ok = std::exchange(other.ok, false);
    json = std::exchange(other.json, {});
    idUtf8 = std::exchange(other.idUtf8, {});
    error = std::exchange(other.error, {});
  }
  return *this;
}

RecordResult RecordResult::Failure(std::u16string message) {
  RecordResult result;
  result.error = std::move(message);
  return result;
}

RecordResult CheckStorageCapacity(RecordResult candidate, int reserve) {
  if (candidate.ok &&
      static_cast<long long>(candidate.json.size()) + reserve >= kDeviceStorageLimit) {
    return RecordResult::Failure(u"Configuration exceeds device storage capacity.");
  }
  return candidate;
}

RecordResult BuildType1Record(const AlibabaCloudConfig& c, bool isCloudBox) {
  if (const char16_t* msg = ValidateCloudFields(c.productKey, c.deviceName, c.deviceSecret, c.url,
                                                c.subTopic, c.pubTopic)) {
    return RecordResult::Failure(msg);
  }
  std::string json = CredentialsPrefix(c.productKey, c.deviceName, c.deviceSecret) + "\"Url\":\"" +
                     JsonEscapeUtf8(c.url) + "\",\"Port\":" + std::to_string(c.port) +
                     ",\"SUB\":\"user/" + JsonEscapeUtf8(c.subTopic) + "\",\"PUB\":\"user/" +
                     JsonEscapeUtf8(c.pubTopic) + "\",\"Type\":1}";
  return Finish(std::move(json), c.deviceName, kDeviceNameEncoding,
                isCloudBox ? kReserveConfigFrame : kReserveNameFrames);
}

RecordResult BuildType2Record(const SelfHostedConfig& c) {
  if (TrimWhitespace(c.clientId).empty()) {
    return RecordResult::Failure(u"Please enter ClientID / SN.");
  }
  if (TrimWhitespace(c.clientId).size() > kMaxClientIdUnits) {
    return RecordResult::Failure(u"SN / ClientID must be 30 characters or fewer.");
  }
  if (TrimWhitespace(c.domain).empty()) {
    return RecordResult::Failure(u"Please enter domain or IP address.");
  }
  if (c.port < 1) return RecordResult::Failure(u"Please enter port.");
  if (const char16_t* msg = FirstMissing({{c.username, u"Please enter username."},
                                          {c.password, u"Please enter password."},
                                          {c.subTopic, u"Please enter subscribe topic."}})) {
    return RecordResult::Failure(msg);
  }
  if (const char16_t* msg = ValidateSelfHostedTexts(c)) return RecordResult::Failure(msg);
  std::string json =
      CredentialsPrefix(c.username, c.clientId, c.password) + "\"Url\":\"" +
      JsonEscapeUtf8(c.domain) + "\",\"Port\":" + std::to_string(c.port) + ",\"SUB\":\"" +
      JsonEscapeUtf8(c.subTopic) + "\",\"PUB\":\"" + JsonEscapeUtf8(c.pubTopic) + "\",\"Type\":2" +
      ",\"tls\":" + std::to_string(c.tls) + ",\"sen\":" + std::to_string(c.cleanSession) + "}";
  return Finish(std::move(json), c.clientId, kClientIdEncoding, kReserveConfigFrame);
}

RecordResult BuildType3Record(const TencentCloudConfig& c) {
  if (const char16_t* msg = ValidateCloudFields(c.productKey, c.deviceName, c.deviceSecret, {},
                                                c.subTopic, c.pubTopic)) {
    return RecordResult::Failure(msg);
  }
  std::string json = CredentialsPrefix(c.productKey, c.deviceName, c.deviceSecret) +
                     "\"Url\":\" \"" + ",\"Port\":" + std::to_string(c.port) + ",\"SUB\":\"" +
                     JsonEscapeUtf8(c.subTopic) + "\",\"PUB\":\"" + JsonEscapeUtf8(c.pubTopic) +
                     "\",\"Type\":3}";
  return Finish(std::move(json), c.deviceName, kDeviceNameEncoding, kReserveNameFrames);
}

}  // namespace qm
