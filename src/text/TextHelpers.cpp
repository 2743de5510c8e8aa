// SPDX-License-Identifier: MIT
#include "text/TextHelpers.h"

#include <algorithm>

namespace qm {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Length of the sequence a lead byte announces, 0 for a byte that cannot
// start one.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Allowed range of the second byte for a lead byte (rules out overlong
// forms, surrogates and code points above U+10FFFF).
bool SecondByteValid(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0 && second <= 0xBF;
    case 0xED:
      return second >= 0x80 && second <= 0x9F;
    case 0xF0:
      return second >= 0x90 && second <= 0xBF;
    case 0xF4:
      return second >= 0x80 && second <= 0x8F;
    default:
      return second >= 0x80 && second <= 0xBF;
  }
}

}  // namespace

bool IsWideSpace(char16_t ch) {
  if (ch < 0x100) {
    return (ch >= 0x09 && ch <= 0x0D) || ch == 0x20 || ch == 0x85 || ch == 0xA0;
  }
  return ch == 0x1680 || (ch >= 0x2000 && ch <= 0x200A) || ch == 0x2028 || ch == 0x2029 ||
         ch == 0x202F || ch == 0x205F || ch == 0x3000;
}

bool IsControlCharacter(char16_t ch) { return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F); }

bool HoldsControlCharacter(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(), IsControlCharacter);
}

std::u16string TrimWhitespace(const std::u16string& text) {
  std::size_t first = 0;
  std::size_t end = text.size();
  while (first < end && IsWideSpace(text[first])) ++first;
  while (end > first && IsWideSpace(text[end - 1])) --end;
  return text.substr(first, end - first);
}

std::u16string AsciiLowerCopy(std::u16string text) {
  for (char16_t& ch : text) {
    if (ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch - u'A' + u'a');
  }
  return text;
}

std::u16string TruncateUtf16(std::u16string text, std::size_t maxUnits) {
  if (text.size() > maxUnits) {
    text.resize(maxUnits);
    if (!text.empty() && IsHighSurrogate(text.back())) text.pop_back();
  }
  return text;
}

std::string WideToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c == 0) break;
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::u16string Utf8ToWide(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead == 0) break;
    const int len = SequenceLength(lead);
    if (len == 1) {
      out.push_back(lead);
      ++i;
      continue;
    }
    if (len == 0) {
      AppendUtf16(out, kReplacement);
      ++i;
      continue;
    }
    // Consume the longest valid prefix; a broken sequence gives one U+FFFD
    // and decoding resumes at the first byte that did not fit.
    char32_t cp = lead & (0xFF >> (len + 1));
    int taken = 1;
    while (taken < len && i + taken < bytes.size()) {
      const auto b = static_cast<unsigned char>(bytes[i + taken]);
      const bool ok = taken == 1 ? SecondByteValid(lead, b) : (b >= 0x80 && b <= 0xBF);
      if (!ok) break;
      cp = (cp << 6) | (b & 0x3F);
      ++taken;
    }
    AppendUtf16(out, taken == len ? cp : kReplacement);
    i += taken;
  }
  return out;
}

}  // namespace qm
