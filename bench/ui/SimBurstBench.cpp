// SPDX-License-Identifier: MIT
// The simulator window (offscreen) against hostile and heavy broker traffic:
// - a burst of 10 000 print jobs published to its job topic by mosquitto_pub,
//   each validated, acknowledged and logged by the window, beside
//   mosquitto_sub's receive rate for the same burst;
// - one long message (up to 16 MiB, with or without break points, on the job
//   or the publish topic), then a normal job;
// - a QoS 0 flood of 600 000 jobs from four mosquitto_pub at once, then a
//   normal job;
// - a QoS 1 flood of 100 000 jobs from four mosquitto_pub at once, every one
//   of which must be acknowledged in order.
// Each reports the longest gap of a 5 ms heartbeat timer on the window's
// thread (how long the event loop was blocked) and the resident memory.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <optional>
#include <regex>
#include <utility>

#include "simulator/LongPayloads.h"
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
  QString ChooseOpenFile(QWidget*, const QString&, const QString&) override { return {}; }
  QString ChooseSaveFile(QWidget*, const QString&, const QString&) override { return {}; }
};

// Every message kept in flight by the broker: the burst must arrive whole.
MosquittoBroker& Broker() {
  static MosquittoBroker broker(
      {"", "", {"max_queued_messages 0", "log_type information", "log_type subscribe"}});
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

// mosquitto_pub sending the file to the topic: each line as one message
// (mode "-l") or the whole file as one ("-f").
pid_t PublishFile(const std::string& file, const char* topic, const char* qos, const char* mode) {
  std::vector<std::string> args = Broker().ClientArgs("mosquitto_pub");
  args.insert(args.end(), {"-q", qos, "-t", topic, mode});
  const std::string input = std::string(mode) == "-l" ? " < '" + file + "'" : " '" + file + "'";
  return SpawnProgram({"sh", "-c", Quoted(args) + input});
}

// mosquitto_pub sending every line of the file as one QoS 1 message.
pid_t PublishBurst(const std::string& file) { return PublishFile(file, kJobTopic, "1", "-l"); }

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

void RunFor(int ms) {
  QEventLoop drain;
  QTimer::singleShot(ms, &drain, &QEventLoop::quit);
  drain.exec();
}

// A field of /proc/self/status in MiB: "VmRSS:" now, "VmHWM:" the peak.
double MemoryMiB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field, 0) == 0) return std::stod(line.substr(field.size())) / 1024.0;
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

// A timer on the window's thread: its longest gap is the longest block, in
// wall time (preemption by other processes on a loaded machine included)
// and in the thread's own CPU time (the window's work alone).
class Heartbeat final {
 public:
  Heartbeat() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      const qint64 now = m_beat.nsecsElapsed();
      const qint64 cpu = ThreadCpuNs();
      m_longestGap = std::max(m_longestGap, now - m_last);
      m_longestCpuGap = std::max(m_longestCpuGap, cpu - m_lastCpu);
      m_last = now;
      m_lastCpu = cpu;
    });
  }
  void Start() {
    m_beat.start();
    m_last = 0;
    m_lastCpu = ThreadCpuNs();
    m_timer.start(kHeartbeatMs);
  }
  void Stop() { m_timer.stop(); }
  void Report(benchmark::State& state) const {
    state.counters["longest_block_ms"] = static_cast<double>(m_longestGap) / 1e6 - kHeartbeatMs;
    state.counters["longest_block_cpu_ms"] = static_cast<double>(m_longestCpuGap) / 1e6;
  }

 private:
  QTimer m_timer;
  QElapsedTimer m_beat;
  qint64 m_last = 0;
  qint64 m_lastCpu = 0;
  qint64 m_longestGap = 0;
  qint64 m_longestCpuGap = 0;
};

// The acknowledgement of the job with this id is among the newest `depth`
// lines of the log (a round of the window logs a few hundred at most).
bool AckInLog(const CMqttSimDlg& dialog, std::uint32_t id, int depth) {
  const QString ack =
      QStringLiteral(R"(PUB -> print ack: {"devicename":"P1","id":%1,"code":0})").arg(id);
  QTextBlock block = dialog.Log()->document()->lastBlock();
  for (int i = 0; i < depth && block.isValid(); ++i, block = block.previous()) {
    if (block.text().endsWith(ack)) return true;
  }
  return false;
}

// The window, shown and connected as "P1-pc" with the job and report topics.
class ConnectedWindow final {
 public:
  ConnectedWindow() {
    dialog.show();
    const std::pair<int, std::string> form[] = {{3000, "P1"},
                                                {3001, "127.0.0.1"},
                                                {3002, std::to_string(Broker().port())},
                                                {3005, kJobTopic},
                                                {3006, kReportTopic}};
    for (const auto& [id, text] : form) {
      qobject_cast<QLineEdit*>(dialog.Control(id))->setText(QString::fromStdString(text));
    }
    QObject::connect(dialog.Log()->document(), &QTextDocument::contentsChanged,
                     [this] { ++logChanges; });
    dialog.OnCommand(kIdSimConnect, 0);
    const QString subscribed = QStringLiteral("Subscribed: ") + QLatin1String(kReportTopic);
    connected = RunUntil([&] { return dialog.Log()->toPlainText().contains(subscribed); });
  }
  // Runs the event loop until the log has not changed for the time: the
  // window has worked off what it received.
  bool RunUntilQuiet(std::chrono::milliseconds quiet) {
    int seen = -1;
    auto since = std::chrono::steady_clock::now();
    return RunUntil([&] {
      const auto now = std::chrono::steady_clock::now();
      if (std::exchange(seen, logChanges) != logChanges) since = now;
      return now - since >= quiet;
    });
  }
  // The acknowledgement of the job with this id is among the newest lines.
  bool Acknowledged(std::uint32_t id) const { return AckInLog(dialog, id, 64); }
  // Sends a normal job and runs the event loop until it is acknowledged:
  // the seconds it took, negative when it was not in time.
  double NormalJobRoundTrip(std::uint32_t id) {
    static TempDir dir;
    const std::string file = dir.File("job-" + std::to_string(id));
    std::ofstream(file) << SampleJob(id, kReceiptTail);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pub = PublishFile(file, kJobTopic, "1", "-f");
    const bool acked = RunUntil([&] { return Acknowledged(id); });
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    RunUntil([&] { return Ended(pub); });
    return acked ? elapsed : -1;
  }

  NoChooser chooser;
  CMqttSimDlg dialog{nullptr, false, chooser};
  bool connected = false;
  int logChanges = 0;
};

// The traffic, then a normal job, under the heartbeat: the iteration time
// runs until the job is acknowledged, nextAck (seconds) from its publish.
// False (and the benchmark skipped) when it was not acknowledged in time.
bool TrafficThenNormalJob(benchmark::State& state, ConnectedWindow& window, Heartbeat& heartbeat,
                          const std::function<void()>& traffic, std::uint32_t id, double& nextAck) {
  heartbeat.Start();
  const auto start = std::chrono::steady_clock::now();
  traffic();
  nextAck = window.NormalJobRoundTrip(id);
  const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
  RunFor(300);
  heartbeat.Stop();
  if (nextAck < 0) {
    state.SkipWithError("normal job not acknowledged in time");
    return false;
  }
  state.SetIterationTime(elapsed);
  return true;
}

void BM_SimulatorWindowBurst(benchmark::State& state) {
  ConnectedWindow window;
  if (!window.connected) {
    state.SkipWithError("simulator did not connect");
    return;
  }
  const double startMiB = MemoryMiB("VmRSS:");
  Heartbeat heartbeat;
  double total = 0;
  std::uint32_t firstId = 1;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string file = WriteBurstFile(firstId);
    firstId += kBurst;
    // The window's acknowledgements, counted from outside.
    const pid_t acks = SubscribeCounting(Broker(), kReportTopic, kBurst);
    state.ResumeTiming();
    heartbeat.Start();
    const auto start = std::chrono::steady_clock::now();
    const pid_t pub = PublishBurst(file);
    const bool complete = RunUntil([&] { return Ended(acks); });
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    // The window's own echoes of its acknowledgements, then quiet.
    RunUntil([&] { return Ended(pub); });
    RunFor(500);
    heartbeat.Stop();
    if (!complete) {
      state.SkipWithError("burst not acknowledged in time");
      return;
    }
    state.SetIterationTime(elapsed);
    total += elapsed;
  }
  state.counters["jobs_per_s"] = kBurst * static_cast<double>(state.iterations()) / total;
  heartbeat.Report(state);
  state.counters["rss_before_MiB"] = startMiB;
  state.counters["rss_after_MiB"] = MemoryMiB("VmRSS:");
  state.counters["log_lines"] = window.dialog.Log()->document()->blockCount();
}

// One long message of state.range(0) bytes, then a normal job. Kind
// (range(1)): that of LongPayload. Topic (range(2)): 0 the job topic, 1 the
// publish topic. Iteration time: from the publish of the long message until the
// normal job is acknowledged.
void BM_SimulatorWindowLongMessage(benchmark::State& state) {
  ConnectedWindow window;
  if (!window.connected) {
    state.SkipWithError("simulator did not connect");
    return;
  }
  TempDir dir;
  const std::string file = dir.File("long");
  std::ofstream(file) << LongPayload(state.range(1), static_cast<std::size_t>(state.range(0)));
  Heartbeat heartbeat;
  double nextAck = 0;
  std::uint32_t id = 1000000;
  for (auto _ : state) {
    const auto traffic = [&] {
      const pid_t pub =
          PublishFile(file, state.range(2) == 0 ? kJobTopic : kReportTopic, "1", "-f");
      RunUntil([&] { return Ended(pub); });
    };
    if (!TrafficThenNormalJob(state, window, heartbeat, traffic, ++id, nextAck)) return;
  }
  heartbeat.Report(state);
  state.counters["next_ack_ms"] = nextAck * 1000;
  state.counters["rss_peak_MiB"] = MemoryMiB("VmHWM:");
}

// Drop lines still in the log (the log keeps its newest 100 000 lines).
double DropLinesInLog(const CMqttSimDlg& dialog) {
  double dropLines = 0;
  const QTextDocument* log = dialog.Log()->document();
  for (QTextBlock block = log->begin(); block.isValid(); block = block.next()) {
    dropLines += block.text().endsWith(QStringLiteral(" messages: the window could not keep up."));
  }
  return dropLines;
}

// Receipt jobs, or with jobBytes valid CPCL jobs of about that many bytes
// (string contents with a blank every 8 characters).
std::string FloodJob(std::uint32_t id, std::size_t jobBytes) {
  if (jobBytes == 0) return SampleJob(id, kReceiptTail);
  std::string job = "{\"id\":" + std::to_string(id) + R"(,"type":2,"contents":")";
  while (job.size() + 10 < jobBytes) job += "abcdefg ";
  return job + "\"}";
}

// One file per publisher of jobs (receipt jobs, or long ones of about
// jobBytes), one a line: publisher p's ids count up from firstId + p * each.
std::vector<std::string> WriteFloodFiles(const TempDir& dir, const std::string& name,
                                         int publishers, int each, std::uint32_t firstId,
                                         std::size_t jobBytes = 0) {
  std::vector<std::string> files;
  for (int p = 0; p < publishers; ++p) {
    files.push_back(dir.File(name + std::to_string(p)));
    std::ofstream out(files.back());
    for (int i = 0; i < each; ++i) out << FloodJob(firstId + p * each + i, jobBytes) << '\n';
  }
  return files;
}

// Starts the publishers, runs the event loop for a second, presses
// Disconnect and runs it until the window shows the disconnected state: the
// milliseconds that took. Returns once the publishers have ended.
double DisconnectInFlood(CMqttSimDlg& dialog, const std::function<std::vector<pid_t>()>& flood,
                         const std::function<bool(std::vector<pid_t>)>& allEnded) {
  std::vector<pid_t> pubs = flood();
  RunFor(1000);
  const auto start = std::chrono::steady_clock::now();
  dialog.OnCommand(kIdSimDisconnect, 0);
  RunUntil([&] { return !dialog.IsConnected(); });
  const double ms = Seconds(std::chrono::steady_clock::now() - start) * 1000;
  allEnded(pubs);
  return ms;
}

bool AllEnded(std::vector<pid_t> pubs) {
  return RunUntil([&] {
    std::erase_if(pubs, Ended);  // each one is reaped once
    return pubs.empty();
  });
}

// 4 × 150 000 receipt jobs at QoS 0 from four mosquitto_pub at once, then a
// normal job. Iteration time: from the start of the publishers until the
// normal job is acknowledged; it is sent once all four have ended and the
// window has worked off what reached it (its log quiet for 500 ms: the
// broker may still be delivering the flood when the publishers end, and a
// job arriving while the backlog is full would be dropped). Then two more
// floods: a Disconnect after one second of the first (until the window shows
// the disconnected state), the window destroyed after one second of the
// second.
void BM_SimulatorWindowFlood(benchmark::State& state) {
  constexpr int kPublishers = 4;
  constexpr int kJobsEach = 150000;
  std::optional<ConnectedWindow> window(std::in_place);
  if (!window->connected) {
    state.SkipWithError("simulator did not connect");
    return;
  }
  TempDir dir;
  const std::vector<std::string> files =
      WriteFloodFiles(dir, "flood-", kPublishers, kJobsEach, 10000000);
  const auto flood = [&] {
    std::vector<pid_t> pubs;
    for (const std::string& file : files) pubs.push_back(PublishFile(file, kJobTopic, "0", "-l"));
    return pubs;
  };
  const auto allEnded = AllEnded;
  const double startMiB = MemoryMiB("VmRSS:");
  Heartbeat heartbeat;
  double nextAck = 0;
  double floodSeconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const auto traffic = [&] {
      allEnded(flood());
      window->RunUntilQuiet(std::chrono::milliseconds(500));
      floodSeconds = Seconds(std::chrono::steady_clock::now() - start);
    };
    if (!TrafficThenNormalJob(state, *window, heartbeat, traffic, 5000000, nextAck)) return;
  }
  heartbeat.Report(state);
  state.counters["flood_s"] = floodSeconds;
  state.counters["next_ack_ms"] = nextAck * 1000;
  state.counters["rss_before_MiB"] = startMiB;
  state.counters["rss_peak_MiB"] = MemoryMiB("VmHWM:");
  state.counters["drop_lines_in_log"] = DropLinesInLog(window->dialog);
  state.counters["log_lines"] = window->dialog.Log()->document()->blockCount();

  state.counters["disconnect_in_flood_ms"] = DisconnectInFlood(window->dialog, flood, allEnded);
  window.emplace();
  const std::vector<pid_t> pubs = flood();
  RunFor(1000);
  const auto start = std::chrono::steady_clock::now();
  window.reset();
  state.counters["close_in_flood_ms"] = Seconds(std::chrono::steady_clock::now() - start) * 1000;
  allEnded(pubs);
}

qint64 ProcessCpuNs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<qint64>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// How many acknowledgements (one a line) carry code 0 and come in the order
// their publisher sent the jobs: publisher p sent first + p * each, ... in turn.
int AcksInOrder(const std::string& file, std::uint32_t first, int publishers, int each) {
  std::vector<std::uint32_t> next;
  for (int p = 0; p < publishers; ++p) next.push_back(first + p * each);
  const std::regex ack(R"(^\{"devicename":"P1","id":(\d+),"code":0\}$)");
  std::ifstream in(file);
  int inOrder = 0;
  std::smatch match;
  for (std::string line; std::getline(in, line);) {
    if (!std::regex_match(line, match, ack)) continue;
    const auto id = static_cast<std::uint32_t>(std::stoul(match[1]));
    const auto p = static_cast<std::size_t>((id - first) / each);
    if (id >= first && p < next.size() && id == next[p]) {
      ++next[p];
      ++inOrder;
    }
  }
  return inOrder;
}

int LineCount(const std::string& file) {
  std::ifstream in(file);
  int lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

// The jobs the log says were lost past the backlog's ceiling (the log keeps
// its newest 100 000 lines).
double LostJobsInLog(const CMqttSimDlg& dialog) {
  static const QRegularExpression lost(QStringLiteral(R"(^.*Lost (\d+) QoS 1 messages? .*$)"));
  double jobs = 0;
  const QTextDocument* log = dialog.Log()->document();
  for (QTextBlock block = log->begin(); block.isValid(); block = block.next()) {
    const QRegularExpressionMatch match = lost.match(block.text());
    if (match.hasMatch()) jobs += match.captured(1).toDouble();
  }
  return jobs;
}

// A QoS 1 flood of receipt jobs (or long jobs) from several mosquitto_pub at
// once; the broker keeps whatever it cannot deliver yet.
struct Qos1Flood {
  int publishers = 4;
  int jobsEach = 25000;
  std::size_t jobBytes = 0;  // 0: receipt jobs of 276 bytes
};

constexpr std::uint32_t kQos1FirstId = 20000000;

std::vector<pid_t> StartPublishers(const std::vector<std::string>& files) {
  std::vector<pid_t> pubs;
  for (const std::string& file : files) pubs.push_back(PublishFile(file, kJobTopic, "1", "-l"));
  return pubs;
}

// Runs the flood under the heartbeat until the last acknowledgement, or until
// the publishers have ended and the window's log has been quiet for 2 s (jobs
// lost). With afterJobId, a normal job is published as soon as the flood's
// publishers have ended (it waits its turn behind the flood); next_ack_ms is
// from then until its acknowledgement is in the log.
void RunQos1Flood(benchmark::State& state, ConnectedWindow& window, const Qos1Flood& flood,
                  const std::vector<std::string>& files, const std::string& ackFile,
                  std::optional<std::uint32_t> afterJobId) {
  static TempDir dir;
  const std::string afterFile = dir.File("after");
  if (afterJobId) std::ofstream(afterFile) << SampleJob(*afterJobId, kReceiptTail);
  const int jobs = flood.publishers * flood.jobsEach;
  const pid_t acks =
      SubscribeCounting(Broker(), kReportTopic, jobs + (afterJobId ? 1 : 0), ackFile);
  Heartbeat heartbeat;
  heartbeat.Start();
  const qint64 cpu = ProcessCpuNs();
  const qint64 windowCpu = ThreadCpuNs();
  const auto start = std::chrono::steady_clock::now();
  std::vector<pid_t> pubs = StartPublishers(files);
  std::optional<pid_t> after;
  std::optional<std::chrono::steady_clock::time_point> afterSent, afterAcked;
  int seen = -1;
  auto since = start;
  bool complete = false;
  RunUntil([&] {
    std::erase_if(pubs, Ended);
    const auto now = std::chrono::steady_clock::now();
    if (pubs.empty() && afterJobId && !afterSent) {
      after = PublishFile(afterFile, kJobTopic, "1", "-f");
      afterSent = now;
    }
    const bool changed = std::exchange(seen, window.logChanges) != window.logChanges;
    if (changed) since = now;
    if (changed && afterSent && !afterAcked && AckInLog(window.dialog, *afterJobId, 1024)) {
      afterAcked = now;
    }
    if (Ended(acks)) complete = true;
    const bool afterDone = !afterJobId || afterAcked;
    return (complete && afterDone) || (pubs.empty() && now - since >= std::chrono::seconds(2));
  });
  const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
  const double otherCpu =
      static_cast<double>(ProcessCpuNs() - cpu - (ThreadCpuNs() - windowCpu)) / 1e9;
  heartbeat.Stop();
  if (!complete) StopProgram(acks, SIGTERM);
  if (after) RunUntil([&] { return Ended(*after); });
  state.SetIterationTime(elapsed);
  heartbeat.Report(state);
  state.counters["other_threads_cpu_pct"] = otherCpu / elapsed * 100;
  state.counters["acks"] = LineCount(ackFile);
  state.counters["acks_in_order_code_0"] =
      AcksInOrder(ackFile, kQos1FirstId, flood.publishers, flood.jobsEach);
  state.counters["jobs_lost"] = LostJobsInLog(window.dialog);
  state.counters["backlog_peak_messages"] =
      static_cast<double>(static_cast<BacklogSink&>(window.dialog.Sink()).Backlog().PeakMessages());
  state.counters["drop_lines_in_log"] = DropLinesInLog(window.dialog);
  if (afterJobId) {
    state.counters["next_ack_ms"] = afterAcked ? Seconds(*afterAcked - *afterSent) * 1000 : -1;
  }
}

// The flood (see RunQos1Flood); then, with disconnectInFlood, the same flood
// again with a Disconnect one second into it, timed until the window shows
// the disconnected state.
void BenchQos1Flood(benchmark::State& state, const Qos1Flood& flood,
                    std::optional<std::uint32_t> afterJobId, bool disconnectInFlood = false) {
  ConnectedWindow window;
  if (!window.connected) {
    state.SkipWithError("simulator did not connect");
    return;
  }
  TempDir dir;
  const std::vector<std::string> files =
      WriteFloodFiles(dir, "qos1-", flood.publishers, flood.jobsEach, kQos1FirstId, flood.jobBytes);
  for (auto _ : state) {
    RunQos1Flood(state, window, flood, files, dir.File("acks"), afterJobId);
  }
  state.counters["rss_peak_MiB"] = MemoryMiB("VmHWM:");
  if (disconnectInFlood) {
    state.counters["disconnect_in_flood_ms"] = DisconnectInFlood(
        window.dialog, [&] { return StartPublishers(files); }, AllEnded);
  }
}

// 4 × 25 000 receipt jobs at QoS 1: every one must be acknowledged in order.
// Counters: acknowledgements received, of them with code 0 in their
// publisher's order, jobs lost past the ceiling, peak memory, longest block,
// the CPU share of the threads other than the window's (the MQTT library's:
// a held message must not make them spin), and the drop lines in the log.
void BM_SimulatorWindowQos1Flood(benchmark::State& state) {
  BenchQos1Flood(state, {4, 25000, 0}, std::nullopt);
}

// 4 × 400 jobs of 1 MiB at QoS 1, then a normal job.
void BM_SimulatorWindowQos1LongFlood(benchmark::State& state) {
  BenchQos1Flood(state, {4, 400, std::size_t{1} << 20}, 7000001);
}

// 6 × 50 000 receipt jobs at QoS 1, then a normal job; then the same flood
// again with a Disconnect one second into it, timed until the window shows
// the disconnected state.
void BM_SimulatorWindowQos1BigFlood(benchmark::State& state) {
  BenchQos1Flood(state, {6, 50000, 0}, 7000002, true);
}

void BM_MosquittoSubBurst(benchmark::State& state) {
  const std::string file = WriteBurstFile(1);
  RunMosquittoSubBursts(state, Broker(), kJobTopic, kBurst, [&] { return PublishBurst(file); });
}

BENCHMARK(BM_SimulatorWindowBurst)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MosquittoSubBurst)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimulatorWindowLongMessage)
    ->ArgsProduct({{1 << 20, 16 << 20}, {0, 1, 2}, {0, 1}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimulatorWindowFlood)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimulatorWindowQos1Flood)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimulatorWindowQos1LongFlood)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimulatorWindowQos1BigFlood)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm::test
