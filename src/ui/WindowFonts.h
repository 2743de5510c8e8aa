// SPDX-License-Identifier: MIT
// The fonts the windows ask for: the named face first, then the desktop's
// own stand-ins.
#pragma once

#include <QFont>

namespace qm {

// "Segoe UI" (or "Segoe UI Semibold"), else Noto Sans; "Microsoft YaHei UI",
// else Noto Sans CJK SC, for Chinese. Chinese glyphs fall back to Noto Sans
// CJK SC in every face.
QFont MakeWindowFont(bool chinese, bool semibold, qreal points);

}  // namespace qm
