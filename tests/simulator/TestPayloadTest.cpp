// SPDX-License-Identifier: MIT
#include "simulator/TestPayload.h"

#include <gtest/gtest.h>

#include "simulator/SamplePrintJobs.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

TEST(BuildTestPayload, FirstIdFromTheClockThenCounting) {
  std::uint32_t last = 0;
  // 2^32 + 1765000000 seconds: only the low 32 bits count.
  const UnixClock clock = [] { return std::int64_t{4294967296} + 1765000000; };
  const std::string_view tails[] = {test::kReceiptTail, test::kTsplLabelTail, test::kCpclLabelTail};
  for (int kind = 0; kind < 3; ++kind) {
    EXPECT_EQ(WideToUtf8(BuildTestPayload(kind, last, clock)),
              test::SampleJob(1765000001 + kind, tails[kind]));
  }
  EXPECT_EQ(last, 1765000003u);
}

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
