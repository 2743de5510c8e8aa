// SPDX-License-Identifier: MIT
// The connect record of the simulator's MQTT client, built from the form.
#include "simulator/MqttConnectOptions.h"

#include "text/TextHelpers.h"

namespace qm {
namespace {

constexpr int kTlsPort = 8883;

std::string FormText(const std::u16string& text) { return WideToUtf8(TrimWhitespace(text)); }

}  // namespace

MqttConnectOptions MqttConnectOptions::FromForm(const SelfHostedConfig& form) {
  MqttConnectOptions options;
  const char* scheme = (form.tls != 0 || form.port == kTlsPort) ? "mqtts" : "mqtt";
  // Whole, however long: the connect checks bound the host, and a cut URI
  // would name another host or port than the one typed.
  options.serverUri =
      std::string(scheme) + "://" + FormText(form.domain) + ":" + std::to_string(form.port);
  options.clientId = FormText(form.clientId);
  options.username = FormText(form.username);
  options.password = FormText(form.password);
  options.subTopic = FormText(form.subTopic);
  options.pubTopic = FormText(form.pubTopic);
  options.cleansession = form.cleanSession == 0 ? 1 : 0;
  return options;
}

}  // namespace qm
