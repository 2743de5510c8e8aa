// SPDX-License-Identifier: MIT
// Texts of the CA certificate dialog and of sending a certificate, English
// and Chinese side by side. The certificate summary's own texts are built by
// BuildCaCertSummary (config/CaCertSummary.h).
#pragma once

#include "text/TextPair.h"

namespace qm::ca_text {

inline constexpr TextPair kCaption{u"Custom CA Certificate (Optional)", u"自定义 CA 证书（选配）"};
inline constexpr TextPair kHeader{u"Confirm CA Certificate Write", u"确认写入 CA 证书"};
inline constexpr TextPair kPathLabel{u"File path:", u"文件路径："};
inline constexpr TextPair kConfirm{u"Confirm & Send", u"确认并发送"};
inline constexpr TextPair kCancel{u"Cancel", u"取消"};

// Status messages of the main window.
inline constexpr TextPair kEnableTlsFirst{u"⚠  Enable TLS first.", u"⚠  请先启用 TLS。"};
inline constexpr TextPair kSent{u"✔  CA certificate sent via USB.", u"✔  CA 证书已通过 USB 发送。"};
inline constexpr TextPair kSendFailed{u"✖  Failed to send CA certificate.",
                                      u"✖  CA 证书发送失败。"};

// The file chooser's filters and the extension a bare typed name gets, the
// same in both languages.
inline constexpr char16_t kFileFilters[] = u"CA Certificate PEM (*.pem);;All Files (*)";
inline constexpr char16_t kFileExtension[] = u"pem";

}  // namespace qm::ca_text
