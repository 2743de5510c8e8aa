// SPDX-License-Identifier: MIT
#include "config/TestCertificates.h"

#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <ctime>
#include <memory>
#include <stdexcept>

namespace qm::test {
namespace {

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

// One key per test run: generating it is the slow part.
EVP_PKEY* SigningKey() {
  static const std::unique_ptr<EVP_PKEY, void (*)(EVP_PKEY*)> key(EVP_EC_gen("P-256"),
                                                                  EVP_PKEY_free);
  Check(key != nullptr, "EC key generation");
  return key.get();
}

void SetName(X509* cert, const std::vector<NameEntry>& entries, bool issuer) {
  X509_NAME* name = X509_NAME_new();
  bool ok = true;
  for (const NameEntry& e : entries) {
    ok = ok && X509_NAME_add_entry_by_txt(name, e.field.c_str(), e.type,
                                          reinterpret_cast<const unsigned char*>(e.value.data()),
                                          static_cast<int>(e.value.size()), -1, 0) == 1;
  }
  ok = ok && (issuer ? X509_set_issuer_name(cert, name) : X509_set_subject_name(cert, name)) == 1;
  X509_NAME_free(name);
  Check(ok, "name");
}

void AddAltName(X509* cert, int nid, const std::string& value) {
  if (value.empty()) return;
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, nullptr, nid, value.c_str());
  Check(extension != nullptr && X509_add_ext(cert, extension, -1) == 1, "alternative name");
  X509_EXTENSION_free(extension);
}

// Runs write on a memory BIO and returns what it wrote.
template <typename Write>
std::string Written(Write write) {
  BIO* bio = BIO_new(BIO_s_mem());
  const bool ok = write(bio) == 1;
  char* data = nullptr;
  const long length = BIO_get_mem_data(bio, &data);
  std::string text(data, static_cast<std::size_t>(length));
  BIO_free(bio);
  Check(ok, "PEM write");
  return text;
}

std::unique_ptr<X509, void (*)(X509*)> MakeCertificate(const CertificateParams& p) {
  std::unique_ptr<X509, void (*)(X509*)> cert(X509_new(), X509_free);
  X509* c = cert.get();
  Check(X509_set_version(c, 2) == 1 && ASN1_INTEGER_set(X509_get_serialNumber(c), 4242) == 1 &&
            ASN1_TIME_set(X509_getm_notBefore(c), static_cast<time_t>(p.notBefore)) &&
            ASN1_TIME_set(X509_getm_notAfter(c), static_cast<time_t>(p.notAfter)),
        "certificate fields");
  SetName(c, p.subject, false);
  SetName(c, p.issuer.empty() ? p.subject : p.issuer, true);
  AddAltName(c, NID_subject_alt_name, p.subjectAltName);
  AddAltName(c, NID_issuer_alt_name, p.issuerAltName);
  Check(X509_set_pubkey(c, SigningKey()) == 1 && X509_sign(c, SigningKey(), EVP_sha256()) > 0,
        "signature");
  return cert;
}

}  // namespace

NameEntry Utf8Entry(std::string field, std::string value) {
  return NameEntry{std::move(field), std::move(value), MBSTRING_UTF8};
}

CertificateParams FreshParams() {
  const std::int64_t now = std::time(nullptr);
  CertificateParams params;
  params.subject = {Utf8Entry("C", "CN"), Utf8Entry("O", "Tessaline Test"),
                    Utf8Entry("CN", "Quillmark Test CA")};
  params.notBefore = now - 86400;
  params.notAfter = now + 365 * 86400;
  return params;
}

std::string MakeCertificatePem(const CertificateParams& params) {
  const auto cert = MakeCertificate(params);
  return Written([&](BIO* bio) { return PEM_write_bio_X509(bio, cert.get()); });
}

std::vector<std::uint8_t> MakeCertificateDer(const CertificateParams& params) {
  const auto cert = MakeCertificate(params);
  return Bytes(Written([&](BIO* bio) { return i2d_X509_bio(bio, cert.get()); }));
}

std::string MakePrivateKeyPem() {
  return Written([](BIO* bio) {
    return PEM_write_bio_PrivateKey(bio, SigningKey(), nullptr, nullptr, 0, nullptr, nullptr);
  });
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace qm::test
