// SPDX-License-Identifier: MIT
// Fuzzes the CA certificate check, the PEM decoding and the device record.
#include <openssl/x509.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "config/CaCertificate.h"
#include "config/CertificateDecoding.h"

namespace {

// A fixed clock keeps every run reproducible.
constexpr std::int64_t kNowSeconds = 1900000000;

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckResult(const qm::CaCertInfo& info, const std::vector<std::uint8_t>& bytes) {
  if (!info.valid) {
    Require(info.data.empty() && info.format == 0 && !info.expired && !info.notYetValid);
    Require(!info.messageEn.empty() && !info.messageZh.empty());
    Require(info.subject.empty() && info.issuer.empty() && info.validFrom.empty());
    return;
  }
  Require(info.data == bytes && info.format == 1);
  Require(!bytes.empty() && bytes.size() <= 4096);
  Require(!info.subject.empty() && !info.issuer.empty());
  Require(info.validFrom.size() >= 19 && info.validTo.size() >= 19);
  Require(info.messageEn.empty() == !(info.expired || info.notYetValid));
}

void CheckRecord(const std::string& record, const qm::CaCertInfo& info) {
  // Every accepted certificate can be sent.
  Require(!info.valid || !record.empty());
  if (record.empty()) return;
  Require(record.rfind("{\"mqttsca\":\"", 0) == 0);
  Require(record.size() >= 14 && record.compare(record.size() - 2, 2, "\"}") == 0);
  Require(
      std::all_of(record.begin(), record.end(), [](char ch) { return ch >= 0x20 && ch <= 0x7E; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exactly sized copy, so that any read past the bytes is reported.
  const std::vector<std::uint8_t> bytes(data, data + size);
  const auto now = std::chrono::system_clock::time_point{std::chrono::seconds{kNowSeconds}};
  const qm::CaCertInfo info = qm::ValidateCaCertificateData(bytes, now);
  CheckResult(info, bytes);
  CheckRecord(qm::BuildCaCertRecord(bytes), info);

  // The decoder also takes bare base64 and texts without the marker window.
  if (const qm::X509Ptr cert = qm::DecodePemCertificate(bytes)) {
    Require(!qm::GetCertDisplayName(*cert).empty());
    if (const auto notAfter = qm::AsnTimeToUtc(X509_get0_notAfter(cert.get()))) {
      Require(qm::UtcTimeToLocalString(*notAfter).size() >= 19);
    }
  }
  return 0;
}
