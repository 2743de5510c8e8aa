// SPDX-License-Identifier: MIT
#include "simulator/MosquittoBurst.h"

#include <thread>

namespace qm::test {

pid_t SubscribeCounting(const MosquittoBroker& broker, const std::string& topic, int count,
                        const std::string& outputFile) {
  static int round = 0;
  const std::string id = "bench-sub-" + std::to_string(round++);
  std::vector<std::string> args = broker.ClientArgs("mosquitto_sub");
  args.insert(args.end(), {"-i", id, "-q", "1", "-t", topic, "-C", std::to_string(count)});
  const pid_t sub = SpawnProgram(args, outputFile);
  const std::string subscribed = id + " 1 " + topic;
  const auto deadline = std::chrono::steady_clock::now() + kBurstDeadline;
  while (broker.Log().find(subscribed) == std::string::npos &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return sub;
}

double TimeMosquittoSub(const MosquittoBroker& broker, const std::string& topic, int count,
                        const std::function<pid_t()>& publish) {
  const pid_t sub = SubscribeCounting(broker, topic, count);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pub = publish();
  const int rc = WaitProgram(sub, kBurstDeadline);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  WaitProgram(pub, kBurstDeadline);
  return rc == 0 ? elapsed.count() : -1;
}

void RunMosquittoSubBursts(benchmark::State& state, const MosquittoBroker& broker,
                           const std::string& topic, int count,
                           const std::function<pid_t()>& publish) {
  double total = 0;
  for (auto _ : state) {
    const double elapsed = TimeMosquittoSub(broker, topic, count, publish);
    if (elapsed < 0) {
      state.SkipWithError("mosquitto_sub did not receive the burst");
      return;
    }
    state.SetIterationTime(elapsed);
    total += elapsed;
  }
  state.counters["msgs_per_s"] = count * static_cast<double>(state.iterations()) / total;
}

}  // namespace qm::test
