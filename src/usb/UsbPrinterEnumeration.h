// SPDX-License-Identifier: MIT
// The list of USB printers offered to the user, and how a path is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "usb/UsbInterfaceSet.h"

namespace qm {

// One present printer interface.
struct UsbPrinterInfo {
  std::u16string devicePath;  // exactly as listed; what UsbPrinterPort opens
  std::u16string displayName;
  std::uint16_t vid = 0;  // 0 when the path has no "vid_"
  std::uint16_t pid = 0;  // 0 when the path has no "pid_"
};

// One device as the main window keeps it in its list.
struct UsbDeviceEntry {
  std::u16string devicePath;
  std::u16string displayName;
  std::uint16_t vid = 0;
  std::uint16_t pid = 0;
};

// The present printers in listing order. Never fails: a failure gives a
// shorter or empty list. Nothing is cached between calls.
std::vector<UsbPrinterInfo> EnumerateUsbPrinters();

// One entry per info, same order, fields copied.
std::vector<UsbDeviceEntry> ToDeviceEntries(const std::vector<UsbPrinterInfo>& infos);

// Both ids set to 0, then read (hex) after the first "vid_" and "pid_" of the
// path, found without regard to case.
void ParseVidPid(const std::u16string& devicePath, std::uint16_t& vid, std::uint16_t& pid);

// The text between the first two '#' after "vid_", at most 24 characters;
// empty when there is none.
std::u16string ExtractUsbSerial(const std::u16string& devicePath);

// One name property of a listed interface as text (up to its first NUL);
// empty when missing.
std::u16string GetDeviceRegistryString(const UsbInterfaceSet& set, std::size_t element,
                                       DeviceNameProperty property);

// The name (or "USB Printer"), then "  (VID_%04X PID_%04X)" when an id is
// not 0, then two blanks and the serial segment when it is not empty. Name
// and serial are shown as ShowableText: control characters become blanks,
// bidi formatting characters go. The device path keeps them.
std::u16string BuildDisplayName(const std::u16string& name, std::uint16_t vid, std::uint16_t pid,
                                const std::u16string& serial);

}  // namespace qm
