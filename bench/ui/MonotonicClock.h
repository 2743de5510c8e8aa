// SPDX-License-Identifier: MIT
// The clock both sides of the start-up benchmark read.
#pragma once

#include <time.h>

namespace qm::bench {

// CLOCK_MONOTONIC in nanoseconds.
inline long long NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

}  // namespace qm::bench
