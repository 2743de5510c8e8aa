// SPDX-License-Identifier: MIT
// The USB printer interfaces present right now, read from udev.
#include "usb/UsbInterfaceSet.h"

#include <libudev.h>

#include <cstdio>
#include <cstdlib>

#include "app/TextHelpers.h"

namespace qm {
namespace {

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
  udev_enumerate* enumerate = udev_enumerate_new(m_udev);
  if (enumerate == nullptr) {
    return;
  }
  if (udev_enumerate_add_match_subsystem(enumerate, "usbmisc") >= 0 &&
      udev_enumerate_add_match_sysname(enumerate, "lp*") >= 0 &&
      udev_enumerate_scan_devices(enumerate) >= 0) {
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
      udev_device* node = udev_device_new_from_syspath(m_udev, udev_list_entry_get_name(entry));
      if (node == nullptr) {
        continue;
      }
      // The parent belongs to the child device and goes with it.
      udev_device* usbDevice = udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_device");
      if (usbDevice == nullptr) {
        udev_device_unref(node);
        continue;
      }
      m_interfaces.push_back({node, usbDevice});
    }
  }
  udev_enumerate_unref(enumerate);
}

UsbInterfaceSet::~UsbInterfaceSet() {
  for (const Interface& item : m_interfaces) {
    udev_device_unref(item.node);
  }
  if (m_udev != nullptr) {
    udev_unref(m_udev);
  }
}

std::u16string UsbInterfaceSet::InterfacePath(std::size_t index) const {
  if (index >= m_interfaces.size()) {
    return {};
  }
  const Interface& item = m_interfaces[index];
  const std::string node = Text(udev_device_get_devnode(item.node));
  if (node.empty()) {
    return {};
  }
  const std::string path = "usb#vid_" + IdSegment(item.usbDevice, "idVendor") + "&pid_" +
                           IdSegment(item.usbDevice, "idProduct") + "#" +
                           SerialSegment(item.usbDevice) + "#" + node;
  return Utf8ToWide(path);
}

std::optional<std::string> UsbInterfaceSet::Property(std::size_t index,
                                                     DeviceNameProperty property) const {
  if (index >= m_interfaces.size()) {
    return std::nullopt;
  }
  udev_device* usbDevice = m_interfaces[index].usbDevice;
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
