// SPDX-License-Identifier: MIT
// Certificates made at run time for the certificate tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm::test {

// One attribute of an X.509 name; type MBSTRING_UTF8 converts, V_ASN1_* types keep the bytes.
struct NameEntry {
  std::string field, value;
  int type;
};
NameEntry Utf8Entry(std::string field, std::string value);

struct CertificateParams {
  std::vector<NameEntry> subject, issuer;    // no issuer: the subject
  std::int64_t notBefore = 0, notAfter = 0;  // seconds since 1970-01-01 UTC
};

// Self-signed, valid from one day ago for a year, CN "Quillmark Test CA".
CertificateParams FreshParams();
std::string MakeCertificatePem(const CertificateParams& params);

}  // namespace qm::test
