// SPDX-License-Identifier: MIT
// The keys every window ends its modal run with.
#pragma once

class QKeyEvent;

namespace qm {

// The dialog command a key stands for: OK (kIdOk) for Enter and Return,
// Cancel (kIdCancel) for Esc, each without modifiers; 0 for any other key.
int DialogKeyCommand(const QKeyEvent& event);

}  // namespace qm
