// SPDX-License-Identifier: MIT
// Certificates and keys made at run time for the certificate tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm::test {

// One attribute of an X.509 name. type is an OpenSSL string type: MBSTRING_UTF8
// converts the UTF-8 value; V_ASN1_* types store the bytes as they are.
struct NameEntry {
  std::string field;  // "CN", "OU", "O", "C", "emailAddress", ...
  std::string value;
  int type;
};

NameEntry Utf8Entry(std::string field, std::string value);

struct CertificateParams {
  std::vector<NameEntry> subject;
  std::vector<NameEntry> issuer;  // empty: the same as the subject
  // Alternative names in OpenSSL's configuration form ("email:a@b, DNS:c");
  // empty: no such extension.
  std::string subjectAltName;
  std::string issuerAltName;
  std::int64_t notBefore = 0;  // seconds since 1970-01-01 UTC
  std::int64_t notAfter = 0;
};

// Self-signed parameters, valid from one day ago for a year, CN "Quillmark Test CA".
CertificateParams FreshParams();

std::string MakeCertificatePem(const CertificateParams& params);
std::vector<std::uint8_t> MakeCertificateDer(const CertificateParams& params);

// A freshly generated EC private key in PEM (PKCS#8).
std::string MakePrivateKeyPem();

std::vector<std::uint8_t> Bytes(const std::string& text);

}  // namespace qm::test
