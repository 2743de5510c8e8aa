// SPDX-License-Identifier: MIT
// Messages per second that reach the sink for a burst published by
// mosquitto_pub, beside mosquitto_sub's rate for the same burst.
#include <benchmark/benchmark.h>

#include <chrono>

#include "simulator/MosquittoBroker.h"
#include "simulator/MosquittoBurst.h"
#include "simulator/MqttClient.h"
#include "simulator/RecordingSink.h"

namespace qm::test {
namespace {

constexpr int kBurst = 10000;
constexpr char kTopic[] = "printers/SN1/jobs";

// A receipt job of typical size (about 200 bytes).
const std::string& Payload() {
  static const std::string payload =
      R"({"jobId":"20260101120000001","type":"receipt","copies":1,"content":")" +
      std::string(120, 'x') + R"("})";
  return payload;
}

// Every message kept in flight by the broker: the burst must arrive whole.
MosquittoBroker& Broker() {
  static MosquittoBroker broker(
      {"", "", {"max_queued_messages 0", "log_type information", "log_type subscribe"}});
  static const bool started = broker.Start();
  if (!started) {
    throw std::runtime_error("mosquitto did not start");
  }
  return broker;
}

pid_t PublishBurst() {
  std::vector<std::string> args = Broker().ClientArgs("mosquitto_pub");
  args.insert(args.end(),
              {"-q", "1", "-t", kTopic, "-m", Payload(), "--repeat", std::to_string(kBurst)});
  return SpawnProgram(args);
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

void BM_MqttClientToSink(benchmark::State& state) {
  RecordingSink sink;
  MqttClient client;
  client.SetNotifyWindow(&sink);
  MqttConnectOptions options;
  options.serverUri = Broker().Uri();
  options.clientId = "bench-pc";
  options.subTopic = kTopic;
  client.Connect(options);
  if (sink.WaitForStatus(std::string("Subscribed: ") + kTopic) < 0) {
    state.SkipWithError("no subscription");
    return;
  }
  double total = 0;
  for (auto _ : state) {
    const std::size_t before = sink.MessageCount();
    const auto start = std::chrono::steady_clock::now();
    const pid_t pub = PublishBurst();
    const bool complete = sink.WaitForMessages(before + kBurst, kBurstDeadline);
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    WaitProgram(pub, kBurstDeadline);
    if (!complete) {
      state.SkipWithError("burst incomplete");
      return;
    }
    state.SetIterationTime(elapsed);
    total += elapsed;
  }
  state.counters["msgs_per_s"] = kBurst * static_cast<double>(state.iterations()) / total;
}

void BM_MosquittoSub(benchmark::State& state) {
  RunMosquittoSubBursts(state, Broker(), kTopic, kBurst, PublishBurst);
}

BENCHMARK(BM_MqttClientToSink)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MosquittoSub)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm::test

BENCHMARK_MAIN();
