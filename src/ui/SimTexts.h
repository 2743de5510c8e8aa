// SPDX-License-Identifier: MIT
// The MQTT simulator window's own texts, English and Chinese side by side.
#pragma once

#include <string_view>

#include "text/TextPair.h"

namespace qm {

namespace sim_text {

inline constexpr TextPair kWindowTitle{u"VARNO  MQTT Client Simulator (Self-hosted)",
                                       u"VARNO  MQTT 客户端模拟器（自建）"};
inline constexpr TextPair kHeaderTitle{u"  VARNO  MQTT Client Simulator (Self-hosted)",
                                       u"  VARNO  MQTT 客户端模拟器（自建）"};
inline constexpr TextPair kLanguageLabel{u"Language:", u"语言："};
inline constexpr TextPair kConnect{u"Connect", u"连接"};
inline constexpr TextPair kDisconnect{u"Disconnect", u"断开"};
inline constexpr TextPair kPublish{u"Publish", u"发布消息"};
inline constexpr TextPair kContentLabel{u"Content Test:", u"内容测试："};
inline constexpr TextPair kTest{u"Test", u"测试"};
inline constexpr TextPair kTopicLabel{u"Topic:", u"主题："};
inline constexpr TextPair kLogLabel{u"Message Log", u"消息日志"};
inline constexpr TextPair kClear{u"Clear", u"清空"};
inline constexpr TextPair kExport{u"Export", u"导出"};
inline constexpr TextPair kConnected{u"●  Connected", u"●  已连接"};
inline constexpr TextPair kDisconnected{u"○  Disconnected", u"○  未连接"};
inline constexpr TextPair kParameters{u"Self-hosted MQTT connection parameters.",
                                      u"自建 MQTT 连接参数。"};

// The status as created, before the texts of a language are applied.
inline constexpr std::u16string_view kStatusAtCreation = u"Status: Disconnected";

// The three kinds of test job, the same in both languages.
inline constexpr std::u16string_view kContentItems[] = {u"JSON Receipt", u"JSON LABEL TSPL",
                                                        u"JSON label CPCL"};

// Log lines, English in both languages.
inline constexpr std::u16string_view kDisconnecting = u"Disconnecting...";
inline constexpr std::u16string_view kExportFailed = u"Export failed.";
inline constexpr std::u16string_view kLogExported = u"Log exported.";

// The line for messages the window could not take in time, around their
// count (one message, or more).
inline constexpr TextPair kDroppedPrefix{u"Dropped ", u"丢弃了 "};
inline constexpr TextPair kDroppedSuffixOne{u" message: the window could not keep up.",
                                            u" 条消息：窗口来不及处理。"};
inline constexpr TextPair kDroppedSuffix{u" messages: the window could not keep up.",
                                         u" 条消息：窗口来不及处理。"};

// The save chooser of the export.
inline constexpr std::u16string_view kExportFileName = u"mqtt_log.txt";
inline constexpr std::u16string_view kExportFilter = u"Text Files (*.txt)";

}  // namespace sim_text
}  // namespace qm
