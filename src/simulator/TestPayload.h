// SPDX-License-Identifier: MIT
// The simulator's test print jobs: their ids and their payloads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qm {

// Seconds since 1970-01-01 UTC. The clock behind the first job id; the
// window uses SystemUnixSeconds, tests a fixed value.
using UnixClock = std::function<std::int64_t()>;
std::int64_t SystemUnixSeconds();

// The id that follows lastJobId. A last id of 0 (no job yet) is replaced by
// the clock's seconds cut to their low 32 bits; 4294967295 is followed by 1,
// so an id is never 0.
std::uint32_t NextTestJobId(std::uint32_t lastJobId, const UnixClock& clock);

// Advances lastJobId and returns "{"id":<id>" followed by the template of
// the kind: 0 the receipt, 1 the TSPL label, 2 the CPCL label; any other
// kind is taken as the receipt. Plain ASCII.
std::u16string BuildTestPayload(int kind, std::uint32_t& lastJobId, const UnixClock& clock);

}  // namespace qm
