// SPDX-License-Identifier: MIT
// Simple display names beyond the name's CN, OU, O and e-mail attributes: the
// alternative names' first e-mail, then the name's first attribute.
#include <gtest/gtest.h>
#include <openssl/x509.h>

#include "config/CertificateDecoding.h"
#include "config/TestCertificates.h"

namespace qm {
namespace {

TEST(GetSimpleDisplayName, FallsBackToAltNameEmailThenFirstAttribute) {
  struct Case {
    std::vector<test::NameEntry> subject, issuer;
    std::string subjectAlt, issuerAlt;
    std::u16string subjectText, issuerText;
  };
  const auto de = test::Utf8Entry("C", "DE"), berlin = test::Utf8Entry("L", "Berlin");
  const Case cases[] = {
      {{de, berlin}, {berlin, de}, "", "", u"DE", u"Berlin"},
      {{de}, {de}, "DNS:h.example, email:s@x.org, email:t@x.org",
       "URI:http://i.example, email:i@x.org", u"s@x.org", u"i@x.org"},
      // Each side reads its own extension; a CN, OU, O or e-mail attribute wins.
      {{de}, {de}, "", "email:i@x.org", u"DE", u"i@x.org"},
      {{test::Utf8Entry("O", "Org")}, {de}, "email:s@x.org", "", u"Org", u"DE"},
      {{}, {{"L", "", V_ASN1_UTF8STRING}}, "DNS:s.example", "", u"", u""},
  };
  for (const Case& c : cases) {
    test::CertificateParams params = test::FreshParams();
    params.subject = c.subject;
    params.issuer = c.issuer;
    params.subjectAltName = c.subjectAlt;
    params.issuerAltName = c.issuerAlt;
    const std::vector<std::uint8_t> der = test::MakeCertificateDer(params);
    const unsigned char* cursor = der.data();
    const X509Ptr cert(d2i_X509(nullptr, &cursor, static_cast<long>(der.size())));
    ASSERT_NE(cert, nullptr);
    EXPECT_EQ(GetSimpleDisplayName(*cert, false), c.subjectText);
    EXPECT_EQ(GetSimpleDisplayName(*cert, true), c.issuerText);
  }
}

}  // namespace
}  // namespace qm
