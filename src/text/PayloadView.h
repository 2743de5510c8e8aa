// SPDX-License-Identifier: MIT
// What the log shows of a text that came over the network: one bounded line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

// The most UTF-16 units of one received text that a log line shows.
inline constexpr std::size_t kPayloadViewUnits = 4096;

// The UTF-8 bytes, read up to their first zero byte, as one showable line:
// at most maxUnits UTF-16 units, cut before the first character that does
// not fit whole, made safe to show (ShowableText: controls and line
// separators become blanks, bidi formatting characters go). Only a cut text
// is followed by " … [N bytes]", N being the size of all the bytes. Decodes
// no more of the bytes than it shows.
std::u16string PayloadView(std::string_view bytes, std::size_t maxUnits = kPayloadViewUnits);

}  // namespace qm
