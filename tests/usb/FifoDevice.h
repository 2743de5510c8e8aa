// SPDX-License-Identifier: MIT
// A named pipe standing in for a printer's device node in the tests.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qm::test {

// Makes a FIFO "lp0" in a fresh temporary folder and keeps its reading end
// open, so that a port can open the FIFO as its device and the test can read
// back what the device received.
class FifoDevice final {
 public:
  FifoDevice();
  ~FifoDevice();
  FifoDevice(const FifoDevice&) = delete;
  FifoDevice& operator=(const FifoDevice&) = delete;

  const std::string& Path() const { return m_path; }
  std::u16string WidePath() const;

  // Shrinks (or grows) the pipe's buffer; returns the size the kernel chose.
  std::size_t SetCapacity(std::size_t bytes);
  // Fills the pipe until it takes no single byte more: a device that accepts
  // nothing. Returns how many bytes (all 0xAA) went in.
  std::size_t FillUp();
  // Everything received so far, without waiting.
  std::vector<std::uint8_t> Drain();
  // Reads in small pieces until `count` bytes arrived or the time is up, as a
  // slow device would while a write is running.
  std::vector<std::uint8_t> ReadExactly(std::size_t count, std::chrono::milliseconds limit);

 private:
  std::string m_folder;
  std::string m_path;
  int m_reader = -1;
};

// The number of file descriptors this process has open.
std::size_t OpenDescriptorCount();

}  // namespace qm::test
