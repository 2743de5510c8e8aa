// SPDX-License-Identifier: MIT
// The connect record of the simulator's MQTT client, built from the form.
#pragma once

#include <cstdint>
#include <string>

#include "config/ConfigRecords.h"

namespace qm {

// Everything one connect needs, as UTF-8 bytes ready for the MQTT library.
struct MqttConnectOptions {
  std::string serverUri;  // "mqtt://host:port" or "mqtts://host:port", never cut
  std::string clientId;
  std::string username;  // empty: none
  std::string password;  // empty: none
  std::string subTopic;  // subscribed after every successful connect
  std::string pubTopic;  // where the printer reports and acknowledgements go
  std::int32_t cleansession = 1;

  // Trims every text, chooses the scheme ("mqtts" for the TLS choice or port
  // 8883) and maps the clean-session choice 0 to 1 and anything else to 0.
  static MqttConnectOptions FromForm(const SelfHostedConfig& form);
};

}  // namespace qm
