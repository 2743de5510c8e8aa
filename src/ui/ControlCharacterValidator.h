// SPDX-License-Identifier: MIT
// The rule of every input field of the windows: a field takes by paste, drop
// or program only what it takes by typing.
#pragma once

#include <QValidator>

namespace qm {

// Removes every control character (C0, DEL, C1) from the field's text, so a
// pasted or dropped text holding line breaks, tabs or a zero shows, and is
// used, without them. Never refuses: what is left is always acceptable.
class ControlCharacterValidator final : public QValidator {
  Q_OBJECT

 public:
  using QValidator::QValidator;

  State validate(QString& input, int& pos) const override;
};

}  // namespace qm
