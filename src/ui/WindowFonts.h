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

// The three fonts of the main and the simulator window: normal and semibold
// at 9.5 points, the title semibold at 12 points.
void MakeWindowFonts(bool chinese, QFont& normal, QFont& semibold, QFont& title);

// True when the user's interface language is Chinese.
bool SystemLanguageIsChinese();

}  // namespace qm
