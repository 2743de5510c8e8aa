// SPDX-License-Identifier: MIT
// Messages per second that reach the sink for a burst published by
// mosquitto_pub, beside mosquitto_sub's rate for the same burst.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "simulator/MosquittoBroker.h"
#include "simulator/MqttClient.h"
#include "simulator/RecordingSink.h"

namespace qm::test {
namespace {

constexpr int kBurst = 10000;
constexpr char kTopic[] = "printers/SN1/jobs";
constexpr std::chrono::seconds kBurstDeadline{120};

// A receipt job of typical size (about 200 bytes).
const std::string& Payload() {
  static const std::string payload =
      R"({"jobId":"20260101120000001","type":"receipt","copies":1,"content":")" +
      std::string(120, 'x') + R"("})";
  return payload;
}

// Every message kept in flight by the broker: the burst must arrive whole.
MosquittoBroker& Broker() {
  static MosquittoBroker broker({"", "", {"max_queued_messages 0", "log_type subscribe"}});
  static const bool started = broker.Start();
  if (!started) {
    throw std::runtime_error("mosquitto did not start");
  }
  return broker;
}

pid_t PublishBurst() {
  std::vector<std::string> args = Broker().ClientArgs("mosquitto_pub");
  args.insert(args.end(), {"-q", "1", "-t", kTopic, "-m", Payload(), "--repeat",
                           std::to_string(kBurst)});
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
  double total = 0;
  int round = 0;
  for (auto _ : state) {
    const std::string id = "bench-sub-" + std::to_string(round++);
    std::vector<std::string> args = Broker().ClientArgs("mosquitto_sub");
    args.insert(args.end(), {"-i", id, "-q", "1", "-t", kTopic, "-C", std::to_string(kBurst)});
    const pid_t sub = SpawnProgram(args);
    // The broker logs each subscription: wait for this one.
    const std::string subscribed = id + " 1 " + kTopic;
    const auto deadline = std::chrono::steady_clock::now() + kBurstDeadline;
    while (Broker().Log().find(subscribed) == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pub = PublishBurst();
    const int rc = WaitProgram(sub, kBurstDeadline);
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    WaitProgram(pub, kBurstDeadline);
    if (rc != 0) {
      state.SkipWithError("mosquitto_sub did not receive the burst");
      return;
    }
    state.SetIterationTime(elapsed);
    total += elapsed;
  }
  state.counters["msgs_per_s"] = kBurst * static_cast<double>(state.iterations()) / total;
}

BENCHMARK(BM_MqttClientToSink)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MosquittoSub)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm::test

BENCHMARK_MAIN();
