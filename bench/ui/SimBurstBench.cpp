// SPDX-License-Identifier: MIT
// The simulator window under a burst: 10 000 print jobs published to its job
// topic by mosquitto_pub, each validated, acknowledged and logged by the
// window (offscreen), beside mosquitto_sub's receive rate for the same burst.
// Also reported: the longest gap of a 5 ms heartbeat timer on the window's
// thread during the burst (how long the event loop was blocked) and the
// resident memory after it.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <fstream>

#include "simulator/MosquittoBroker.h"
#include "simulator/MosquittoBurst.h"
#include "simulator/SamplePrintJobs.h"
#include "ui/CMqttSimDlg.h"
#include "ui/FileChooser.h"

namespace qm::test {
namespace {

constexpr int kBurst = 10000;
constexpr char kJobTopic[] = "printers/P1/jobs";
constexpr char kReportTopic[] = "printers/P1/reports";
constexpr int kHeartbeatMs = 5;

class NoChooser final : public FileChooser {
 public:
  QString ChooseOpenFile(QWidget*, const QString&) override { return {}; }
  QString ChooseSaveFile(QWidget*, const QString&, const QString&) override { return {}; }
};

// Every message kept in flight by the broker: the burst must arrive whole.
MosquittoBroker& Broker() {
  static MosquittoBroker broker({"", "", {"max_queued_messages 0", "log_type subscribe"}});
  static const bool started = broker.Start();
  if (!started) throw std::runtime_error("mosquitto did not start");
  return broker;
}

// 10 000 receipt jobs with ids counting up from first, one per line.
std::string WriteBurstFile(std::uint32_t first) {
  static TempDir dir;
  const std::string path = dir.File("burst-" + std::to_string(first) + ".txt");
  std::ofstream out(path);
  for (int i = 0; i < kBurst; ++i) out << SampleJob(first + i, kReceiptTail) << '\n';
  return path;
}

std::string Quoted(const std::vector<std::string>& args) {
  std::string line = "exec";
  for (const std::string& arg : args) line += " '" + arg + "'";
  return line;
}

// mosquitto_pub sending every line of the file as one QoS 1 message.
pid_t PublishBurst(const std::string& file) {
  std::vector<std::string> args = Broker().ClientArgs("mosquitto_pub");
  args.insert(args.end(), {"-q", "1", "-t", kJobTopic, "-l"});
  return SpawnProgram({"sh", "-c", Quoted(args) + " < '" + file + "'"});
}

bool Ended(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, WNOHANG) == pid;
}

// Runs the window's event loop until done() holds (asked once per
// millisecond, never again after it held); false on the deadline.
bool RunUntil(const std::function<bool()>& done) {
  QEventLoop loop;
  QTimer poll;
  const auto deadline = std::chrono::steady_clock::now() + kBurstDeadline;
  bool finished = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    finished = done();
    if (finished || std::chrono::steady_clock::now() > deadline) loop.quit();
  });
  poll.start(1);
  loop.exec();
  return finished;
}

double ResidentMiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

qint64 ThreadCpuNs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<qint64>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

void BM_SimulatorWindowBurst(benchmark::State& state) {
  NoChooser chooser;
  CMqttSimDlg dialog(nullptr, false, chooser);
  dialog.show();
  const std::pair<int, std::string> form[] = {{3000, "P1"},
                                              {3001, "127.0.0.1"},
                                              {3002, std::to_string(Broker().port())},
                                              {3005, kJobTopic},
                                              {3006, kReportTopic}};
  for (const auto& [id, text] : form) {
    qobject_cast<QLineEdit*>(dialog.Control(id))->setText(QString::fromStdString(text));
  }
  dialog.OnCommand(kIdSimConnect, 0);
  const QString subscribed = QStringLiteral("Subscribed: ") + QLatin1String(kReportTopic);
  if (!RunUntil([&] { return dialog.Log()->toPlainText().contains(subscribed); })) {
    state.SkipWithError("simulator did not connect");
    return;
  }
  const double startMiB = ResidentMiB();
  // Heartbeat on the window's thread: its longest gap is the longest block,
  // in wall time (preemption by other processes on a loaded machine
  // included) and in the thread's own CPU time (the window's work alone).
  qint64 last = 0;
  qint64 lastCpu = 0;
  qint64 longestGap = 0;
  qint64 longestCpuGap = 0;
  QElapsedTimer beat;
  QTimer heartbeat;
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    const qint64 now = beat.nsecsElapsed();
    const qint64 cpu = ThreadCpuNs();
    longestGap = std::max(longestGap, now - last);
    longestCpuGap = std::max(longestCpuGap, cpu - lastCpu);
    last = now;
    lastCpu = cpu;
  });
  double total = 0;
  std::uint32_t firstId = 1;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string file = WriteBurstFile(firstId);
    firstId += kBurst;
    // The window's acknowledgements, counted from outside.
    const pid_t acks = SubscribeCounting(Broker(), kReportTopic, kBurst);
    state.ResumeTiming();
    beat.start();
    last = 0;
    lastCpu = ThreadCpuNs();
    heartbeat.start(kHeartbeatMs);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pub = PublishBurst(file);
    const bool complete = RunUntil([&] { return Ended(acks); });
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    // The window's own echoes of its acknowledgements, then quiet.
    RunUntil([&] { return Ended(pub); });
    QEventLoop drain;
    QTimer::singleShot(500, &drain, &QEventLoop::quit);
    drain.exec();
    heartbeat.stop();
    if (!complete) {
      state.SkipWithError("burst not acknowledged in time");
      return;
    }
    state.SetIterationTime(elapsed);
    total += elapsed;
  }
  state.counters["jobs_per_s"] = kBurst * static_cast<double>(state.iterations()) / total;
  state.counters["longest_block_ms"] = static_cast<double>(longestGap) / 1e6 - kHeartbeatMs;
  state.counters["longest_block_cpu_ms"] = static_cast<double>(longestCpuGap) / 1e6;
  state.counters["rss_before_MiB"] = startMiB;
  state.counters["rss_after_MiB"] = ResidentMiB();
  state.counters["log_lines"] = dialog.Log()->document()->blockCount();
}

void BM_MosquittoSubBurst(benchmark::State& state) {
  const std::string file = WriteBurstFile(1);
  RunMosquittoSubBursts(state, Broker(), kJobTopic, kBurst, [&] { return PublishBurst(file); });
}

BENCHMARK(BM_SimulatorWindowBurst)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MosquittoSubBurst)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm::test
