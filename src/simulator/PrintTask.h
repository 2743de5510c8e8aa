// SPDX-License-Identifier: MIT
// Validation of a received print task as the printer does it: scan, then
// decide the result code.
#pragma once

#include <cstdint>
#include <string_view>

#include "simulator/PrintTaskScanner.h"
#include "simulator/TaskIdHistory.h"

namespace qm {

// Result codes decided for a task. The printer reports further codes of its
// own (see AckCodeText).
inline constexpr int kTaskAccepted = 0;
inline constexpr int kTaskBadId = 201;
inline constexpr int kTaskMissingType = 202;
inline constexpr int kTaskInvalidType = 203;
inline constexpr int kTaskMissingContents = 204;
inline constexpr int kTaskBadContents = 208;
inline constexpr int kTaskDuplicateId = 209;

// What the scanner found in one task. Repeated members are read each time:
// the last "contents" and "message" count, and a later "id" or "type" that
// parses replaces an earlier one.
struct PrintTaskCheck {
  bool ok = false;               // an object as far as the scanner reads it
  bool idValid = false;          // an "id" held an unsigned 32-bit integer
  bool idOutOfRange = false;     // the last failed "id" was too large or not whole
  bool typeValid = false;        // a "type" held a signed 32-bit integer
  bool contentsPresent = false;  // the last "contents" has a value
  bool messageIsString = false;  // the last "message" is a string
  std::uint32_t id = 0;
  std::int32_t type = 0;
  JsonValueKind contentsKind = JsonValueKind::None;
};

// Scans a task's text, looking only at "id", "type", "contents" and
// "message". Tolerant on purpose: missing commas pass, a text may end
// after any value, and whatever follows the closing "}" is ignored.
PrintTaskCheck ParsePrintTask(std::string_view text);

// The task's result code by the first rule that applies. An accepted task
// (code 0) has its id remembered in the history; nothing else changes it.
int DecideTaskCode(const PrintTaskCheck& check, TaskIdHistory& history);

}  // namespace qm
