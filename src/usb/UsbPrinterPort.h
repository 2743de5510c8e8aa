// SPDX-License-Identifier: MIT
// The program's one connection to a USB printer's device node.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "text/CHandle.h"

namespace qm {

// Opens a printer by its interface path (or a plain node path) and writes one
// frame at a time with a fixed deadline. The device is never read.
class UsbPrinterPort final {
 public:
  // How long one write may wait for the device to take every byte.
  static constexpr std::chrono::milliseconds kWriteTimeout{800};

  UsbPrinterPort();
  ~UsbPrinterPort();
  UsbPrinterPort(const UsbPrinterPort&) = delete;
  UsbPrinterPort& operator=(const UsbPrinterPort&) = delete;
  UsbPrinterPort(UsbPrinterPort&&) = delete;
  UsbPrinterPort& operator=(UsbPrinterPort&&) = delete;

  // True when the port is open on that path afterwards. An empty path changes
  // nothing; the open path (compared without regard to ASCII case) is not
  // opened twice; any other path closes the open device first.
  bool Open(const std::u16string& path);

  // Why the last Open that got a path, or the reopening after a write that did
  // not finish, failed; kNone after a successful one.
  // Permission failures have their own value: on Linux they mean the user is
  // outside the group that owns the device nodes, not a device problem.
  enum class OpenError { kNone, kNoPermission, kOther };
  OpenError LastOpenError() const { return m_openError; }

  // Closes the device if one is open. The remembered path stays.
  void Close();

  // True when the port is open and every byte of the non-empty frame has gone
  // out to the device within kWriteTimeout. A frame not gone out by then is
  // ended by closing the node and opening it again: the port stays open unless
  // that open fails (IsOpen false, LastOpenError says why). Other failures
  // leave the port open. The write has ended when this returns.
  bool Write(const std::vector<std::uint8_t>& frame);

  bool IsOpen() const { return m_isOpen; }

  // The path last given to Open, also after a failed open or a close.
  const std::u16string& DevicePath() const { return m_devicePath; }

 private:
  // Opens the node of m_devicePath; sets m_isOpen and, on failure, m_openError.
  bool OpenNode();
  // Ends a transfer still out: closes the node and opens it again.
  void EndTransfer();

  FdHandle m_fd;
  std::u16string m_devicePath;
  bool m_isOpen = false;
  OpenError m_openError = OpenError::kNone;
};

}  // namespace qm
