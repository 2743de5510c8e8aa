// SPDX-License-Identifier: MIT
// A named pipe standing in for a printer's device node in the tests.
#include "usb/FifoDevice.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "text/TextHelpers.h"

namespace qm::test {

FifoDevice::FifoDevice(const std::string& name) {
  const char* base = std::getenv("TMPDIR");
  std::string folder = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/qm-usb-XXXXXX";
  if (::mkdtemp(folder.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  m_folder = folder;
  m_path = m_folder + "/" + name;
  if (::mkfifo(m_path.c_str(), 0600) != 0) {
    throw std::runtime_error("mkfifo failed");
  }
  m_reader = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (m_reader < 0) {
    throw std::runtime_error("cannot open the FIFO for reading");
  }
}

FifoDevice::~FifoDevice() {
  ::close(m_reader);
  ::unlink(m_path.c_str());
  ::rmdir(m_folder.c_str());
}

std::u16string FifoDevice::WidePath() const {
  return Utf8ToWide(m_path);
}

std::size_t FifoDevice::SetCapacity(std::size_t bytes) {
  const int size = ::fcntl(m_reader, F_SETPIPE_SZ, static_cast<int>(bytes));
  if (size < 0) {
    throw std::runtime_error("F_SETPIPE_SZ failed");
  }
  return static_cast<std::size_t>(size);
}

std::size_t FifoDevice::FillUp() {
  const int writer = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (writer < 0) {
    throw std::runtime_error("cannot open the FIFO for writing");
  }
  // Large pieces first, then single bytes, so that no room is left even in
  // a partly used page of the pipe.
  const std::vector<std::uint8_t> filler(65536, 0xAA);
  std::size_t total = 0;
  for (const std::size_t piece : {std::size_t{65536}, std::size_t{4096}, std::size_t{1}}) {
    for (;;) {
      const ssize_t n = ::write(writer, filler.data(), piece);
      if (n <= 0) {
        break;
      }
      total += static_cast<std::size_t>(n);
    }
  }
  ::close(writer);
  return total;
}

std::vector<std::uint8_t> FifoDevice::Drain() {
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = ::read(m_reader, buffer, sizeof buffer);
    if (n <= 0) {
      break;
    }
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  return bytes;
}

std::vector<std::uint8_t> FifoDevice::ReadExactly(std::size_t count, std::chrono::milliseconds limit) {
  std::vector<std::uint8_t> bytes;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::uint8_t buffer[1024];
  while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
    pollfd entry{m_reader, POLLIN, 0};
    if (::poll(&entry, 1, 50) <= 0) {
      continue;
    }
    // Small reads keep the writer waiting for room again and again.
    const std::size_t want = std::min(sizeof buffer, count - bytes.size());
    const ssize_t n = ::read(m_reader, buffer, want);
    if (n > 0) {
      bytes.insert(bytes.end(), buffer, buffer + n);
    }
  }
  return bytes;
}

std::size_t OpenDescriptorCount() {
  std::size_t count = 0;
  DIR* folder = ::opendir("/proc/self/fd");
  if (folder == nullptr) {
    throw std::runtime_error("cannot list /proc/self/fd");
  }
  while (const dirent* entry = ::readdir(folder)) {
    if (entry->d_name[0] != '.') {
      ++count;
    }
  }
  ::closedir(folder);
  return count - 1;  // the listing's own descriptor
}

}  // namespace qm::test
