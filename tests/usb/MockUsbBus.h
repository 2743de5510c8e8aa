// SPDX-License-Identifier: MIT
// A fake USB bus under umockdev, on which tests plug in printers.
#pragma once

#include <optional>
#include <string>

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace qm::test {

// A printer as the kernel shows it: usb_device, printer interface, usbmisc lpN with its node.
struct FakePrinter {
  std::string port = "1-2";  // the USB port name, also the usb_device's name
  std::string vid = "1fc9", pid = "2016";
  std::optional<std::string> serial{}, manufacturer{}, product{};
  std::optional<std::string> modelFromDatabase{};  // udev's hwdb model name
  int lp = 0;
  bool hasUsbParent = true;  // false: a usbmisc lp device of no USB device
};

class MockUsbBus final {
 public:
  MockUsbBus();
  ~MockUsbBus();
  MockUsbBus(const MockUsbBus&) = delete;
  void operator=(const MockUsbBus&) = delete;

  static bool PreloadActive();  // the umockdev preload library is active
  void Plug(const FakePrinter& printer);
  void Add(const std::string& description);  // devices from a umockdev description
  void Clear();  // unplugs every printer; the host controller and its root hub stay

 private:
  UMockdevTestbed* m_testbed = nullptr;
};

}  // namespace qm::test
