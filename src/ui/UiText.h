// SPDX-License-Identifier: MIT
// Conversion of the logic libraries' wide strings at the window boundary.
#pragma once

#include <QString>
#include <string_view>

namespace qm {

inline QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace qm
