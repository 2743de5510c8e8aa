// SPDX-License-Identifier: MIT
// A named pipe standing in for a printer's device node in the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qm::test {

class FifoDevice final {
 public:
  FifoDevice();
  ~FifoDevice();
  FifoDevice(const FifoDevice&) = delete;
  FifoDevice& operator=(const FifoDevice&) = delete;

  const std::string& Path() const { return m_path; }
  std::u16string WidePath() const;
  std::size_t SetCapacity(std::size_t bytes);  // the pipe's buffer; returns the kernel's choice
  std::size_t FillUp();  // 0xAA until no single byte more fits; returns how many went in
  std::vector<std::uint8_t> Drain();  // everything received so far, without waiting

 private:
  std::string m_folder;
  std::string m_path;
  int m_reader = -1;
};

std::size_t OpenDescriptorCount();  // file descriptors this process has open

}  // namespace qm::test
