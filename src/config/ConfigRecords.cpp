// SPDX-License-Identifier: MIT
#include "config/ConfigRecords.h"

#include <initializer_list>
#include <utility>

#include "config/JsonEscape.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

struct RequiredField {
  const std::u16string& value;
  const char16_t* message;
};

// The first empty (after trimming) field's message, or nullptr.
const char16_t* FirstMissing(std::initializer_list<RequiredField> fields) {
  for (const auto& field : fields) {
    if (TrimWhitespace(field.value).empty()) return field.message;
  }
  return nullptr;
}

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

const char16_t* ValidateCloudKeys(const std::u16string& productKey,
                                  const std::u16string& deviceName,
                                  const std::u16string& deviceSecret) {
  return FirstMissing({{productKey, u"Please enter ProductKey."},
                       {deviceName, u"Please enter DeviceName."},
                       {deviceSecret, u"Please enter DeviceSecret."}});
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
  if (const char16_t* msg = ValidateCloudKeys(c.productKey, c.deviceName, c.deviceSecret)) {
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
  std::string json =
      CredentialsPrefix(c.username, c.clientId, c.password) + "\"Url\":\"" +
      JsonEscapeUtf8(c.domain) + "\",\"Port\":" + std::to_string(c.port) + ",\"SUB\":\"" +
      JsonEscapeUtf8(c.subTopic) + "\",\"PUB\":\"" + JsonEscapeUtf8(c.pubTopic) + "\",\"Type\":2" +
      ",\"tls\":" + std::to_string(c.tls) + ",\"sen\":" + std::to_string(c.cleanSession) + "}";
  return Finish(std::move(json), c.clientId, kClientIdEncoding, kReserveConfigFrame);
}

RecordResult BuildType3Record(const TencentCloudConfig& c) {
  if (const char16_t* msg = ValidateCloudKeys(c.productKey, c.deviceName, c.deviceSecret)) {
    return RecordResult::Failure(msg);
  }
  std::string json = CredentialsPrefix(c.productKey, c.deviceName, c.deviceSecret) +
                     "\"Url\":\" \"" + ",\"Port\":" + std::to_string(c.port) + ",\"SUB\":\"" +
                     JsonEscapeUtf8(c.subTopic) + "\",\"PUB\":\"" + JsonEscapeUtf8(c.pubTopic) +
                     "\",\"Type\":3}";
  return Finish(std::move(json), c.deviceName, kDeviceNameEncoding, kReserveNameFrames);
}

}  // namespace qm
