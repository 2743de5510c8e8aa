// SPDX-License-Identifier: MIT
// The printer's acknowledgement of a print task and the texts of its codes.
#pragma once

#include <cstdint>
#include <string>

namespace qm {

// English text of a result code; "unknown code" for codes without one.
const char* AckCodeText(int code);

// Copies the bytes with '"' written as \" and '\' as \\; nothing else changes.
std::string EscapeJsonQuotes(const std::string& bytes);

// {"devicename":"<name>","id":<id>,"code":<code>} with the name escaped by
// EscapeJsonQuotes. The printer's buffer holds 255 bytes: a longer
// acknowledgement is cut there.
std::string BuildPrintAckJson(const std::string& deviceName, std::uint32_t id, int code);

}  // namespace qm
