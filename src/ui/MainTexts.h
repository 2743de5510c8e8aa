// SPDX-License-Identifier: MIT
// The main window's own texts, English and Chinese side by side.
#pragma once

#include <string_view>

#include "text/TextPair.h"

namespace qm {

namespace main_text {

inline constexpr std::u16string_view kInitialWindowTitle = u"Quillmark  V16";
inline constexpr TextPair kWindowTitle{u"VARNO  Quillmark  V16", u"VARNO  Quillmark  V16"};
inline constexpr TextPair kHeaderTitle{u"  VARNO  Quillmark  V16", u"  VARNO  Quillmark  V16"};
inline constexpr TextPair kLanguageLabel{u"Language:", u"语言："};
inline constexpr TextPair kSimulator{u"MQTT Simulator", u"MQTT 模拟器"};
// The USB label is laid out at the width of its English text in both languages.
inline constexpr TextPair kUsbLabel{u"USB:", u"USB："};
inline constexpr TextPair kConnect{u"Connect", u"连接"};
inline constexpr TextPair kDisconnect{u"Disconnect", u"断开"};
inline constexpr TextPair kNoDevice{u"No usable USB device", u"未检测到可用的 USB 设备"};
inline constexpr std::u16string_view kTopicPlaceholder = u"/${ProductKey}/${DeviceName}/user/";

inline constexpr std::u16string_view kInfoPrefix = u"ℹ  ";
inline constexpr std::u16string_view kWarningPrefix = u"⚠  ";

inline constexpr TextPair kIdleHint{u"ℹ  Select a USB device and click Connect.",
                                    u"ℹ  请先选择 USB 设备并点击连接。"};
inline constexpr TextPair kNotConnected{u"⚠  Select a USB device and click Connect first.",
                                        u"⚠  请先选择 USB 设备并点击连接。"};
inline constexpr TextPair kConnected{u"✔  Connected: ", u"✔  已连接："};
inline constexpr TextPair kOpenFailed{
    u"⚠  USB open failed. Check the device is on and the cable is connected.",
    u"⚠  USB打开失败，请确认设备已开机并连接数据线。"};
// The device node exists but the user may not open it (on Linux: not in the
// group lp, which owns /dev/usb/lp*).
inline constexpr TextPair kOpenDenied{
    u"⚠  No permission to open the USB device. Add your user to the group lp and log in again.",
    u"⚠  没有打开 USB 设备的权限。请将用户加入 lp 组后重新登录。"};
inline constexpr TextPair kUnplugged{
    u"⚠  USB device was unplugged. Pages are locked. Connect again.",
    u"⚠  USB 设备已拔出，页面已锁定。请重新连接。"};
inline constexpr TextPair kWriteDone{u"✔  Write completed successfully.", u"✔  写入成功！"};
inline constexpr TextPair kWriteFailed{u"✖  Write failed while sending data to the device.",
                                       u"✖  写入失败，发送数据时出错。"};
inline constexpr TextPair kTencentWaiting{
    u"✔  Write completed. Waiting for printer to apply Tencent Cloud settings...",
    u"✔  写入完成，等待打印机应用腾讯云配置..."};
inline constexpr TextPair kSelfTestSent{u"✔  Self-test command sent.", u"✔  自检指令已发送。"};
inline constexpr TextPair kSelfTestFailed{u"✖  Self-test command failed.",
                                          u"✖  自检指令发送失败。"};

}  // namespace main_text
}  // namespace qm
