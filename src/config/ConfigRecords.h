// SPDX-License-Identifier: MIT
// The configuration records written to a device: input values of the pages,
// the three record builders and the storage-capacity rule.
#pragma once

#include <string>

namespace qm {

// Values of an Alibaba Cloud page (printer and cloud box). Texts are raw.
struct AlibabaCloudConfig {
  std::u16string productKey;
  std::u16string deviceName;
  std::u16string deviceSecret;
  std::u16string url;
  int port = 1883;
  std::u16string subTopic;
  std::u16string pubTopic;
};

// Values of the Tencent Cloud printer page. It has no URL.
struct TencentCloudConfig {
  std::u16string productKey;
  std::u16string deviceName;
  std::u16string deviceSecret;
  int port = 1883;
  std::u16string subTopic;
  std::u16string pubTopic;
};

// Self-hosted MQTT connection values, used by the self-hosted pages and by
// the simulator's connection form.
struct SelfHostedConfig {
  std::u16string clientId;
  std::u16string domain;
  int port = 1883;
  std::u16string username;
  std::u16string password;
  std::u16string subTopic;
  std::u16string pubTopic;
  int tls = 0;           // 0 "Disable TLS", 1 "Enable TLS"
  int cleanSession = 0;  // 0 "Clear offline messages", 1 "Keep offline messages"
};

// Outcome of one record builder. A failed result has empty json and idUtf8
// and one English message.
struct RecordResult {
  bool ok = false;
  std::string json;
  std::string idUtf8;
  std::u16string error;

  RecordResult() = default;
  RecordResult(const RecordResult&) = default;
  RecordResult& operator=(const RecordResult&) = default;
  RecordResult(RecordResult&& other) noexcept;
  RecordResult& operator=(RecordResult&& other) noexcept;

  static RecordResult Failure(std::u16string message);
};

// Device storage limit in bytes, and the framing reserves.
inline constexpr int kDeviceStorageLimit = 250;
inline constexpr int kReserveConfigFrame = 10;
inline constexpr int kReserveNameFrames = 17;

RecordResult BuildType1Record(const AlibabaCloudConfig& config, bool isCloudBox);
RecordResult BuildType2Record(const SelfHostedConfig& config);
RecordResult BuildType3Record(const TencentCloudConfig& config);

// Refuses an accepted candidate whose JSON length plus reserve reaches the
// storage limit; anything else passes unchanged.
RecordResult CheckStorageCapacity(RecordResult candidate, int reserve);

}  // namespace qm
