// SPDX-License-Identifier: MIT
// The connect record of the simulator's MQTT client, built from the form.
#include "simulator/MqttConnectOptions.h"

#include <cstdio>

#include "text/TextHelpers.h"

namespace qm {
namespace {

// The URI buffer of the connect record: 255 bytes and the terminating zero.
constexpr std::size_t kServerUriBuffer = 256;
constexpr int kTlsPort = 8883;

std::string FormText(const std::u16string& text) { return WideToUtf8(TrimWhitespace(text)); }

}  // namespace

MqttConnectOptions MqttConnectOptions::FromForm(const SelfHostedConfig& form) {
  MqttConnectOptions options;
  const std::string host = FormText(form.domain);
  const char* scheme = (form.tls != 0 || form.port == kTlsPort) ? "mqtts" : "mqtt";
  char uri[kServerUriBuffer];
  // snprintf cuts a long host (and with it the port) at 255 bytes.
  std::snprintf(uri, sizeof uri, "%s://%s:%d", scheme, host.c_str(), form.port);
  options.serverUri = uri;
  options.clientId = FormText(form.clientId);
  options.username = FormText(form.username);
  options.password = FormText(form.password);
  options.subTopic = FormText(form.subTopic);
  options.pubTopic = FormText(form.pubTopic);
  options.cleansession = form.cleanSession == 0 ? 1 : 0;
  return options;
}

}  // namespace qm
