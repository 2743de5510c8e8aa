// SPDX-License-Identifier: MIT
// How the simulator shows a printer's report or acknowledgement.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// The short display text of a printer status code in the chosen language;
// empty for a code without one. (The display's own texts: code 0 is "ok"
// here, unlike the acknowledgement's "success".)
std::u16string_view PrinterStatusText(int code, bool chinese);

// One line: "Printer info" ("打印机信息") followed, for each known key that
// has a value, by two blanks, its label, '=' and the value; the value of
// "code" is followed by its status text in parentheses when it has one.
// Without any known key, two blanks and the payload follow instead. The
// payload is read as UTF-8 up to its first zero byte and searched in bytes;
// each value, and the payload in its place, is shown as PayloadView shows
// it (one bounded line; for a value, N is its size in bytes once its
// escapes are read).
std::u16string FormatPrinterInfo(std::string_view payload, bool chinese);

}  // namespace qm
