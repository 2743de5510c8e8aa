// SPDX-License-Identifier: MIT
// Costs of the device list (run every second on the window thread) and of
// sending one record pair.
#include <benchmark/benchmark.h>
#include <umockdev.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "usb/DeviceFrames.h"
#include "usb/FifoDevice.h"
#include "usb/UsbPrinterEnumeration.h"
#include "usb/UsbPrinterPort.h"

namespace {

// One printer on the fake udev tree: its usb_device, interface and usbmisc lpN node.
std::string FakePrinter(int i) {
  const std::string n = std::to_string(i), port = "1-" + std::to_string(i + 1),
                    device = "P: /devices/pci0000:00/0000:00:14.0/usb1/" + port,
                    interface = device + "/" + port + ":1.0";
  return device +
         "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: idVendor=0fe6\nA: idProduct=811e\n"
         "A: serial=SER0" +
         n + "\nA: manufacturer=ACME\nA: product=Receipt Printer\n\n" + interface +
         "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n\n" + interface + "/usbmisc/lp" + n +
         "\nN: usb/lp" + n + "\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/lp" + n +
         "\nE: MAJOR=180\nE: MINOR=" + n + "\n\n";
}

void BM_EnumerateFourPrinters(benchmark::State& state) {
  if (!umockdev_in_mock_environment()) {
    state.SkipWithError("run under umockdev-wrapper");
    return;
  }
  UMockdevTestbed* bed = umockdev_testbed_new();
  std::string tree =
      "P: /devices/pci0000:00/0000:00:14.0\nE: SUBSYSTEM=pci\n\n"
      "P: /devices/pci0000:00/0000:00:14.0/usb1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
      "A: idVendor=1d6b\nA: idProduct=0002\n\n";
  for (int i = 0; i < 4; ++i) tree += FakePrinter(i);
  umockdev_testbed_add_from_string(bed, tree.c_str(), nullptr);
  for (auto _ : state) {
    std::vector<qm::UsbPrinterInfo> list = qm::EnumerateUsbPrinters();
    if (list.size() != 4) {
      state.SkipWithError("the fake printers were not listed");
      break;
    }
    benchmark::DoNotOptimize(list);
  }
  g_object_unref(bed);
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
      if (device.Drain().empty()) std::this_thread::sleep_for(std::chrono::microseconds(200));
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
