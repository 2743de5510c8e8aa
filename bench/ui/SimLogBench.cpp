// SPDX-License-Identifier: MIT
// The simulator window's message log: the cost of one AppendLog with 0,
// 10 000 and 100 000 lines already in it, and the memory a full log takes.
// Offscreen, on a shown window.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <memory>
#include <string>

#include "ui/CMqttSimDlg.h"
#include "ui/FileChooser.h"

namespace {

class NoChooser final : public qm::FileChooser {
 public:
  QString ChooseOpenFile(QWidget*, const QString&, const QString&) override { return {}; }
  QString ChooseSaveFile(QWidget*, const QString&, const QString&) override { return {}; }
};

// A received test job as the log shows it: about 300 characters.
const std::u16string kLine =
    u"<- RECV [jobs/printer-01]: "
    u"{\"id\":1765000001,\"type\":5,\"vType\":-1,\"pType\":1,\"pWidth\":58,"
    u"\"pCopy\":1,\"contents\":[{\"cont\":\"JSON "
    u"Receipt\",\"type\":\"title\"},{\"cont\":\"TEST\",\"align\":\"left\"},"
    u"{\"both_sides\":[\"Amount\",\"1.00\"]},{\"cont\":\"TEST1234\",\"type\":\"qrcode\",\"align\":"
    u"\"center\"}]}";

struct Window {
  NoChooser chooser;
  qm::CMqttSimDlg dialog{nullptr, false, chooser};
  Window() {
    dialog.show();
    QApplication::processEvents();
  }
  void Fill(int lines) {
    for (int i = 0; i < lines; ++i) dialog.AppendLog(kLine, static_cast<qm::LogKind>(i % 4));
    QApplication::processEvents();
  }
};

// The log holds state.range(0) lines when the timing starts; a fixed number
// of appends keeps it near that length (at the cap, each append drops the
// oldest line).
void BM_AppendLog(benchmark::State& state) {
  Window window;
  window.Fill(static_cast<int>(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    window.dialog.AppendLog(kLine, static_cast<qm::LogKind>(++i % 4));
  }
  state.counters["lines"] = window.dialog.Log()->document()->blockCount();
}
BENCHMARK(BM_AppendLog)
    ->Arg(0)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

// The same with the window repainting after every line, as a slow trickle
// of messages would have it.
void BM_AppendLogAndPaint(benchmark::State& state) {
  Window window;
  window.Fill(static_cast<int>(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    window.dialog.AppendLog(kLine, static_cast<qm::LogKind>(++i % 4));
    window.dialog.Log()->viewport()->repaint();
  }
}
BENCHMARK(BM_AppendLogAndPaint)
    ->Arg(0)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(500)
    ->Unit(benchmark::kMicrosecond);

// Heap taken by a log of 100 000 such lines (the cap), shown.
void BM_LogMemory(benchmark::State& state) {
  for (auto _ : state) {
    const auto before = mallinfo2().uordblks;
    auto window = std::make_unique<Window>();
    window->Fill(100000);
    const auto after = mallinfo2().uordblks;
    state.counters["heap_MiB"] = static_cast<double>(after - before) / (1024.0 * 1024.0);
    state.counters["bytes_per_line"] = static_cast<double>(after - before) / 100000.0;
  }
}
BENCHMARK(BM_LogMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
