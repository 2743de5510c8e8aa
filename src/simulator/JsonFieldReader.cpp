// SPDX-License-Identifier: MIT
#include "simulator/JsonFieldReader.h"

#include "text/TextHelpers.h"

namespace qm {
namespace {

std::u16string ReadStringValue(std::u16string_view text, std::size_t i) {
  std::u16string value;
  for (; i < text.size() && text[i] != u'"'; ++i) {
    if (text[i] == u'\\' && i + 1 < text.size()) ++i;
    value += text[i];
  }
  return value;
}

std::u16string ReadNumberRun(std::u16string_view text, std::size_t i) {
  const std::size_t start = i;
  while (i < text.size() &&
         ((text[i] >= u'0' && text[i] <= u'9') || text[i] == u'-' || text[i] == u'.')) {
    ++i;
  }
  return std::u16string(text.substr(start, i - start));
}

}  // namespace

std::u16string ExtractJsonField(std::u16string_view text, std::u16string_view key) {
  const std::u16string quoted = u"\"" + std::u16string(key) + u"\"";
  const std::size_t keyAt = text.find(quoted);
  if (keyAt == std::u16string_view::npos) return {};
  std::size_t i = text.find(u':', keyAt + quoted.size());
  if (i == std::u16string_view::npos) return {};
  for (++i; i < text.size() && IsWideSpace(text[i]); ++i) {
  }
  if (i == text.size()) return {};
  return text[i] == u'"' ? ReadStringValue(text, i + 1) : ReadNumberRun(text, i);
}

}  // namespace qm
