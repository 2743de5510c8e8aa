// SPDX-License-Identifier: MIT
// Conversion of the logic libraries' wide strings at the window boundary.
#pragma once

#include <QString>
#include <string>

namespace qm {

inline QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }

}  // namespace qm
