// SPDX-License-Identifier: MIT
// The list of USB printers offered to the user, and how a path is read.
#include "usb/UsbPrinterEnumeration.h"

#include <cstdio>

#include "text/ShowableText.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

constexpr std::size_t kMaxSerialLength = 24;
constexpr char16_t kFallbackName[] = u"USB Printer";

int HexDigitValue(char16_t ch) {
  if (ch >= u'0' && ch <= u'9') {
    return ch - u'0';
  }
  if (ch >= u'a' && ch <= u'f') {
    return ch - u'a' + 10;
  }
  if (ch >= u'A' && ch <= u'F') {
    return ch - u'A' + 10;
  }
  return -1;
}

// The hex number right after the first occurrence of the key in the
// lower-cased path, as its low 16 bits; an over-long number saturates at
// 0xFFFFFFFF first, as a 32-bit strtoul would. 0 when the key is absent.
std::uint16_t ReadIdAfter(const std::u16string& lowerPath, std::u16string_view key) {
  const std::size_t at = lowerPath.find(key);
  if (at == std::u16string::npos) {
    return 0;
  }
  std::uint64_t value = 0;
  for (std::size_t i = at + key.size(); i < lowerPath.size(); ++i) {
    const int digit = HexDigitValue(lowerPath[i]);
    if (digit < 0) {
      break;
    }
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFu) {
      value = 0xFFFFFFFFu;
    }
  }
  return static_cast<std::uint16_t>(value & 0xFFFF);
}

std::u16string FormatIds(std::uint16_t vid, std::uint16_t pid) {
  char text[32];
  std::snprintf(text, sizeof text, "VID_%04X PID_%04X", static_cast<unsigned>(vid),
                static_cast<unsigned>(pid));
  return Utf8ToWide(text);
}

}  // namespace

std::vector<UsbPrinterInfo> EnumerateUsbPrinters() {
  std::vector<UsbPrinterInfo> printers;
  const UsbInterfaceSet set;
  if (!set.IsValid()) {
    return printers;
  }
  printers.reserve(set.Size());
  for (std::size_t index = 0; index < set.Size(); ++index) {
    UsbPrinterInfo info;
    info.devicePath = set.InterfacePath(index);
    if (info.devicePath.empty()) {
      continue;
    }
    ParseVidPid(info.devicePath, info.vid, info.pid);
    std::u16string name = GetDeviceRegistryString(set, index, DeviceNameProperty::FriendlyName);
    if (name.empty()) {
      name = GetDeviceRegistryString(set, index, DeviceNameProperty::DeviceDescription);
    }
    info.displayName =
        BuildDisplayName(name, info.vid, info.pid, ExtractUsbSerial(info.devicePath));
    printers.push_back(std::move(info));
  }
  return printers;
}

std::vector<UsbDeviceEntry> ToDeviceEntries(const std::vector<UsbPrinterInfo>& infos) {
  std::vector<UsbDeviceEntry> entries;
  entries.reserve(infos.size());
  for (const UsbPrinterInfo& info : infos) {
    entries.push_back({info.devicePath, info.displayName, info.vid, info.pid});
  }
  return entries;
}

void ParseVidPid(const std::u16string& devicePath, std::uint16_t& vid, std::uint16_t& pid) {
  const std::u16string lower = AsciiLowerCopy(devicePath);
  vid = ReadIdAfter(lower, u"vid_");
  pid = ReadIdAfter(lower, u"pid_");
}

std::u16string ExtractUsbSerial(const std::u16string& devicePath) {
  const std::size_t vidAt = AsciiLowerCopy(devicePath).find(u"vid_");
  if (vidAt == std::u16string::npos) {
    return {};
  }
  const std::size_t first = devicePath.find(u'#', vidAt);
  if (first == std::u16string::npos) {
    return {};
  }
  const std::size_t second = devicePath.find(u'#', first + 1);
  if (second == std::u16string::npos) {
    return {};
  }
  // Never keeps half of a surrogate pair: it would show as a broken glyph.
  return TruncateUtf16(devicePath.substr(first + 1, second - first - 1), kMaxSerialLength);
}

std::u16string GetDeviceRegistryString(const UsbInterfaceSet& set, std::size_t element,
                                       DeviceNameProperty property) {
  const std::optional<std::string> value = set.Property(element, property);
  if (!value) {
    return {};
  }
  // The conversion stops at the first NUL, so only the first string of a
  // multi-string value is used.
  return Utf8ToWide(*value);
}

std::u16string BuildDisplayName(const std::u16string& name, std::uint16_t vid, std::uint16_t pid,
                                const std::u16string& serial) {
  // Name and serial are the device's own text: a USB gadget can say
  // anything, so they are made safe before the program's part joins them.
  const std::u16string shownName = ShowableText(name);
  const std::u16string shownSerial = ShowableText(serial);
  std::u16string display = shownName.empty() ? std::u16string(kFallbackName) : shownName;
  if (vid != 0 || pid != 0) {
    display += u"  (" + FormatIds(vid, pid) + u")";
  }
  if (!shownSerial.empty()) {
    display += u"  " + shownSerial;
  }
  return display;
}

}  // namespace qm
