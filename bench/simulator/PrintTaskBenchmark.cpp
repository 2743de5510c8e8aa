// SPDX-License-Identifier: MIT
// Cost of scanning the simulator's three test jobs as the printer does, and
// of everything the window does with one 16 MiB message.
#include <benchmark/benchmark.h>

#include "simulator/IncomingJob.h"
#include "simulator/LongPayloads.h"
#include "simulator/PrintTask.h"
#include "simulator/PrinterInfo.h"
#include "simulator/SamplePrintJobs.h"
#include "text/PayloadView.h"

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

// What the window does with one 16 MiB message (kinds of LongPayload) on
// the job topic (validation, acknowledgement, the shown line) or on the
// publish topic.
void LongMessage(benchmark::State& state) {
  const std::string payload = qm::test::LongPayload(state.range(0), 16 << 20);
  for (auto _ : state) {
    if (state.range(1) == 0) {
      qm::TaskIdHistory history;
      qm::IncomingJob job = qm::ProcessIncomingJob(payload, "P1", history);
      benchmark::DoNotOptimize(job);
      std::u16string line = qm::PayloadView(payload);
      benchmark::DoNotOptimize(line);
    } else {
      std::u16string info = qm::FormatPrinterInfo(payload, false);
      benchmark::DoNotOptimize(info);
    }
  }
}

BENCHMARK(LongMessage)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanJob, receipt, qm::test::kReceiptTail);
BENCHMARK_CAPTURE(ScanJob, tspl_label, qm::test::kTsplLabelTail);
BENCHMARK_CAPTURE(ScanJob, cpcl_label, qm::test::kCpclLabelTail);
BENCHMARK_CAPTURE(ScanAndDecide, receipt, qm::test::kReceiptTail);
BENCHMARK_CAPTURE(ScanAndDecide, tspl_label, qm::test::kTsplLabelTail);
BENCHMARK_CAPTURE(ScanAndDecide, cpcl_label, qm::test::kCpclLabelTail);

}  // namespace

BENCHMARK_MAIN();
