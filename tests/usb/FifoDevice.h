// SPDX-License-Identifier: MIT
// A named pipe standing in for a printer's device node in the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm::test {

class FifoDevice final {
 public:
  FifoDevice();
  ~FifoDevice();
  FifoDevice(const FifoDevice&) = delete;
  const std::string& Path() const { return m_path; }
  std::u16string WidePath() const;
  std::size_t FillUp();  // 0xAA until no single byte more fits; returns how many went in
  std::vector<std::uint8_t> Drain();  // everything received so far, without waiting

 private:
  std::string m_folder = "/tmp/qm-usb-XXXXXX", m_path;
  int m_reader = -1;
};

}  // namespace qm::test
