// SPDX-License-Identifier: MIT
// A named pipe standing in for a printer's device node in the tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <vector>

namespace qm::test {

// A pipe of one page (pipeBytes 4096) behaves like the usblp driver where the port relies on it:
// a write that fits returns at once, and POLLOUT comes back only once the reader has read it empty.
class FifoDevice final {
 public:
  explicit FifoDevice(int pipeBytes = 0);  // 0: the system's default size
  ~FifoDevice();
  FifoDevice(const FifoDevice&) = delete;
  const std::string& Path() const { return m_path; }
  std::u16string WidePath() const;
  std::size_t FillUp();  // 0xAA until no single byte more fits; returns how many went in
  std::vector<std::uint8_t> Drain();  // everything received so far, without waiting
  std::size_t Unread() const;         // bytes in the pipe the reader has not read yet
  // A reader on its own thread that drains every period until count bytes came (at most 20 s).
  std::future<std::vector<std::uint8_t>> ReadEvery(std::chrono::milliseconds period,
                                                   std::size_t count);

 private:
  std::string m_folder = "/tmp/qm-usb-XXXXXX", m_path;
  int m_reader = -1;
};

}  // namespace qm::test
