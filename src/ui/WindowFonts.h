// SPDX-License-Identifier: MIT
// The fonts of the windows: the named faces first, then the desktop's own.
#pragma once

#include <QFont>

namespace qm {

inline constexpr qreal kNormalPoints = 9.5;
inline constexpr qreal kTitlePoints = 12.0;

// "Segoe UI" or "Segoe UI Semibold", then Noto Sans and Noto Sans CJK SC;
// "Microsoft YaHei UI", then Noto Sans CJK SC, for Chinese.
QFont MakeWindowFont(bool chinese, bool semibold, qreal points);

// True when the user's interface language is Chinese.
bool SystemLanguageIsChinese();

}  // namespace qm
