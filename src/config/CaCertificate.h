// SPDX-License-Identifier: MIT
// Check of a CA certificate file for a device and the record that carries it.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// Result of one certificate check. When valid is false, data and the name and
// date texts are empty, format is 0 and both messages are set. When valid is
// set, data holds the file's 1 to 4096 bytes and the messages carry only an
// expiry warning.
struct CaCertInfo {
  bool valid = false;
  bool expired = false;
  bool notYetValid = false;
  std::int32_t format = 0;  // 1 = PEM once the certificate has decoded
  std::u16string path;
  std::u16string subject;
  std::u16string issuer;
  std::u16string validFrom;  // local time "YYYY-MM-DD hh:mm:ss"
  std::u16string validTo;
  std::u16string messageEn;
  std::u16string messageZh;
  std::vector<std::uint8_t> data;
};

// Reads the file and checks it: size, PEM text, no private key block, X.509
// structure, validity dates against the current time. Never fails; problems
// are in the result.
CaCertInfo ValidateCaCertificateFile(const std::u16string& path);

// The same check against a given current time.
CaCertInfo ValidateCaCertificateFile(const std::u16string& path,
                                     std::chrono::system_clock::time_point now);

// The same check on bytes already in memory; path stays empty.
CaCertInfo ValidateCaCertificateData(std::vector<std::uint8_t> data,
                                     std::chrono::system_clock::time_point now);

// TAB, LF, CR and the printable ASCII bytes 0x20 to 0x7E.
bool IsPemTextByte(std::uint8_t byte);

// {"mqttsca":"<escaped bytes>"} for the device, or empty when the bytes are
// refused: 10 bytes or fewer, no "-----BEGIN" followed by at least one byte,
// any byte that is not PEM text, or a private key block.
std::string BuildCaCertRecord(const std::vector<std::uint8_t>& data);

}  // namespace qm
