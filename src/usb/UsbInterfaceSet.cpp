// SPDX-License-Identifier: MIT
// The USB printer interfaces present right now, read from udev.
#include "usb/UsbInterfaceSet.h"

#include <dirent.h>
#include <libudev.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text/TextHelpers.h"

namespace qm {
namespace {

constexpr char kClassFolder[] = "/sys/class/usbmisc";

// A sysfs attribute or udev property; empty when the device has none.
std::string Text(const char* value) {
  return value != nullptr ? std::string(value) : std::string();
}

// An id attribute such as "1fc9" as four lower-case hex digits; 0000 when
// the attribute is missing or not a number.
std::string IdSegment(udev_device* usbDevice, const char* attribute) {
  const std::string raw = Text(udev_device_get_sysattr_value(usbDevice, attribute));
  char* end = nullptr;
  const unsigned long value = std::strtoul(raw.c_str(), &end, 16);
  const bool valid = !raw.empty() && end != nullptr && *end == '\0' && value <= 0xFFFF;
  char digits[5];
  std::snprintf(digits, sizeof digits, "%04lx", valid ? value : 0UL);
  return digits;
}

// The serial number, or the USB port name (such as 1-2) when the device has
// none, so that two printers without serials on different ports differ.
// '#' separates the path's segments and cannot appear inside one.
std::string SerialSegment(udev_device* usbDevice) {
  std::string serial = Text(udev_device_get_sysattr_value(usbDevice, "serial"));
  if (serial.empty()) {
    serial = Text(udev_device_get_sysname(usbDevice));
  }
  for (char& ch : serial) {
    if (ch == '#') {
      ch = '_';
    }
  }
  return serial;
}

bool IsUsbDevice(udev_device* device) {
  const char* subsystem = udev_device_get_subsystem(device);
  const char* devtype = udev_device_get_devtype(device);
  return subsystem != nullptr && devtype != nullptr && std::strcmp(subsystem, "usb") == 0 &&
         std::strcmp(devtype, "usb_device") == 0;
}

// The folder of the USB device a usblp node sits in, read from the node's
// own folder .../1-2/1-2:1.0/usbmisc/lp0 (device, its interface, the class
// folder); empty for any other layout.
std::string UsbDeviceFolderOf(const std::string& nodePath) {
  const std::size_t nodeCut = nodePath.rfind('/');
  if (nodeCut == std::string::npos || nodeCut == 0) {
    return {};
  }
  const std::size_t classCut = nodePath.rfind('/', nodeCut - 1);
  if (classCut == std::string::npos || classCut == 0 ||
      nodePath.compare(classCut + 1, nodeCut - classCut - 1, "usbmisc") != 0) {
    return {};
  }
  const std::size_t interfaceCut = nodePath.rfind('/', classCut - 1);
  if (interfaceCut == std::string::npos) {
    return {};
  }
  const std::string folder = nodePath.substr(0, interfaceCut);
  const std::string device = folder.substr(folder.rfind('/') + 1);
  const std::string interface = nodePath.substr(interfaceCut + 1, classCut - interfaceCut - 1);
  if (device.empty() || interface.compare(0, device.size() + 1, device + ":") != 0) {
    return {};
  }
  return folder;
}

// The USB device a printer node belongs to, with a reference of its own;
// null when there is none. Opening the device's folder at once spares
// udev's general walk up the tree, which resolves every folder on the way;
// the walk stays for any other layout.
UdevDevice UsbDeviceOf(udev* context, udev_device* node) {
  const std::string folder = UsbDeviceFolderOf(Text(udev_device_get_syspath(node)));
  if (!folder.empty()) {
    UdevDevice device(udev_device_new_from_syspath(context, folder.c_str()));
    if (device != nullptr && IsUsbDevice(device.get())) {
      return device;
    }
  }
  udev_device* parent = udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_device");
  return UdevDevice(parent != nullptr ? udev_device_ref(parent) : nullptr);
}

std::optional<std::string> NonEmpty(std::string text) {
  if (text.empty()) {
    return std::nullopt;
  }
  return text;
}

}  // namespace

UsbInterfaceSet::UsbInterfaceSet() : m_udev(udev_new()) {
  if (m_udev == nullptr) {
    return;
  }
  // The class folder lists exactly the usbmisc devices. A general udev
  // enumeration would resolve every device and all its ancestors once more
  // before we open them; the list is taken every second on the window
  // thread, so the cheaper walk is worth its few lines.
  const CHandle<DIR, ::closedir> folder(::opendir(kClassFolder));
  if (folder == nullptr) {
    return;  // no USB class device at all
  }
  while (const dirent* entry = ::readdir(folder.get())) {
    if (std::strncmp(entry->d_name, "lp", 2) != 0) {
      continue;
    }
    const std::string syspath = std::string(kClassFolder) + "/" + entry->d_name;
    UdevDevice node(udev_device_new_from_syspath(m_udev.get(), syspath.c_str()));
    if (node == nullptr) {
      continue;
    }
    UdevDevice usbDevice = UsbDeviceOf(m_udev.get(), node.get());
    if (usbDevice != nullptr) {
      m_interfaces.push_back({std::move(node), std::move(usbDevice)});
    }
  }
  // udev's order: by device path, whatever order the folder lists.
  std::sort(m_interfaces.begin(), m_interfaces.end(), [](const Interface& a, const Interface& b) {
    return std::strcmp(udev_device_get_syspath(a.node.get()),
                       udev_device_get_syspath(b.node.get())) < 0;
  });
}

std::u16string UsbInterfaceSet::InterfacePath(std::size_t index) const {
  if (index >= m_interfaces.size()) {
    return {};
  }
  const Interface& item = m_interfaces[index];
  udev_device* usbDevice = item.usbDevice.get();
  const std::string node = Text(udev_device_get_devnode(item.node.get()));
  if (node.empty()) {
    return {};
  }
  const std::string path = "usb#vid_" + IdSegment(usbDevice, "idVendor") + "&pid_" +
                           IdSegment(usbDevice, "idProduct") + "#" + SerialSegment(usbDevice) +
                           "#" + node;
  return Utf8ToWide(path);
}

std::optional<std::string> UsbInterfaceSet::Property(std::size_t index,
                                                     DeviceNameProperty property) const {
  if (index >= m_interfaces.size()) {
    return std::nullopt;
  }
  udev_device* usbDevice = m_interfaces[index].usbDevice.get();
  if (property == DeviceNameProperty::DeviceDescription) {
    return NonEmpty(Text(udev_device_get_property_value(usbDevice, "ID_MODEL_FROM_DATABASE")));
  }
  const std::string manufacturer = Text(udev_device_get_sysattr_value(usbDevice, "manufacturer"));
  const std::string product = Text(udev_device_get_sysattr_value(usbDevice, "product"));
  const char* blank = (!manufacturer.empty() && !product.empty()) ? " " : "";
  return NonEmpty(manufacturer + blank + product);
}

std::u16string DeviceNodeOfPath(const std::u16string& path) {
  const std::size_t hash = path.rfind(u'#');
  return hash == std::u16string::npos ? path : path.substr(hash + 1);
}

}  // namespace qm
