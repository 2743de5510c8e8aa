// SPDX-License-Identifier: MIT
// The program's one connection to a USB printer's device node.
#include "usb/UsbPrinterPort.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "text/TextHelpers.h"
#include "usb/UsbInterfaceSet.h"

namespace qm {
namespace {

// Milliseconds left until the deadline, rounded up so that a poll never
// returns early and spins on a zero time-out.
int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
  const auto left = deadline - std::chrono::steady_clock::now();
  if (left <= std::chrono::steady_clock::duration::zero()) {
    return 0;
  }
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

// How far a write got: done, not finished (a transfer may still be out) or
// failed on the device's side (unplugged, hung up, an I/O error).
enum class Progress { kDone, kUnfinished, kFailed };

// Waits for POLLOUT: room for more data, and on the usblp driver also that no
// transfer is outstanding any more.
Progress WaitWritable(int fd, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const int timeout = MillisecondsLeft(deadline);
    if (timeout == 0) {
      return Progress::kUnfinished;
    }
    pollfd entry{fd, POLLOUT, 0};
    const int ready = ::poll(&entry, 1, timeout);
    // A poll that ends on its time-out or a signal checks the deadline again,
    // so the device always gets the full time.
    if (ready == 0 || (ready < 0 && errno == EINTR)) {
      continue;
    }
    // A poll that fails cannot tell whether the transfer went out.
    if (ready < 0) {
      return Progress::kUnfinished;
    }
    const bool writable = (entry.revents & POLLOUT) != 0;
    const bool broken = (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
    return writable && !broken ? Progress::kDone : Progress::kFailed;
  }
}

// Hands the frame to the device as it takes it: the usblp driver takes at
// most 8 KiB per write() in non-blocking mode.
Progress HandOver(int fd, const std::vector<std::uint8_t>& frame,
                  std::chrono::steady_clock::time_point deadline) {
  std::size_t written = 0;
  while (written < frame.size()) {
    const ssize_t n = ::write(fd, frame.data() + written, frame.size() - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) {
      continue;
    }
    // A device that reports 0 bytes taken would make the wait spin; it counts
    // as a short write, with what went before possibly still out.
    if (n == 0) {
      return Progress::kUnfinished;
    }
    if (errno != EAGAIN && errno != EWOULDBLOCK) {
      return Progress::kFailed;
    }
    const Progress wait = WaitWritable(fd, deadline);
    if (wait != Progress::kDone) {
      return wait;
    }
  }
  return Progress::kDone;
}

// A zero-size write after POLLOUT: 0 while the printer is there and its
// transfer has ended, EAGAIN while the transfer is still out (the driver also
// reports POLLOUT when the printer is out of paper), ENODEV once it is gone.
Progress CheckTransferEnded(int fd) {
  ssize_t n = 0;
  do {
    n = ::write(fd, "", 0);
  } while (n < 0 && errno == EINTR);
  if (n == 0) {
    return Progress::kDone;
  }
  return errno == EAGAIN || errno == EWOULDBLOCK ? Progress::kUnfinished : Progress::kFailed;
}

// In non-blocking mode the driver returns from write() once it has handed the
// last block to the USB stack, before the printer has taken it; POLLOUT comes
// only when that transfer has gone out.
Progress WaitGoneOut(int fd, std::chrono::steady_clock::time_point deadline) {
  const Progress wait = WaitWritable(fd, deadline);
  return wait == Progress::kDone ? CheckTransferEnded(fd) : wait;
}

}  // namespace

UsbPrinterPort::UsbPrinterPort() = default;

UsbPrinterPort::~UsbPrinterPort() { Close(); }

bool UsbPrinterPort::Open(const std::u16string& path) {
  if (path.empty()) {
    return false;
  }
  m_openError = OpenError::kNone;
  if (m_isOpen) {
    if (AsciiLowerCopy(m_devicePath) == AsciiLowerCopy(path)) {
      return true;
    }
    Close();
  }
  m_devicePath = path;
  return OpenNode();
}

bool UsbPrinterPort::OpenNode() {
  const std::string node = WideToUtf8(DeviceNodeOfPath(m_devicePath));
  if (node.empty()) {
    m_openError = OpenError::kOther;
    return false;
  }
  const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  const int openError = errno;
  m_fd.reset(FileDescriptor(fd));
  m_isOpen = m_fd != nullptr;
  if (!m_isOpen) {
    const bool denied = openError == EACCES || openError == EPERM;
    m_openError = denied ? OpenError::kNoPermission : OpenError::kOther;
  }
  return m_isOpen;
}

void UsbPrinterPort::Close() {
  m_fd.reset();
  m_isOpen = false;
}

bool UsbPrinterPort::Write(const std::vector<std::uint8_t>& frame) {
  if (frame.empty() || !m_isOpen) {
    return false;
  }
  // One request with one deadline, for handing the frame over and for its
  // last transfer to go out.
  const int fd = m_fd.get().fd;
  const auto deadline = std::chrono::steady_clock::now() + kWriteTimeout;
  Progress progress = HandOver(fd, frame, deadline);
  if (progress == Progress::kDone) {
    progress = WaitGoneOut(fd, deadline);
  }
  if (progress == Progress::kUnfinished) {
    EndTransfer();
  }
  return progress == Progress::kDone;
}

void UsbPrinterPort::EndTransfer() {
  // Closing the node is the driver's only way to end a transfer the printer
  // does not take; the node opened again gives the next write a fresh one.
  Close();
  m_openError = OpenError::kNone;
  OpenNode();
}

}  // namespace qm
