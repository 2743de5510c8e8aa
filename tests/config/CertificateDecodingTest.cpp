// SPDX-License-Identifier: MIT
#include "config/CertificateDecoding.h"

#include <gtest/gtest.h>
#include <openssl/x509.h>

#include <cstdlib>

#include "config/TestCertificates.h"

namespace qm {
namespace {

using test::Bytes;
using test::Utf8Entry;

std::vector<std::uint8_t> Raw(std::string_view text) { return {text.begin(), text.end()}; }

TEST(DecodeBase64, AcceptsPaddedGroupsAndBlanksOnly) {
  struct Case {
    std::string_view text;
    std::optional<std::string> bytes;
  };
  const Case cases[] = {
      {"", std::string()},
      {"TWFu", "Man"},
      {"TWE=", "Ma"},
      {"TQ==", "M"},
      {" T W\tF u\r\n", "Man"},
      {"TWFu\r\nTWE=\r\n", "ManMa"},
      {"+/+/", "\xFB\xFF\xBF"},
      {"TQ", std::nullopt},
      {"TQ=", std::nullopt},
      {"TWE", std::nullopt},
      {"TWFuT", std::nullopt},
      {"TQ===", std::nullopt},
      {"TQ==TQ==", std::nullopt},
      {"=", std::nullopt},
      {"T*Fu", std::nullopt},
      {"TWFu-", std::nullopt},
      {"TW\x00u", std::nullopt},
      {"TW\x80u", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto out = DecodeBase64(c.text);
    ASSERT_EQ(out.has_value(), c.bytes.has_value()) << c.text;
    if (out) {
      EXPECT_EQ(std::string(out->begin(), out->end()), *c.bytes) << c.text;
    }
  }
}

TEST(FindPemBody, TakesTheFirstCompleteBlock) {
  struct Case {
    std::string_view text;
    std::optional<std::string_view> body;
  };
  const Case cases[] = {
      {"-----BEGIN CERTIFICATE-----\nQUJD\n-----END CERTIFICATE-----\n", "\nQUJD\n"},
      {"lead-----BEGIN X-----QUJD-----END X-----", "QUJD"},
      {"-----BEGIN A-----\nAA==\n-----END A-----\n-----BEGIN B-----\nBB\n-----END B-----",
       "\nAA==\n"},
      {"-----BEGIN-----x-----END-----", "x"},
      {"-----BEGIN CERTIFICATE\n-----\nQUJD\n-----END CERTIFICATE-----", std::nullopt},
      {"-----BEGIN CERTIFICATE-----\nQUJD\n", std::nullopt},
      {"-----BEGIN CERT", std::nullopt},
      {"-----begin CERTIFICATE-----\nQUJD\n-----END CERTIFICATE-----", std::nullopt},
      {"QUJD", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindPemBody(c.text), c.body) << c.text;
  }
}

TEST(DecodePemCertificate, DecodesBlockOrBareBase64) {
  const test::CertificateParams params = test::FreshParams();
  const std::string pem = test::MakeCertificatePem(params);
  EXPECT_NE(DecodePemCertificate(Bytes(pem)), nullptr);

  // The body alone, with and without its line breaks, is bare base64.
  const auto body = FindPemBody(pem);
  ASSERT_TRUE(body.has_value());
  EXPECT_NE(DecodePemCertificate(Raw(*body)), nullptr);
  std::string oneLine(*body);
  std::erase(oneLine, '\n');
  EXPECT_NE(DecodePemCertificate(Raw(oneLine)), nullptr);

  // The block is found behind other text, and the first block decides.
  const std::string key = test::MakePrivateKeyPem();
  EXPECT_NE(DecodePemCertificate(Bytes("notes\n" + pem + key)), nullptr);
  EXPECT_EQ(DecodePemCertificate(Bytes(key + pem)), nullptr);
}

TEST(DecodePemCertificate, RefusesWhatIsNoCertificate) {
  const std::string pem = test::MakeCertificatePem(test::FreshParams());
  std::string truncated = pem;
  truncated.erase(truncated.find("-----END") - 40, 40);
  const std::vector<std::uint8_t> der = test::MakeCertificateDer(test::FreshParams());
  const std::vector<std::vector<std::uint8_t>> inputs = {
      {},
      Raw("-----BEGIN CERTIFICATE-----\n-----END CERTIFICATE-----\n"),
      Raw("-----BEGIN CERTIFICATE-----\nnot base64!\n-----END CERTIFICATE-----\n"),
      Raw("-----BEGIN CERTIFICATE-----\nQUJDRA==\n-----END CERTIFICATE-----\n"),
      Bytes(test::MakePrivateKeyPem()),
      Bytes(truncated),
      der,
  };
  for (const auto& input : inputs) {
    EXPECT_EQ(DecodePemCertificate(input), nullptr) << std::string(input.begin(), input.end());
  }
}

X509Ptr Decode(const test::CertificateParams& params) {
  X509Ptr cert = DecodePemCertificate(Bytes(test::MakeCertificatePem(params)));
  EXPECT_NE(cert, nullptr);
  return cert;
}

std::string Utf16Be(std::u16string_view text) {
  std::string out;
  for (const char16_t ch : text) {
    out += static_cast<char>(ch >> 8);
    out += static_cast<char>(ch & 0xFF);
  }
  return out;
}

TEST(GetCertDisplayName, TakesCommonNameThenUnitOrganisationEmail) {
  struct Case {
    std::vector<test::NameEntry> subject;
    std::u16string expected;
  };
  const Case cases[] = {
      {{Utf8Entry("CN", "Root")}, u"Root"},
      {{Utf8Entry("O", "Org"), Utf8Entry("OU", "Unit"), Utf8Entry("CN", "Name")}, u"Name"},
      {{Utf8Entry("C", "DE"), Utf8Entry("O", "Org"), Utf8Entry("OU", "Unit")}, u"Unit"},
      {{Utf8Entry("emailAddress", "ca@example.org"), Utf8Entry("O", "Org")}, u"Org"},
      {{Utf8Entry("C", "DE"), Utf8Entry("emailAddress", "ca@example.org")}, u"ca@example.org"},
      {{Utf8Entry("CN", "First"), Utf8Entry("CN", "Second")}, u"First"},
      {{Utf8Entry("CN", "测试根证书")}, u"测试根证书"},
      {{{"CN", Utf16Be(u"BMP 名称"), V_ASN1_BMPSTRING}}, u"BMP 名称"},
      {{Utf8Entry("C", "DE"), Utf8Entry("L", "Berlin")}, u"DE"},
      {{}, u"unknown"},
  };
  for (const Case& c : cases) {
    test::CertificateParams params = test::FreshParams();
    params.subject = c.subject;
    const X509Ptr cert = Decode(params);
    ASSERT_NE(cert, nullptr);
    EXPECT_EQ(GetCertDisplayName(*cert), c.expected);
  }
}

TEST(GetNameDisplayText, KeepsAtMost511UnitsWithoutSplittingAPair) {
  struct Case {
    std::string value;
    std::size_t units;
  };
  const Case cases[] = {
      {std::string(511, 'a'), 511},
      {std::string(600, 'b'), 511},
      // 510 letters and one character outside the BMP: 512 units, the pair goes.
      {std::string(510, 'c') + "\xF0\x9F\x98\x80", 510},
      {std::string(509, 'd') + "\xF0\x9F\x98\x80", 511},
  };
  for (const Case& c : cases) {
    test::CertificateParams params = test::FreshParams();
    params.subject = {{"CN", c.value, V_ASN1_UTF8STRING}};
    const X509Ptr cert = Decode(params);
    ASSERT_NE(cert, nullptr);
    const std::u16string name = GetNameDisplayText(X509_get_subject_name(cert.get()));
    EXPECT_EQ(name.size(), c.units);
  }
  EXPECT_EQ(GetNameDisplayText(nullptr), u"");
}

class LocalTimeZone : public ::testing::Test {
 protected:
  void TearDown() override {
    unsetenv("TZ");
    tzset();
  }
  static void Use(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
};

TEST_F(LocalTimeZone, FormatsUtcInstantsAsLocalCalendarText) {
  using namespace std::chrono;
  struct Case {
    const char* zone;
    sys_seconds utc;
    std::u16string text;
  };
  const sys_seconds midsummer = sys_days{2031y / June / 30} + 23h + 59min + 59s;
  const Case cases[] = {
      {"UTC0", midsummer, u"2031-06-30 23:59:59"},
      {"CST-8", midsummer, u"2031-07-01 07:59:59"},
      {"EST5", midsummer, u"2031-06-30 18:59:59"},
      {"UTC0", sys_seconds{}, u"1970-01-01 00:00:00"},
      {"UTC0", sys_days{1950y / January / 1}, u"1950-01-01 00:00:00"},
      {"UTC0", sys_days{9999y / December / 31} + 23h + 59min + 59s, u"9999-12-31 23:59:59"},
      {"CST-8", sys_days{2024y / February / 28} + 16h, u"2024-02-29 00:00:00"},
  };
  for (const Case& c : cases) {
    Use(c.zone);
    EXPECT_EQ(UtcTimeToLocalString(c.utc), c.text) << c.zone;
  }
}

TEST(AsnTimeToUtc, ReadsBothTimeFormats) {
  using namespace std::chrono;
  struct Case {
    const char* text;
    std::optional<sys_seconds> utc;
  };
  const Case cases[] = {
      {"310630235959Z", sys_days{2031y / June / 30} + 23h + 59min + 59s},
      {"500101000000Z", sys_days{1950y / January / 1}},
      {"491231235959Z", sys_days{2049y / December / 31} + 23h + 59min + 59s},
      {"20510101120000Z", sys_days{2051y / January / 1} + 12h},
      {"99991231235959Z", sys_days{9999y / December / 31} + 23h + 59min + 59s},
  };
  for (const Case& c : cases) {
    ASN1_TIME* time = ASN1_TIME_new();
    ASSERT_EQ(ASN1_TIME_set_string(time, c.text), 1) << c.text;
    EXPECT_EQ(AsnTimeToUtc(time), c.utc) << c.text;
    ASN1_TIME_free(time);
  }
  EXPECT_EQ(AsnTimeToUtc(nullptr), std::nullopt);
}

}  // namespace
}  // namespace qm
