// SPDX-License-Identifier: MIT
#include "usb/FifoDevice.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <thread>

#include "text/TextHelpers.h"

namespace qm::test {
static int Checked(int r, const char* what) { return r < 0 ? throw std::runtime_error(what) : r; }

FifoDevice::FifoDevice(int pipeBytes) {
  Checked(::mkdtemp(m_folder.data()) == nullptr ? -1 : 0, "mkdtemp");
  m_path = m_folder + "/lp0";
  Checked(::mkfifo(m_path.c_str(), 0600), "mkfifo");
  m_reader = Checked(::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), "FIFO reader");
  if (pipeBytes > 0) Checked(::fcntl(m_reader, F_SETPIPE_SZ, pipeBytes), "F_SETPIPE_SZ");
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

std::future<std::vector<std::uint8_t>> FifoDevice::ReadEvery(std::chrono::milliseconds period,
                                                             std::size_t n) {
  return std::async(std::launch::async,
                    [this, period, n, got = std::vector<std::uint8_t>()]() mutable {
                      for (auto i = 20000 / period.count(); got.size() < n && i-- > 0;
                           std::this_thread::sleep_for(period)) {
                        std::uint8_t b[65536];
                        if (const ssize_t k = ::read(m_reader, b, sizeof b); k > 0)
                          got.insert(got.end(), b, b + k);
                      }
                      return got;
                    });
}

}  // namespace qm::test
