// SPDX-License-Identifier: MIT
#include "config/CaCertificate.h"

#include <gtest/gtest.h>
#include <openssl/x509.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "config/TestCertificates.h"
#include "text/TextHelpers.h"

namespace qm {
namespace {

using namespace std::chrono;
using test::Bytes;
using test::Utf8Entry;

struct Message {
  std::u16string_view en;
  std::u16string_view zh;
};

constexpr Message kNone{u"", u""};
constexpr Message kNotPem{
    u"Only PEM certificates are supported (must contain -----BEGIN CERTIFICATE-----). DER is "
    u"not allowed.",
    u"仅支持 PEM 证书（须包含 -----BEGIN CERTIFICATE-----），不允许 DER。"};
constexpr Message kNotX509{u"PEM content found, but it is not a valid X.509 certificate.",
                           u"检测到 PEM 内容，但不是有效的 X.509 证书。"};
constexpr Message kTooLarge{
    u"Certificate file exceeds 4 KB (embedded MQTTS CA limit; typical PEM is 1-4 KB).",
    u"证书超过 4 KB（嵌入式 MQTTS CA 上限；常规 PEM 约 1-4 KB）。"};
constexpr Message kOpen{u"Failed to open certificate file.", u"无法打开证书文件。"};
constexpr Message kEmpty{u"Certificate file is empty.", u"证书文件为空。"};
constexpr Message kExpired{u"Certificate is expired (structure is valid).", u"证书已过期（结构有效）。"};
constexpr Message kNotYet{u"Certificate is not yet valid (structure is valid).", u"证书尚未生效（结构有效）。"};

// 2031-06-30 23:59:59 UTC and one year before it.
constexpr std::int64_t kNotAfter = 1940630399;
constexpr std::int64_t kNotBefore = kNotAfter - 365 * 86400;

system_clock::time_point At(std::int64_t seconds) { return system_clock::time_point{seconds * 1s}; }

test::CertificateParams Params(std::int64_t notBefore = kNotBefore, std::int64_t notAfter = kNotAfter) {
  test::CertificateParams params = test::FreshParams();
  params.notBefore = notBefore;
  params.notAfter = notAfter;
  return params;
}

std::string Pem() { return test::MakeCertificatePem(Params()); }

void ExpectMessage(const CaCertInfo& info, const Message& message) {
  EXPECT_EQ(info.messageEn, message.en);
  EXPECT_EQ(info.messageZh, message.zh);
}

void ExpectRefused(const CaCertInfo& info, const Message& message) {
  EXPECT_FALSE(info.valid || info.expired || info.notYetValid);
  EXPECT_EQ(info.format, 0);
  ExpectMessage(info, message);
  EXPECT_TRUE(info.subject.empty() && info.issuer.empty() && info.data.empty());
  EXPECT_TRUE(info.validFrom.empty() && info.validTo.empty());
}

CaCertInfo Check(const std::string& text, system_clock::time_point now = At(kNotBefore + 1000)) {
  return ValidateCaCertificateData(Bytes(text), now);
}

class CaCertificate : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC0", 1);
    tzset();
    char pattern[] = "/tmp/qm-cacert-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
  }
  void TearDown() override {
    std::filesystem::remove_all(m_dir);
    unsetenv("TZ");
    tzset();
  }
  std::u16string Write(const std::string& name, const std::string& text) {
    std::ofstream(m_dir / name, std::ios::binary) << text;
    return Utf8ToWide((m_dir / name).string());
  }
  std::filesystem::path m_dir;
};

TEST_F(CaCertificate, DescribesAPemFileInLocalTimeAndRecordsItWhole) {
  setenv("TZ", "CST-8", 1);
  tzset();
  std::string crlf;
  std::string escaped;
  for (const char ch : "Root CA\tissued 2030\n" + Pem()) {
    crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    escaped += ch == '\n' ? std::string("\\r\\n") : ch == '\t' ? std::string("\\t") : std::string(1, ch);
  }
  const std::u16string path = Write("根证书 root ca.pem", crlf);
  const CaCertInfo info = ValidateCaCertificateFile(path, At(kNotBefore + 1000));
  EXPECT_TRUE(info.valid);
  EXPECT_FALSE(info.expired || info.notYetValid);
  EXPECT_EQ(info.format, 1);
  EXPECT_EQ(info.path, path);
  EXPECT_EQ(info.subject, u"Quillmark Test CA");
  EXPECT_EQ(info.issuer, u"Quillmark Test CA");
  EXPECT_EQ(info.validFrom, u"2030-07-01 07:59:59");
  EXPECT_EQ(info.validTo, u"2031-07-01 07:59:59");
  ExpectMessage(info, kNone);
  EXPECT_EQ(info.data, Bytes(crlf));
  EXPECT_EQ(BuildCaCertRecord(info.data), "{\"mqttsca\":\"" + escaped + "\"}");
  // Without a given time the real clock decides.
  EXPECT_TRUE(ValidateCaCertificateFile(Write("now.pem", test::MakeCertificatePem(test::FreshParams()))).valid);
}

TEST_F(CaCertificate, WhatIsNoReadableFileDoesNotOpen) {
  const std::filesystem::path fifo = m_dir / "fifo.pem";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::u16string good = Write("good.pem", Pem());
  const std::u16string cases[] = {
      Utf8ToWide((m_dir / "missing.pem").string()), Utf8ToWide(m_dir.string()),
      Utf8ToWide(fifo.string()),  // must not wait for a writer
      u"", good + std::u16string(1, u'\0') + u"x",
  };
  for (const std::u16string& path : cases) {
    const CaCertInfo info = ValidateCaCertificateFile(path, At(kNotBefore));
    EXPECT_EQ(info.path, path);
    ExpectRefused(info, kOpen);
  }
  // sysfs files claim 4096 bytes and deliver a few: a short read.
  struct stat status {};
  ASSERT_EQ(stat("/sys/devices/system/cpu/online", &status), 0);
  ASSERT_EQ(status.st_size, 4096);
  ExpectRefused(ValidateCaCertificateFile(u"/sys/devices/system/cpu/online", At(0)),
                {u"Failed to read certificate file.", u"读取证书文件失败。"});
  ExpectRefused(ValidateCaCertificateFile(u"/proc/self/status", At(0)), kEmpty);  // no size
}

TEST_F(CaCertificate, ValidityBoundsAndFarDates) {
  struct Case {
    test::CertificateParams params;
    system_clock::time_point now;
    bool notYetValid, expired;
    Message message;
  };
  const Case cases[] = {
      {Params(), At(kNotBefore) - 1ns, true, false, kNotYet},
      {Params(), At(kNotBefore), false, false, kNone},
      {Params(), At(kNotAfter), false, false, kNone},
      {Params(), At(kNotAfter) + 1ns, false, true, kExpired},
      {Params(kNotAfter, kNotBefore), At(kNotAfter - 10), true, true, kExpired},  // both: expired
      {Params(-631152000, 253402300799), system_clock::now(), false, false, kNone},  // 1950..9999
  };
  for (const Case& c : cases) {
    const std::string pem = test::MakeCertificatePem(c.params);
    const CaCertInfo info = Check(pem, c.now);
    EXPECT_TRUE(info.valid);
    EXPECT_EQ(info.notYetValid, c.notYetValid);
    EXPECT_EQ(info.expired, c.expired);
    ExpectMessage(info, c.message);
    EXPECT_EQ(info.data, Bytes(pem));  // a warning keeps the bytes for sending
  }
  const CaCertInfo far = Check(test::MakeCertificatePem(Params(-631152000, 253402300799)));
  EXPECT_EQ(far.validFrom, u"1950-01-01 00:00:00");
  EXPECT_EQ(far.validTo, u"9999-12-31 23:59:59");
}

std::string Utf16Be(std::u16string_view text) {
  std::string out;
  for (const char16_t ch : text) out += {static_cast<char>(ch >> 8), static_cast<char>(ch & 0xFF)};
  return out;
}

TEST_F(CaCertificate, DisplayNamesOfSubjectAndIssuer) {
  struct Case {
    std::vector<test::NameEntry> subject, issuer;
    std::u16string subjectText, issuerText;
  };
  const Case cases[] = {
      {{Utf8Entry("O", "Org"), Utf8Entry("OU", "Unit"), Utf8Entry("CN", "Leaf")},
       {Utf8Entry("O", "Issuing Org")}, u"Leaf", u"Issuing Org"},
      {{Utf8Entry("C", "DE"), Utf8Entry("O", "Org"), Utf8Entry("OU", "Unit")}, {{"L", "", V_ASN1_UTF8STRING}},
       u"Unit", u"Unit"},  // an issuer without a display name shows the subject's
      {{Utf8Entry("emailAddress", "ca@example.org"), Utf8Entry("O", "Org")}, {}, u"Org", u"Org"},
      {{Utf8Entry("C", "DE"), Utf8Entry("emailAddress", "ca@example.org")}, {}, u"ca@example.org",
       u"ca@example.org"},
      {{Utf8Entry("CN", "First"), Utf8Entry("CN", "测试根证书")}, {}, u"First", u"First"},
      {{{"CN", Utf16Be(u"BMP 名称"), V_ASN1_BMPSTRING}}, {}, u"BMP 名称", u"BMP 名称"},
      {{Utf8Entry("C", "CN")}, {Utf8Entry("L", "Xiamen")}, u"CN", u"Xiamen"},  // first attribute
      {{{"L", "", V_ASN1_UTF8STRING}}, {}, u"unknown", u"unknown"},
      // At most 511 UTF-16 units, never half a surrogate pair.
      {{{"CN", std::string(600, 'b'), V_ASN1_UTF8STRING}}, {}, std::u16string(511, u'b'),
       std::u16string(511, u'b')},
      {{{"CN", std::string(510, 'c') + "\xF0\x9F\x98\x80", V_ASN1_UTF8STRING}}, {Utf8Entry("CN", "I")},
       std::u16string(510, u'c'), u"I"},
  };
  for (const Case& c : cases) {
    test::CertificateParams params = Params();
    params.subject = c.subject;
    params.issuer = c.issuer;
    const CaCertInfo info = Check(test::MakeCertificatePem(params));
    EXPECT_TRUE(info.valid);
    EXPECT_EQ(info.subject, c.subjectText);
    EXPECT_EQ(info.issuer, c.issuerText);
  }
}

TEST_F(CaCertificate, SizeAndTextRefusals) {
  const std::string pem = Pem();
  const std::string full = pem + std::string(4096 - pem.size(), '\n');
  EXPECT_EQ(Check(full).data.size(), 4096u);
  EXPECT_TRUE(Check(std::string(53, '#') + "\n" + pem).valid);  // marker ends at byte 64
  std::string damaged = pem;
  damaged[damaged.find("-----END") - 40] = '*';
  const std::vector<std::uint8_t> der = test::MakeCertificateDer(Params());
  const std::pair<std::string, Message> cases[] = {
      {"", kEmpty},
      {full + "\n", kTooLarge},
      {std::string(4097, '\0'), kTooLarge},  // the size is checked before the bytes
      {std::string(54, '#') + "\n" + pem, kNotPem},
      {"\xEF\xBB\xBF" + pem, kNotPem},
      {pem.substr(0, 100) + std::string(1, '\0') + pem.substr(100), kNotPem},
      {pem + "\x7F", kNotPem},
      {pem + "\x80", kNotPem},
      {pem + "\x0B", kNotPem},
      {"-----begin CERTIFICATE-----\nQUJD\n-----end CERTIFICATE-----\n", kNotPem},
      {std::string(der.begin(), der.end()), kNotPem},
      {test::MakePrivateKeyPem(), kNotX509},
      {"-----BEGIN CERTIFICATE-----\n-----END CERTIFICATE-----\n", kNotX509},
      {"-----BEGIN CERTIFICATE-----\nQUJDRA==\n-----END CERTIFICATE-----\n", kNotX509},
      {"-----BEGIN CERTIFICATE-----\n" + pem.substr(28, 200), kNotX509},
      {damaged, kNotX509},
      {"-----BEGIN\n", kNotX509},
  };
  for (const auto& [text, message] : cases) {
    ExpectRefused(Check(text), message);
  }
}

TEST(BuildCaCertRecord, WrapsEscapedTextInOneLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"-----BEGIN", ""},  // nothing follows the marker
      {"-----BEGIN\r\n", "{\"mqttsca\":\"-----BEGIN\\r\\n\"}"},
      {"-----BEGIN \"q\" \\ \t/+=", "{\"mqttsca\":\"-----BEGIN \\\"q\\\" \\\\ \\t/+=\"}"},
      {".-----BEGIN.", "{\"mqttsca\":\".-----BEGIN.\"}"},
      {"-----begin CERT", ""},
      {"-----BEGIN CERT" + std::string(1, '\0'), ""},
      {"-----BEGIN CERT\xC3\xA9", ""},
  };
  for (const auto& [data, record] : cases) EXPECT_EQ(BuildCaCertRecord(Bytes(data)), record) << data;
}

}  // namespace
}  // namespace qm
