// SPDX-License-Identifier: MIT
// What the simulator's Connect button does before the client connects: the
// checks of the form, the connect record and the lines that explain it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/ConfigRecords.h"
#include "text/TextPair.h"

namespace qm {

// The connection form as the window reads it: texts as typed, indices as
// selected.
struct SimulatorForm {
  std::u16string clientId;
  std::u16string domain;
  std::u16string port;
  std::u16string username;
  std::u16string password;
  std::u16string subTopic;
  std::u16string pubTopic;
  int tls = 0;
  int cleanSession = 0;
};

struct SimulatorConnectPlan {
  bool ok = false;
  TextPair error;  // a failed check: English for the log, both for the message line
  // The printer's values under a client id of the simulator's own (the
  // printer's id + "-pc"); the job topic falls back to the publish topic.
  SelfHostedConfig config;
  std::vector<std::u16string> notes;  // explanatory lines, in the chosen language
};

// Checks, in this order: client id and domain, then the publish topic (the
// subscribe topic is optional); then each text in the form's order (client
// id, domain, username, password, subscribe and publish topic, trimmed) for
// a control character and its limit (65535 UTF-8 bytes, the client id 3 less
// for its "-pc"; the domain 253 UTF-16 units); then the subscribe topic as a
// topic filter and the publish topic without wildcards. When they pass: the
// record and the four lines that tell how the simulator uses the topics and
// the clean-session choice.
SimulatorConnectPlan PlanSimulatorConnect(const SimulatorForm& form, bool chinese);

// Why no test job may be published on the (trimmed) job topic read when Test
// is clicked, which may have been edited since the connect: a wildcard, or
// more than 65535 UTF-8 bytes. None when it may.
std::optional<TextPair> TestTopicProblem(const std::u16string& topic);

// The printer's report topic, to subscribe besides the job topic once the
// client reports "Connected.": the trimmed publish topic when it is set and
// differs from the trimmed subscribe topic; otherwise empty (nothing more).
std::u16string ReportTopicToSubscribe(const std::u16string& statusText,
                                      const std::u16string& pubTopic,
                                      const std::u16string& subTopic);

}  // namespace qm
