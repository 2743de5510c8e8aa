// SPDX-License-Identifier: MIT
// Simple display names beyond the name's CN, OU, O and e-mail attributes: the
// alternative names' first e-mail, then the name's first attribute.
#include <gtest/gtest.h>
#include <openssl/x509.h>

#include "config/CertificateDecoding.h"
#include "config/TestCertificates.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

using test::Utf8Entry;

TEST(GetSimpleDisplayName, FallsBackToAltNameEmailThenFirstAttribute) {
  struct Case {
    std::vector<test::NameEntry> subject, issuer;
    std::string subjectAlt, issuerAlt;
    std::u16string subjectText, issuerText;
  };
  const auto de = Utf8Entry("C", "DE");
  const auto berlin = Utf8Entry("L", "Berlin");
  const Case cases[] = {
      {{de, berlin}, {berlin, de}, "", "", u"DE", u"Berlin"},
      {{de}, {de}, "DNS:h.example, email:s@example.org, email:t@example.org",
       "URI:http://i.example, email:i@example.org", u"s@example.org", u"i@example.org"},
      // Each side reads its own extension only; a name attribute of the four
      // kinds wins over any alternative name.
      {{de}, {de}, "", "email:i@example.org", u"DE", u"i@example.org"},
      {{Utf8Entry("O", "Org")}, {de}, "email:s@example.org", "", u"Org", u"DE"},
      {{}, {berlin}, "email:s@example.org", "DNS:i.example", u"s@example.org", u"Berlin"},
      {{}, {test::NameEntry{"L", "", V_ASN1_UTF8STRING}}, "DNS:s.example", "", u"", u""},
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
    EXPECT_EQ(GetSimpleDisplayName(*cert, false), c.subjectText) << WideToUtf8(c.subjectText);
    EXPECT_EQ(GetSimpleDisplayName(*cert, true), c.issuerText) << WideToUtf8(c.issuerText);
  }
}

}  // namespace
}  // namespace qm
