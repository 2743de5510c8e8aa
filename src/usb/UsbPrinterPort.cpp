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

// Waits until the device takes data again. False on time-out, on an error of
// the device (unplugged, hung up) or of poll itself.
bool WaitWritable(int fd, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const int timeout = MillisecondsLeft(deadline);
    if (timeout == 0) {
      return false;
    }
    pollfd entry{fd, POLLOUT, 0};
    const int ready = ::poll(&entry, 1, timeout);
    // A poll that ends on its time-out or a signal checks the deadline again,
    // so the device always gets the full time.
    if (ready == 0 || (ready < 0 && errno == EINTR)) {
      continue;
    }
    if (ready < 0) {
      return false;
    }
    return (entry.revents & POLLOUT) != 0 && (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) == 0;
  }
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
  const std::string node = WideToUtf8(DeviceNodeOfPath(path));
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
  // One request with one deadline: the usblp driver takes at most 8 KiB per
  // write() in non-blocking mode, so larger frames go in as the device takes
  // them, waiting in poll() between the pieces.
  const int fd = m_fd.get().fd;
  const auto deadline = std::chrono::steady_clock::now() + kWriteTimeout;
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
    // as a short write, like any error other than "try again".
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
      return false;
    }
    if (!WaitWritable(fd, deadline)) {
      return false;
    }
  }
  return true;
}

}  // namespace qm
