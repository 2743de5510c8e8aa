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

// Size of the UTF-8 form: a surrogate pair takes four bytes, a lone
// surrogate the three of U+FFFD.
std::size_t Utf8Size(std::u16string_view text) {
  std::size_t size = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (ch < 0x80) {
      size += 1;
    } else if (ch < 0x800) {
      size += 2;
    } else if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
               text[i + 1] <= 0xDFFF) {
      size += 4;
      ++i;
    } else {
      size += 3;
    }
  }
  return size;
}

std::u16string Bounded(std::u16string decoded, std::size_t maxUnits, std::size_t wholeBytes) {
  if (decoded.size() <= maxUnits) return ShowableText(decoded);
  return ShowableText(TruncateUtf16(std::move(decoded), maxUnits)) + u" … [" +
         Utf8ToWide(std::to_string(wholeBytes)) + u" bytes]";
}

}  // namespace

std::u16string PayloadView(std::string_view bytes, std::size_t maxUnits) {
  return Bounded(Utf8ToWide(bytes.substr(0, BytesForMoreThan(maxUnits))), maxUnits, bytes.size());
}

std::u16string PayloadView(std::u16string_view text, std::size_t maxUnits) {
  if (text.size() <= maxUnits) return ShowableText(std::u16string(text));
  return Bounded(std::u16string(text.substr(0, maxUnits + 1)), maxUnits, Utf8Size(text));
}

}  // namespace qm
