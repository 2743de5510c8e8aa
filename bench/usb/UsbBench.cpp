// SPDX-License-Identifier: MIT
// Costs of the device list (run every second on the window thread) and of
// sending one record pair.
#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

#include "usb/DeviceFrames.h"
#include "usb/FifoDevice.h"
#include "usb/MockUsbBus.h"
#include "usb/UsbPrinterEnumeration.h"
#include "usb/UsbPrinterPort.h"

namespace {

void BM_EnumerateFourPrinters(benchmark::State& state) {
  if (!qm::test::MockUsbBus::PreloadActive()) {
    state.SkipWithError("run under umockdev-wrapper");
    return;
  }
  qm::test::MockUsbBus bus;
  for (int i = 0; i < 4; ++i) {
    qm::test::FakePrinter printer;
    printer.port = "1-" + std::to_string(i + 1);
    printer.lp = i;
    printer.serial = "SER0" + std::to_string(i);
    printer.manufacturer = "ACME";
    printer.product = "Receipt Printer";
    bus.Plug(printer);
  }
  for (auto _ : state) {
    std::vector<qm::UsbPrinterInfo> list = qm::EnumerateUsbPrinters();
    if (list.size() != 4) {
      state.SkipWithError("the fake printers were not listed");
      break;
    }
    benchmark::DoNotOptimize(list);
  }
}
BENCHMARK(BM_EnumerateFourPrinters)->Unit(benchmark::kMicrosecond);

void BM_SendRecordPairToFifo(benchmark::State& state) {
  qm::test::FifoDevice device;
  qm::UsbPrinterPort port;
  if (!port.Open(device.WidePath())) {
    state.SkipWithError("cannot open the FIFO");
    return;
  }
  // A reader drains the FIFO as a printer would, so it never fills up.
  std::atomic<bool> done{false};
  std::thread reader([&] {
    while (!done.load()) {
      device.ReadExactly(1 << 20, std::chrono::milliseconds(20));
    }
  });
  const std::string record(200, 'r');  // near the device's storage limit
  for (auto _ : state) {
    if (!qm::SendRecordPair(port, false, record, "SN0123456789")) {
      state.SkipWithError("write failed");
      break;
    }
  }
  done = true;
  reader.join();
}
BENCHMARK(BM_SendRecordPairToFifo)->Unit(benchmark::kMicrosecond);

}  // namespace
