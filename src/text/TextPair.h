// SPDX-License-Identifier: MIT
// A text the user sees, in English and Chinese. The one bilingual text type
// of the program: window texts, status messages and log lines.
#pragma once

#include <string_view>

namespace qm {

struct TextPair {
  std::u16string_view en;
  std::u16string_view zh{};  // empty: the English text in both languages

  // The text of the chosen language; an empty Chinese text shows the
  // English one.
  constexpr std::u16string_view Pick(bool chinese) const {
    return chinese && !zh.empty() ? zh : en;
  }
};

}  // namespace qm
