// SPDX-License-Identifier: MIT
#include "usb/FifoDevice.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "text/TextHelpers.h"

namespace qm::test {
static int Checked(int r, const char* what) { return r < 0 ? throw std::runtime_error(what) : r; }

FifoDevice::FifoDevice() {
  Checked(::mkdtemp(m_folder.data()) == nullptr ? -1 : 0, "mkdtemp");
  m_path = m_folder + "/lp0";
  Checked(::mkfifo(m_path.c_str(), 0600), "mkfifo");
  m_reader = Checked(::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), "FIFO reader");
}

FifoDevice::~FifoDevice() {
  ::close(m_reader);
  std::filesystem::remove_all(m_folder);
}

std::u16string FifoDevice::WidePath() const { return Utf8ToWide(m_path); }

std::size_t FifoDevice::FillUp() {
  const int writer = Checked(::open(m_path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC), "writer");
  const std::vector<std::uint8_t> filler(65536, 0xAA);
  std::size_t total = 0;
  for (const std::size_t piece : {65536, 4096, 1})  // no room left even in a partly used page
    for (ssize_t n; (n = ::write(writer, filler.data(), piece)) > 0;) total += n;
  ::close(writer);
  return total;
}

std::vector<std::uint8_t> FifoDevice::Drain() {
  std::vector<std::uint8_t> bytes;
  std::uint8_t b[65536];
  for (ssize_t n; (n = ::read(m_reader, b, sizeof b)) > 0;) bytes.insert(bytes.end(), b, b + n);
  return bytes;
}

}  // namespace qm::test
