// SPDX-License-Identifier: MIT
#include "simulator/TestPayload.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qm {
namespace {

// The payloads of the three kinds, byte for byte: on their road in tests/ui/SimTrafficTest.cpp.
TEST(NextTestJobId, WrapsToOneAndIsNeverZero) {
  const std::tuple<std::uint32_t, std::int64_t, std::uint32_t> cases[] = {
      {0, 0, 1},
      {0, 4294967295, 1},
      {0, 4294967296, 1},
      {0, -1, 1},
      {0, -2, 4294967295},
      {41, 7, 42},
      {4294967294u, 7, 4294967295u},
      {4294967295u, 7, 1},
  };
  for (const auto& [last, now, next] : cases) {
    EXPECT_EQ(NextTestJobId(last, [now = now] { return now; }), next) << last << " " << now;
  }
}

}  // namespace
}  // namespace qm
