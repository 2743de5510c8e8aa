// SPDX-License-Identifier: MIT
#include "config/TestCertificates.h"

#include <openssl/pem.h>
#include <openssl/x509.h>

#include <ctime>
#include <memory>
#include <stdexcept>

namespace qm::test {
namespace {

using Bio = std::unique_ptr<BIO, int (*)(BIO*)>;

// One for the run: making it is the slow part.
EVP_PKEY* EcKey() {
  static EVP_PKEY* const key = EVP_EC_gen("P-256");
  return key;
}

std::string TextOf(const Bio& bio) {
  char* data = nullptr;
  const long length = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(length));
}

}  // namespace

NameEntry Utf8Entry(std::string field, std::string value) {
  return NameEntry{std::move(field), std::move(value), MBSTRING_UTF8};
}

CertificateParams FreshParams() {
  CertificateParams p;
  p.subject = {Utf8Entry("C", "CN"), Utf8Entry("O", "Tessaline Test"),
               Utf8Entry("CN", "Quillmark Test CA")};
  p.notAfter = (p.notBefore = std::time(nullptr) - 86400) + 366 * 86400;
  return p;
}

std::string MakeCertificatePem(const CertificateParams& p) {
  EVP_PKEY* const key = EcKey();
  const std::unique_ptr<X509, void (*)(X509*)> cert(X509_new(), X509_free);
  X509* c = cert.get();
  bool ok = X509_set_version(c, 2) && ASN1_INTEGER_set(X509_get_serialNumber(c), 4242) &&
            ASN1_TIME_set(X509_getm_notBefore(c), p.notBefore) &&
            ASN1_TIME_set(X509_getm_notAfter(c), p.notAfter);
  for (const auto& [name, entries] :
       {std::pair{X509_get_subject_name(c), &p.subject},
        {X509_get_issuer_name(c), p.issuer.empty() ? &p.subject : &p.issuer}}) {
    for (const NameEntry& e : *entries) {
      ok = ok && X509_NAME_add_entry_by_txt(name, e.field.c_str(), e.type,
                                            reinterpret_cast<const unsigned char*>(e.value.data()),
                                            static_cast<int>(e.value.size()), -1, 0);
    }
  }
  const Bio bio(BIO_new(BIO_s_mem()), BIO_free);
  if (!ok || !X509_set_pubkey(c, key) || !X509_sign(c, key, EVP_sha256()) ||
      !PEM_write_bio_X509(bio.get(), c)) {
    throw std::runtime_error("certificate");
  }
  return TextOf(bio);
}

std::string MakePrivateKeyPem(KeyForm form) {
  const Bio bio(BIO_new(BIO_s_mem()), BIO_free);
  const std::unique_ptr<EVP_PKEY, void (*)(EVP_PKEY*)> rsa(
      form == KeyForm::kRsa ? EVP_RSA_gen(1024) : nullptr, EVP_PKEY_free);
  static char password[] = "secret";
  int ok = 0;
  if (form == KeyForm::kPkcs8) {
    ok = PEM_write_bio_PrivateKey(bio.get(), EcKey(), nullptr, nullptr, 0, nullptr, nullptr);
  } else if (form == KeyForm::kEncrypted) {
    ok = PEM_write_bio_PKCS8PrivateKey(bio.get(), EcKey(), EVP_aes_128_cbc(), password, 6, nullptr,
                                       nullptr);
  } else {
    ok = PEM_write_bio_PrivateKey_traditional(bio.get(), rsa ? rsa.get() : EcKey(), nullptr,
                                              nullptr, 0, nullptr, nullptr);
  }
  if (!ok) throw std::runtime_error("private key");
  return TextOf(bio);
}

}  // namespace qm::test
