// SPDX-License-Identifier: MIT
// Fuzzes the print-task scanner, the result code and the acknowledgement.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "simulator/PrintAck.h"
#include "simulator/PrintTask.h"
#include "simulator/PrintTaskScanner.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckCode(const qm::PrintTaskCheck& check, int code) {
  if (!check.ok) Require(code == qm::kTaskBadContents);
  if (code == qm::kTaskAccepted || code == qm::kTaskDuplicateId) {
    Require(check.ok && check.idValid && check.typeValid);
    Require(check.contentsPresent || check.messageIsString);
  }
  Require(check.contentsPresent == (check.contentsKind != qm::JsonValueKind::None));
}

// Each scanner function from one position: it never moves backwards or
// past the end (the text is not terminated, so ASan sees any over-read).
void CheckScanners(std::string_view text, std::size_t start) {
  std::size_t pos = start;
  qm::SkipJsonWhitespace(text, pos);
  Require(pos >= start && pos <= text.size());
  pos = start;
  std::uint32_t id = 0;
  bool outOfRange = false;
  qm::ParseJsonUint32(text, pos, id, outOfRange);
  Require(pos >= start && pos <= text.size());
  pos = start;
  std::int32_t type = 0;
  qm::ParseJsonInt32(text, pos, type);
  Require(pos >= start && pos <= text.size());
  pos = start;
  qm::SkipJsonString(text, pos);
  Require(pos >= start && pos <= text.size());
  pos = start;
  qm::SkipJsonValue(text, pos);
  Require(pos >= start && pos <= text.size());
  qm::GetJsonValueKind(text, start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Kept across inputs, as the window keeps it across messages.
  static qm::TaskIdHistory history;
  const qm::PrintTaskCheck check = qm::ParsePrintTask(text);
  const int code = qm::DecideTaskCode(check, history);
  CheckCode(check, code);
  Require(qm::AckCodeText(code) != nullptr);

  const std::string name(text.substr(0, 40));
  const std::string ack = qm::BuildPrintAckJson(name, check.idValid ? check.id : 0, code);
  Require(!ack.empty() && ack.size() <= 255);

  if (size > 0) CheckScanners(text, data[0] % (size + 1));
  return 0;
}
