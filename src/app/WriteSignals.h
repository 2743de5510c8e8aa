// SPDX-License-Identifier: MIT
// The program's start-up step for failed writes.
#pragma once

namespace qm {

// Ignores SIGPIPE and SIGXFSZ for the whole process, so that a write into a
// closed pipe or socket, or beyond the file size limit (RLIMIT_FSIZE), fails
// with EPIPE or EFBIG where the caller reports it, instead of ending the
// program with its windows. main() calls it first, before any thread starts.
void IgnoreWriteSignals();

}  // namespace qm
