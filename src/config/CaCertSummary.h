// SPDX-License-Identifier: MIT
// The summary of a certificate check as the confirmation dialog shows it.
#pragma once

#include <string>

#include "config/CaCertificate.h"

namespace qm {

// Size, format, subject, issuer, validity and the verdict for a valid result;
// the failure and its message otherwise. Subject and issuer are shown as
// ShowableText, so a name can neither add lines nor reorder its own. Lines
// end in CR LF; the text itself ends without a line break.
std::u16string BuildCaCertSummary(const CaCertInfo& info, bool chinese);

}  // namespace qm
