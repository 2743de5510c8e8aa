// SPDX-License-Identifier: MIT
// What MQTT allows as a topic to publish to and as a topic filter to
// subscribe to, with the messages of a refused topic. Used by the device
// pages' records and by the simulator's connect checks.
#pragma once

#include <optional>
#include <string_view>

#include "text/TextPair.h"

namespace qm {

// A topic to publish to: not empty, and no wildcard ('+' or '#') anywhere.
bool IsTopicName(std::u16string_view topic);

// A topic filter: not empty; levels split at '/'; '#' only as the whole last
// level and '+' only as a whole level ("a/#", "+/b", "#" pass; "a/#/b",
// "a+", "a/b#", "#/a" do not).
bool IsTopicFilter(std::u16string_view filter);

inline constexpr TextPair kPublishTopicWildcard{u"Publish topic must not contain + or #.",
                                                u"发布主题不能含有 + 或 #。"};
inline constexpr TextPair kSubscribeTopicNotFilter{
    u"Subscribe topic is not a valid filter: # only as the whole last level, + only as a whole "
    u"level.",
    u"订阅主题不是有效的过滤器：# 只能作为最后一整级，+ 只能作为一整级。"};

// The refusal of a (trimmed) pair of topics: a subscribe topic that is no
// filter first, then a publish topic with a wildcard. An empty topic passes:
// whether one is required is the caller's rule.
std::optional<TextPair> TopicsProblem(std::u16string_view subscribe, std::u16string_view publish);

}  // namespace qm
