// SPDX-License-Identifier: MIT
#include "text/PayloadView.h"

#include "text/ShowableText.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

// A UTF-8 sequence is at most four bytes and gives at least one UTF-16
// unit, so this many bytes give more than maxUnits units unless a zero
// byte ends them first; a sequence cut at their end only spoils units past
// that point.
std::size_t BytesForMoreThan(std::size_t maxUnits) { return 4 * (maxUnits + 1); }

}  // namespace

std::u16string PayloadView(std::string_view bytes, std::size_t maxUnits) {
  std::u16string decoded = Utf8ToWide(bytes.substr(0, BytesForMoreThan(maxUnits)));
  if (decoded.size() <= maxUnits) return ShowableText(decoded);
  return ShowableText(TruncateUtf16(std::move(decoded), maxUnits)) + u" … [" +
         Utf8ToWide(std::to_string(bytes.size())) + u" bytes]";
}

}  // namespace qm
