// SPDX-License-Identifier: MIT
#include "config/TopicRules.h"

namespace qm {
namespace {

constexpr std::u16string_view kWildcards = u"+#";

// A level of a filter: no wildcard, or a wildcard standing alone ('#' only
// at the end).
bool IsFilterLevel(std::u16string_view level, bool last) {
  return level.find_first_of(kWildcards) == std::u16string_view::npos || level == u"+" ||
         (level == u"#" && last);
}

}  // namespace

bool IsTopicName(std::u16string_view topic) {
  return !topic.empty() && topic.find_first_of(kWildcards) == std::u16string_view::npos;
}

std::optional<TextPair> TopicsProblem(std::u16string_view subscribe, std::u16string_view publish) {
  if (!subscribe.empty() && !IsTopicFilter(subscribe)) return kSubscribeTopicNotFilter;
  if (!publish.empty() && !IsTopicName(publish)) return kPublishTopicWildcard;
  return std::nullopt;
}

bool IsTopicFilter(std::u16string_view filter) {
  if (filter.empty()) return false;
  for (std::size_t start = 0;;) {
    const std::size_t end = filter.find(u'/', start);
    const bool last = end == std::u16string_view::npos;
    if (!IsFilterLevel(filter.substr(start, last ? filter.npos : end - start), last)) return false;
    if (last) return true;
    start = end + 1;
  }
}

}  // namespace qm
