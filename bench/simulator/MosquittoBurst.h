// SPDX-License-Identifier: MIT
// mosquitto_sub as the yardstick of the burst benchmarks.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>

#include "simulator/MosquittoBroker.h"

namespace qm::test {

inline constexpr std::chrono::seconds kBurstDeadline{180};

// mosquitto_sub (QoS 1) that ends after count messages on the topic, writing
// them to outputFile (one a line) when given. Returns once the broker has
// logged its subscription (the broker must be configured with
// "log_type subscribe"; with any log_type, "log_type information" too, or
// its start is not seen).
pid_t SubscribeCounting(const MosquittoBroker& broker, const std::string& topic, int count,
                        const std::string& outputFile = {});

// Seconds from the start of publish() until a mosquitto_sub, subscribed
// before it, has received count messages on the topic; negative when it did
// not within the deadline. Waits for the publisher too.
double TimeMosquittoSub(const MosquittoBroker& broker, const std::string& topic, int count,
                        const std::function<pid_t()>& publish);

// The benchmark loop of TimeMosquittoSub: manual time per burst and the
// counter msgs_per_s over all bursts.
void RunMosquittoSubBursts(benchmark::State& state, const MosquittoBroker& broker,
                           const std::string& topic, int count,
                           const std::function<pid_t()>& publish);

}  // namespace qm::test
