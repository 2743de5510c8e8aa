// SPDX-License-Identifier: MIT
#include "ui/ControlCharacterValidator.h"

#include "text/TextHelpers.h"

namespace qm {

QValidator::State ControlCharacterValidator::validate(QString& input, int& pos) const {
  // The cursor keeps its place among the characters that stay.
  qsizetype kept = 0;
  int cursor = pos;
  for (qsizetype i = 0; i < input.size(); ++i) {
    if (IsControlCharacter(input.at(i).unicode())) {
      if (i < pos) --cursor;
      continue;
    }
    input[kept++] = input.at(i);
  }
  input.truncate(kept);
  pos = cursor;
  return Acceptable;
}

}  // namespace qm
