// SPDX-License-Identifier: MIT
#include "config/PortField.h"

#include "text/DecimalText.h"
#include "text/TextHelpers.h"

namespace qm {

int ReadPortField(const std::u16string& text) { return ReadLeadingInt32(TrimWhitespace(text)); }

}  // namespace qm
