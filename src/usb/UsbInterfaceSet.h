// SPDX-License-Identifier: MIT
// The USB printer interfaces present right now, read from udev.
#pragma once

#include <libudev.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "text/CHandle.h"

namespace qm {

// The name properties a printer interface carries.
enum class DeviceNameProperty {
  FriendlyName,       // manufacturer and product strings joined by a blank
  DeviceDescription,  // the model name of the hardware database
};

using UdevDevice = CHandle<udev_device, udev_device_unref>;

// One snapshot of the present printer interfaces (usbmisc lp* devices with a
// parent USB device), in udev's order. Built afresh for each listing; it owns
// its udev handles and releases them when it goes. Movable, not copyable.
class UsbInterfaceSet final {
 public:
  UsbInterfaceSet();

  // False when udev could not be asked at all.
  bool IsValid() const { return m_udev != nullptr; }

  std::size_t Size() const { return m_interfaces.size(); }

  // usb#vid_VVVV&pid_PPPP#SERIAL#/dev/usb/lpN: the ids in lower-case hex, the
  // serial with '#' replaced (the USB port name such as 1-2 when the device
  // has none), then the node. Empty when the interface cannot be named.
  std::u16string InterfacePath(std::size_t index) const;

  // The raw UTF-8 value of a name property; nullopt when the device has none.
  std::optional<std::string> Property(std::size_t index, DeviceNameProperty property) const;

 private:
  struct Interface {
    UdevDevice node;       // the usbmisc lp* device
    UdevDevice usbDevice;  // the usb_device it belongs to
  };

  // Declared first, so that the devices go before the context.
  CHandle<struct udev, udev_unref> m_udev;
  std::vector<Interface> m_interfaces;
};

// The device node an interface path ends in: the text after its last '#', or
// the whole path when it has none (plain node paths open as they are).
std::u16string DeviceNodeOfPath(const std::u16string& path);

}  // namespace qm
