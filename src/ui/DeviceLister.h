// SPDX-License-Identifier: MIT
// Where the main window gets its list of USB printers from.
#pragma once

#include <vector>

#include "usb/UsbPrinterEnumeration.h"

namespace qm {

class DeviceLister {
 public:
  virtual ~DeviceLister() = default;
  // The printers present now, in listing order.
  virtual std::vector<UsbDeviceEntry> ListPrinters() = 0;
};

// The printers udev lists.
class UdevDeviceLister final : public DeviceLister {
 public:
  std::vector<UsbDeviceEntry> ListPrinters() override {
    return ToDeviceEntries(EnumerateUsbPrinters());
  }
};

}  // namespace qm
