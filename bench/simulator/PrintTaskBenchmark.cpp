// SPDX-License-Identifier: MIT
// Cost of scanning the simulator's three test jobs as the printer does.
#include <benchmark/benchmark.h>

#include "simulator/PrintTask.h"
#include "simulator/SamplePrintJobs.h"

namespace {

void ScanJob(benchmark::State& state, std::string_view tail) {
  const std::string job = qm::test::SampleJob(1765000001u, tail);
  for (auto _ : state) {
    qm::PrintTaskCheck check = qm::ParsePrintTask(job);
    benchmark::DoNotOptimize(check);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(job.size()));
  state.counters["bytes"] = static_cast<double>(job.size());
}

// Scan and decision together, with a fresh history so every run is accepted.
void ScanAndDecide(benchmark::State& state, std::string_view tail) {
  const std::string job = qm::test::SampleJob(1765000001u, tail);
  for (auto _ : state) {
    qm::TaskIdHistory history;
    int code = qm::DecideTaskCode(qm::ParsePrintTask(job), history);
    benchmark::DoNotOptimize(code);
  }
}

BENCHMARK_CAPTURE(ScanJob, receipt, qm::test::kReceiptTail);
BENCHMARK_CAPTURE(ScanJob, tspl_label, qm::test::kTsplLabelTail);
BENCHMARK_CAPTURE(ScanJob, cpcl_label, qm::test::kCpclLabelTail);
BENCHMARK_CAPTURE(ScanAndDecide, receipt, qm::test::kReceiptTail);
BENCHMARK_CAPTURE(ScanAndDecide, tspl_label, qm::test::kTsplLabelTail);
BENCHMARK_CAPTURE(ScanAndDecide, cpcl_label, qm::test::kCpclLabelTail);

}  // namespace

BENCHMARK_MAIN();
