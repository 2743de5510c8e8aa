// SPDX-License-Identifier: MIT
#include "simulator/PrintTaskScanner.h"

#include <algorithm>
#include <limits>

namespace qm {
namespace {

constexpr std::uint64_t kMaxUint32 = std::numeric_limits<std::uint32_t>::max();
constexpr std::int64_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

bool At(std::string_view text, std::size_t pos, char ch) {
  return pos < text.size() && text[pos] == ch;
}

bool AtDigit(std::string_view text, std::size_t pos) {
  return pos < text.size() && IsDigit(text[pos]);
}

bool AtFractionOrExponent(std::string_view text, std::size_t pos) {
  return At(text, pos, '.') || At(text, pos, 'e') || At(text, pos, 'E');
}

bool AtExponent(std::string_view text, std::size_t pos) {
  return At(text, pos, 'e') || At(text, pos, 'E');
}

void SkipDigits(std::string_view text, std::size_t& pos) {
  while (AtDigit(text, pos)) ++pos;
}

void SkipOptionalSign(std::string_view text, std::size_t& pos) {
  if (At(text, pos, '+') || At(text, pos, '-')) ++pos;
}

// After an id that is already out of range: one ".", "e" or "E", an
// optional sign and digits.
void SkipOverflowTail(std::string_view text, std::size_t& pos) {
  SkipDigits(text, pos);
  if (AtFractionOrExponent(text, pos)) {
    ++pos;
    SkipOptionalSign(text, pos);
    SkipDigits(text, pos);
  }
}

// After an id in range: a fraction, then an exponent, either one optional.
void SkipFractionAndExponent(std::string_view text, std::size_t& pos) {
  if (At(text, pos, '.')) {
    ++pos;
    SkipDigits(text, pos);
  }
  if (AtExponent(text, pos)) {
    ++pos;
    SkipOptionalSign(text, pos);
    SkipDigits(text, pos);
  }
}

void SkipBracketed(std::string_view text, std::size_t& pos) {
  const char open = text[pos];
  const char close = open == '{' ? '}' : ']';
  int depth = 0;
  while (pos < text.size()) {
    const char ch = text[pos];
    if (ch == '"') {
      SkipJsonString(text, pos);
      continue;
    }
    if (ch == open) {
      ++depth;
    } else if (ch == close) {
      --depth;
    }
    ++pos;
    if (depth == 0) return;
  }
}

}  // namespace

void SkipJsonWhitespace(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

bool ParseJsonUint32(std::string_view text, std::size_t& pos, std::uint32_t& value,
                     bool& outOfRange) {
  outOfRange = false;
  SkipJsonWhitespace(text, pos);
  if (!AtDigit(text, pos)) return false;  // also "-", "+", "." and strings
  std::uint64_t number = 0;
  while (AtDigit(text, pos)) {
    number = number * 10 + static_cast<std::uint64_t>(text[pos] - '0');
    ++pos;
    if (number > kMaxUint32) {
      SkipOverflowTail(text, pos);
      outOfRange = true;
      return false;
    }
  }
  if (!AtFractionOrExponent(text, pos)) {
    value = static_cast<std::uint32_t>(number);
    return true;
  }
  // Ids are integers: "12.0" and "1e3" are refused like too large ones.
  SkipFractionAndExponent(text, pos);
  outOfRange = true;
  return false;
}

bool ParseJsonInt32(std::string_view text, std::size_t& pos, std::int32_t& value) {
  SkipJsonWhitespace(text, pos);
  if (pos >= text.size()) return false;
  const bool negative = text[pos] == '-';
  if (negative || text[pos] == '+') ++pos;
  if (!AtDigit(text, pos)) return false;
  std::int64_t number = 0;
  while (AtDigit(text, pos)) {
    number = number * 10 + (text[pos] - '0');
    if (number > kMaxInt32) return false;  // position stays on that digit
    ++pos;
  }
  if (AtFractionOrExponent(text, pos)) return false;
  value = static_cast<std::int32_t>(negative ? -number : number);
  return true;
}

void SkipJsonString(std::string_view text, std::size_t& pos) {
  if (!At(text, pos, '"')) return;
  ++pos;
  while (pos < text.size()) {
    const char ch = text[pos];
    if (ch == '\\') {
      pos = std::min(pos + 2, text.size());  // a final backslash ends the text
      continue;
    }
    ++pos;
    if (ch == '"') return;
  }
}

JsonValueKind GetJsonValueKind(std::string_view text, std::size_t pos) {
  SkipJsonWhitespace(text, pos);
  if (pos >= text.size()) return JsonValueKind::None;
  const char ch = text[pos];
  if (ch == '"') return JsonValueKind::String;
  if (ch == '{') return JsonValueKind::Object;
  if (ch == '[') return JsonValueKind::Array;
  if (ch == '-' || ch == '+' || IsDigit(ch)) return JsonValueKind::Number;
  return JsonValueKind::Other;
}

void SkipJsonValue(std::string_view text, std::size_t& pos) {
  SkipJsonWhitespace(text, pos);
  if (pos >= text.size()) return;
  const char ch = text[pos];
  if (ch == '"') {
    SkipJsonString(text, pos);
  } else if (ch == '{' || ch == '[') {
    SkipBracketed(text, pos);
  } else {
    while (pos < text.size() && text[pos] != ',' && text[pos] != '}' && text[pos] != ']') ++pos;
  }
}

}  // namespace qm
