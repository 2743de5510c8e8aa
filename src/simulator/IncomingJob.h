// SPDX-License-Identifier: MIT
// What the simulated printer does with a message on its job topic.
#pragma once

#include <string>
#include <string_view>

#include "simulator/PrintTask.h"
#include "simulator/TaskIdHistory.h"

namespace qm {

// True for a printer's own uplink report (status, scan or payment): the
// bytes hold no "type" in double quotes but at least one of "code",
// "scan_content", "pay_code" and "iccid". A plain byte search anywhere,
// inside string values too.
bool IsUplinkReport(std::string_view payload);

// The log line that sums up a validated task and its result code.
std::u16string FormatTaskSummary(const PrintTaskCheck& check, int code);

// The outcome of one message on the job topic.
struct IncomingJob {
  bool uplinkReport = false;  // noted only: no summary, no acknowledgement
  int code = 0;
  std::u16string summary;
  std::string ack;  // to be published on the report topic
};

// An uplink report is only recognised; anything else is validated against
// the history (which remembers an accepted id) and acknowledged in the name
// of the printer's own client id (UTF-8).
IncomingJob ProcessIncomingJob(std::string_view payload, const std::string& deviceName,
                               TaskIdHistory& history);

}  // namespace qm
