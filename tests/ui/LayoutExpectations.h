// SPDX-License-Identifier: MIT
// Checks that a shown main window has every control where the layout rules
// put them, at the window's own dpi and size.
#pragma once

namespace qm {
class CMainDlg;
}

namespace qm::test {

void ExpectLayoutFollowsRules(CMainDlg& dialog);

}  // namespace qm::test
