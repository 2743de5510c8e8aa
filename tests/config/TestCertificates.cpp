// SPDX-License-Identifier: MIT
#include "config/TestCertificates.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <ctime>
#include <memory>
#include <stdexcept>

namespace qm::test {
namespace {

struct Free {
  void operator()(X509* p) const { X509_free(p); }
  void operator()(X509_NAME* p) const { X509_NAME_free(p); }
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
  void operator()(BIO* p) const { BIO_free(p); }
};

template <typename T>
using Owned = std::unique_ptr<T, Free>;

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

// One key per test run: generating it is the slow part.
EVP_PKEY* SigningKey() {
  static const Owned<EVP_PKEY> key(EVP_EC_gen("P-256"));
  Check(key != nullptr, "EC key generation");
  return key.get();
}

Owned<X509_NAME> MakeName(const std::vector<NameEntry>& entries) {
  Owned<X509_NAME> name(X509_NAME_new());
  for (const NameEntry& e : entries) {
    Check(X509_NAME_add_entry_by_txt(name.get(), e.field.c_str(), e.type,
                                     reinterpret_cast<const unsigned char*>(e.value.data()),
                                     static_cast<int>(e.value.size()), -1, 0) == 1,
          "name entry");
  }
  return name;
}

void AddAltName(X509* cert, int nid, const std::string& value) {
  if (value.empty()) return;
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, nullptr, nid, value.c_str());
  Check(extension != nullptr && X509_add_ext(cert, extension, -1) == 1, "alternative name");
  X509_EXTENSION_free(extension);
}

Owned<X509> MakeCertificate(const CertificateParams& params) {
  Owned<X509> cert(X509_new());
  Check(X509_set_version(cert.get(), 2) == 1, "version");
  Check(ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 4242) == 1, "serial");
  const Owned<X509_NAME> subject = MakeName(params.subject);
  const Owned<X509_NAME> issuer = MakeName(params.issuer.empty() ? params.subject : params.issuer);
  Check(X509_set_subject_name(cert.get(), subject.get()) == 1, "subject");
  Check(X509_set_issuer_name(cert.get(), issuer.get()) == 1, "issuer");
  Check(ASN1_TIME_set(X509_getm_notBefore(cert.get()), static_cast<time_t>(params.notBefore)) !=
            nullptr,
        "notBefore");
  Check(ASN1_TIME_set(X509_getm_notAfter(cert.get()), static_cast<time_t>(params.notAfter)) !=
            nullptr,
        "notAfter");
  AddAltName(cert.get(), NID_subject_alt_name, params.subjectAltName);
  AddAltName(cert.get(), NID_issuer_alt_name, params.issuerAltName);
  Check(X509_set_pubkey(cert.get(), SigningKey()) == 1, "public key");
  Check(X509_sign(cert.get(), SigningKey(), EVP_sha256()) > 0, "signature");
  return cert;
}

std::string BioText(BIO* bio) {
  char* data = nullptr;
  const long length = BIO_get_mem_data(bio, &data);
  return std::string(data, static_cast<std::size_t>(length));
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
  const Owned<X509> cert = MakeCertificate(params);
  const Owned<BIO> bio(BIO_new(BIO_s_mem()));
  Check(PEM_write_bio_X509(bio.get(), cert.get()) == 1, "PEM write");
  return BioText(bio.get());
}

std::vector<std::uint8_t> MakeCertificateDer(const CertificateParams& params) {
  const Owned<X509> cert = MakeCertificate(params);
  unsigned char* der = nullptr;
  const int length = i2d_X509(cert.get(), &der);
  Check(length > 0, "DER write");
  std::vector<std::uint8_t> out(der, der + length);
  OPENSSL_free(der);
  return out;
}

std::string MakePrivateKeyPem() {
  const Owned<EVP_PKEY> key(EVP_EC_gen("P-256"));
  Check(key != nullptr, "EC key generation");
  const Owned<BIO> bio(BIO_new(BIO_s_mem()));
  Check(PEM_write_bio_PrivateKey(bio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) ==
            1,
        "key write");
  return BioText(bio.get());
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace qm::test
