// SPDX-License-Identifier: MIT
#include "simulator/IncomingJob.h"

#include <cstdio>

#include "simulator/PrintAck.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

// Every form of the summary line fits, the longest code text included.
constexpr std::size_t kSummaryBufferSize = 320;

const char* YesNo(bool flag) { return flag ? "yes" : "no"; }

}  // namespace

bool IsUplinkReport(std::string_view payload) {
  if (payload.find("\"type\"") != std::string_view::npos) return false;
  for (const std::string_view key : {"\"code\"", "\"scan_content\"", "\"pay_code\"", "\"iccid\""}) {
    if (payload.find(key) != std::string_view::npos) return true;
  }
  return false;
}

std::u16string FormatTaskSummary(const PrintTaskCheck& check, int code) {
  if (!check.ok) return u"Task parse: invalid JSON object.";
  char line[kSummaryBufferSize] = {};
  const char* codeText = AckCodeText(code);
  const unsigned id = check.id;
  if (!check.idValid) {
    std::snprintf(line, sizeof line,
                  "Task parse: invalid id (require uint32 integer in %u-%u)%s -> code=%d (%s)", 0u,
                  4294967295u, check.idOutOfRange ? ", value out of range" : "", code, codeText);
  } else if (check.typeValid) {
    std::snprintf(line, sizeof line,
                  "Task parse: id=%u (valid range %u-%u), type=%d, contents=%s, message=%s -> "
                  "code=%d (%s)",
                  id, 0u, 4294967295u, static_cast<int>(check.type), YesNo(check.contentsPresent),
                  YesNo(check.messageIsString), code, codeText);
  } else {
    std::snprintf(line, sizeof line, "Task parse: id=%u, type=%s -> code=%d (%s)", id, "missing",
                  code, codeText);
  }
  return Utf8ToWide(line);
}

IncomingJob ProcessIncomingJob(std::string_view payload, const std::string& deviceName,
                               TaskIdHistory& history) {
  IncomingJob job;
  if (IsUplinkReport(payload)) {
    job.uplinkReport = true;
    return job;
  }
  const PrintTaskCheck check = ParsePrintTask(payload);
  job.code = DecideTaskCode(check, history);
  job.summary = FormatTaskSummary(check, job.code);
  job.ack = BuildPrintAckJson(deviceName, check.idValid ? check.id : 0, job.code);
  return job;
}

}  // namespace qm
