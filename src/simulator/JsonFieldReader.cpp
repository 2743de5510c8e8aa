// SPDX-License-Identifier: MIT
#include "simulator/JsonFieldReader.h"

#include "text/TextHelpers.h"

namespace qm {
namespace {

// The bytes of the white-space character at i, 0 for none. Outside ASCII
// every such character is a two- or three-byte sequence.
std::size_t SpaceAt(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return IsWideSpace(lead) ? 1 : 0;
  const std::size_t length = lead < 0xE0 ? 2 : 3;
  if (lead < 0xC2 || lead > 0xEF || text.size() - i < length) return 0;
  const std::u16string ch = Utf8ToWide(text.substr(i, length));
  return ch.size() == 1 && IsWideSpace(ch[0]) ? length : 0;
}

// '"' and '\' never occur inside a multi-byte sequence: an escaped
// character is taken whole when its first byte is.
std::string ReadStringValue(std::string_view text, std::size_t i) {
  std::string value;
  while (i < text.size()) {
    const std::size_t stop = std::min(text.find_first_of("\"\\", i), text.size());
    value.append(text.substr(i, stop - i));
    if (stop == text.size() || text[stop] == '"') break;
    if (stop + 1 == text.size()) {
      value += '\\';
      break;
    }
    value += text[stop + 1];
    i = stop + 2;
  }
  return value;
}

std::string ReadNumberRun(std::string_view text, std::size_t i) {
  std::size_t end = i;
  while (end < text.size() &&
         ((text[end] >= '0' && text[end] <= '9') || text[end] == '-' || text[end] == '.')) {
    ++end;
  }
  return std::string(text.substr(i, end - i));
}

}  // namespace

std::string ExtractJsonField(std::string_view text, std::string_view key) {
  const std::string quoted = "\"" + std::string(key) + "\"";
  const std::size_t keyAt = text.find(quoted);
  if (keyAt == std::string_view::npos) return {};
  std::size_t i = text.find(':', keyAt + quoted.size());
  if (i == std::string_view::npos) return {};
  ++i;
  while (i < text.size()) {
    const std::size_t space = SpaceAt(text, i);
    if (space == 0) break;
    i += space;
  }
  if (i == text.size()) return {};
  return text[i] == '"' ? ReadStringValue(text, i + 1) : ReadNumberRun(text, i);
}

}  // namespace qm
