// SPDX-License-Identifier: MIT
// A named pipe standing in for a printer's device node in the tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <vector>

namespace qm::test {

class FifoDevice final {
 public:
  explicit FifoDevice(int pipeBytes = 0);  // 4096: POLLOUT only once read empty, as on usblp
  ~FifoDevice();
  FifoDevice(const FifoDevice&) = delete;
  const std::string& Path() const { return m_path; }
  std::u16string WidePath() const;
  std::size_t FillUp();  // 0xAA until no single byte more fits; returns how many went in
  std::vector<std::uint8_t> Drain();  // everything received so far, without waiting
  // A reader on its own thread: one read a period until count bytes came (at most 20 s).
  std::future<std::vector<std::uint8_t>> ReadEvery(std::chrono::milliseconds period, std::size_t n);

 private:
  std::string m_folder = "/tmp/qm-usb-XXXXXX", m_path;
  int m_reader = -1;
};

}  // namespace qm::test
