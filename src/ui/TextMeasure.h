// SPDX-License-Identifier: MIT
// Width of a caption as a window draws it.
#pragma once

class QFont;
class QString;
class QWidget;

namespace qm {

// Width in pixels of the text in the font on the window's paint device; 0
// for an empty text or without a window.
int MeasureTextWidth(const QWidget* window, const QFont& font, const QString& text);

}  // namespace qm
