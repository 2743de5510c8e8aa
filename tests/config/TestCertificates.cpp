// SPDX-License-Identifier: MIT
#include "config/TestCertificates.h"

#include <openssl/pem.h>
#include <openssl/x509.h>

#include <ctime>
#include <memory>
#include <stdexcept>

namespace qm::test {

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
  static EVP_PKEY* const key = EVP_EC_gen("P-256");  // one for the run: making it is the slow part
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
  const std::unique_ptr<BIO, int (*)(BIO*)> bio(BIO_new(BIO_s_mem()), BIO_free);
  if (!ok || !X509_set_pubkey(c, key) || !X509_sign(c, key, EVP_sha256()) ||
      !PEM_write_bio_X509(bio.get(), c)) {
    throw std::runtime_error("certificate");
  }
  char* data = nullptr;
  const long length = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(length));
}

}  // namespace qm::test
