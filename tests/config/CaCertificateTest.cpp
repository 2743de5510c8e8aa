// SPDX-License-Identifier: MIT
#include "config/CaCertificate.h"

#include <gtest/gtest.h>
#include <openssl/asn1.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "text/TextHelpers.h"
#include "config/TestCertificates.h"

namespace qm {
namespace {

using namespace std::chrono;
using test::Bytes;
using test::Utf8Entry;

// A message of the check in both languages.
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

void ExpectMessage(const CaCertInfo& info, const Message& message) {
  EXPECT_EQ(info.messageEn, message.en);
  EXPECT_EQ(info.messageZh, message.zh);
}

// 2031-06-30 23:59:59 UTC and one year before it.
constexpr std::int64_t kNotAfter = 1940630399;
constexpr std::int64_t kNotBefore = kNotAfter - 365 * 86400;

system_clock::time_point At(std::int64_t seconds) {
  return system_clock::time_point{std::chrono::seconds{seconds}};
}

test::CertificateParams FixedParams() {
  test::CertificateParams params = test::FreshParams();
  params.notBefore = kNotBefore;
  params.notAfter = kNotAfter;
  return params;
}

void ExpectRefused(const CaCertInfo& info, const Message& message) {
  EXPECT_FALSE(info.valid);
  EXPECT_FALSE(info.expired);
  EXPECT_FALSE(info.notYetValid);
  EXPECT_EQ(info.format, 0);
  ExpectMessage(info, message);
  EXPECT_TRUE(info.subject.empty());
  EXPECT_TRUE(info.issuer.empty());
  EXPECT_TRUE(info.validFrom.empty());
  EXPECT_TRUE(info.validTo.empty());
  EXPECT_TRUE(info.data.empty());
}

class CaCertificateFile : public ::testing::Test {
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

  std::u16string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path path = m_dir / name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return Utf8ToWide(path.string());
  }

  CaCertInfo Check(const std::vector<std::uint8_t>& bytes, system_clock::time_point now) {
    return ValidateCaCertificateFile(Write("ca.pem", bytes), now);
  }

  CaCertInfo Check(const std::string& text) {
    return Check(Bytes(text), At(kNotBefore + 1000));
  }

  std::filesystem::path m_dir;
};

TEST_F(CaCertificateFile, AcceptsAPemCertificateAndDescribesItInLocalTime) {
  setenv("TZ", "CST-8", 1);
  const std::string pem = test::MakeCertificatePem(FixedParams());
  const std::u16string path = Write("根证书 root ca.pem", Bytes(pem));
  const CaCertInfo info = ValidateCaCertificateFile(path, At(kNotBefore + 1000));
  EXPECT_TRUE(info.valid);
  EXPECT_FALSE(info.expired);
  EXPECT_FALSE(info.notYetValid);
  EXPECT_EQ(info.format, 1);
  EXPECT_EQ(info.path, path);
  EXPECT_EQ(info.subject, u"Quillmark Test CA");
  EXPECT_EQ(info.issuer, u"Quillmark Test CA");
  EXPECT_EQ(info.validFrom, u"2030-07-01 07:59:59");
  EXPECT_EQ(info.validTo, u"2031-07-01 07:59:59");
  ExpectMessage(info, kNone);
  EXPECT_EQ(info.data, Bytes(pem));
}

TEST_F(CaCertificateFile, UsesTheRealClockByDefault) {
  const CaCertInfo info =
      ValidateCaCertificateFile(Write("ca.pem", Bytes(test::MakeCertificatePem(test::FreshParams()))));
  EXPECT_TRUE(info.valid);
  EXPECT_FALSE(info.expired);
  EXPECT_FALSE(info.notYetValid);
  ExpectMessage(info, kNone);
}

TEST_F(CaCertificateFile, ValidityBoundsBelongToThePeriod) {
  struct Case {
    system_clock::time_point now;
    bool notYetValid;
    bool expired;
    Message message;
  };
  const Case cases[] = {
      {At(kNotBefore - 1), true, false, kNotYet},
      {At(kNotBefore) - 1ns, true, false, kNotYet},
      {At(kNotBefore), false, false, kNone},
      {At(kNotAfter), false, false, kNone},
      {At(kNotAfter) + 1ns, false, true, kExpired},
      {At(kNotAfter + 1), false, true, kExpired},
  };
  const std::vector<std::uint8_t> pem = Bytes(test::MakeCertificatePem(FixedParams()));
  for (const Case& c : cases) {
    const CaCertInfo info = Check(pem, c.now);
    EXPECT_TRUE(info.valid);
    EXPECT_EQ(info.notYetValid, c.notYetValid);
    EXPECT_EQ(info.expired, c.expired);
    ExpectMessage(info, c.message);
    EXPECT_EQ(info.data, pem);  // a warning keeps the bytes for sending
  }
}

TEST_F(CaCertificateFile, BothFlagsCarryTheExpiredWarning) {
  test::CertificateParams params = FixedParams();
  std::swap(params.notBefore, params.notAfter);  // NotBefore after NotAfter
  const CaCertInfo info = Check(Bytes(test::MakeCertificatePem(params)), At(kNotAfter - 10));
  EXPECT_TRUE(info.valid);
  EXPECT_TRUE(info.notYetValid);
  EXPECT_TRUE(info.expired);
  ExpectMessage(info, kExpired);
}

TEST_F(CaCertificateFile, FarDatesNeitherOverflowNorExpire) {
  test::CertificateParams params = FixedParams();
  params.notBefore = -631152000;   // 1950-01-01
  params.notAfter = 253402300799;  // 9999-12-31 23:59:59
  const CaCertInfo info = Check(Bytes(test::MakeCertificatePem(params)), system_clock::now());
  EXPECT_TRUE(info.valid);
  EXPECT_FALSE(info.expired);
  EXPECT_FALSE(info.notYetValid);
  EXPECT_EQ(info.validFrom, u"1950-01-01 00:00:00");
  EXPECT_EQ(info.validTo, u"9999-12-31 23:59:59");
}

TEST_F(CaCertificateFile, IssuerWithoutDisplayNameShowsTheSubject) {
  struct Case {
    std::vector<test::NameEntry> subject;
    std::vector<test::NameEntry> issuer;
    std::u16string subjectText;
    std::u16string issuerText;
  };
  const test::NameEntry blank{"L", "", V_ASN1_UTF8STRING};  // the only attribute, empty
  const Case cases[] = {
      {{Utf8Entry("CN", "Leaf")}, {Utf8Entry("O", "Issuing Org")}, u"Leaf", u"Issuing Org"},
      {{Utf8Entry("CN", "Leaf")}, {blank}, u"Leaf", u"Leaf"},
      {{Utf8Entry("C", "CN")}, {Utf8Entry("CN", "Root")}, u"CN", u"Root"},
      {{blank}, {blank}, u"unknown", u"unknown"},
      {{Utf8Entry("OU", "Only Unit")}, {}, u"Only Unit", u"Only Unit"},
  };
  for (const Case& c : cases) {
    test::CertificateParams params = FixedParams();
    params.subject = c.subject;
    params.issuer = c.issuer;
    const CaCertInfo info = Check(test::MakeCertificatePem(params));
    EXPECT_TRUE(info.valid);
    EXPECT_EQ(info.subject, c.subjectText);
    EXPECT_EQ(info.issuer, c.issuerText);
  }
}

TEST_F(CaCertificateFile, SizeLimitsAreZeroAnd4096) {
  const std::string pem = test::MakeCertificatePem(FixedParams());
  ASSERT_LT(pem.size(), 4096u);
  // Trailing text after the block is part of the file and of its size.
  const std::string full = pem + std::string(4096 - pem.size(), '\n');
  const CaCertInfo accepted = Check(full);
  EXPECT_TRUE(accepted.valid);
  EXPECT_EQ(accepted.data.size(), 4096u);

  ExpectRefused(Check(full + "\n"), kTooLarge);
  // The size is refused before the bytes are looked at.
  ExpectRefused(Check(std::string(4097, '\0')), kTooLarge);
  ExpectRefused(Check(std::string(1 << 20, 'A')), kTooLarge);
  ExpectRefused(Check(std::string()), kEmpty);
}

TEST_F(CaCertificateFile, MarkerMustEndInsideTheFirst64Bytes) {
  const std::string pem = test::MakeCertificatePem(FixedParams());
  const CaCertInfo at54 = Check(std::string(53, '#') + "\n" + pem);
  EXPECT_TRUE(at54.valid);
  ExpectRefused(Check(std::string(54, '#') + "\n" + pem), kNotPem);
  // Text before the marker may hold TAB and CR LF.
  EXPECT_TRUE(Check("Root CA\tissued 2030\r\n" + pem).valid);
}

TEST_F(CaCertificateFile, AnythingButPemTextIsRefused) {
  const std::string pem = test::MakeCertificatePem(FixedParams());
  const std::string cases[] = {
      "\xEF\xBB\xBF" + pem,
      pem + std::string(1, '\0'),
      pem.substr(0, 100) + std::string(1, '\0') + pem.substr(100),
      pem + "\x7F",
      pem + "\x80",
      pem + "\xFF",
      pem + "\x0B",
      pem + "\x0C",
      pem + "\x1B",
      "-----BEGI",
      "-----begin CERTIFICATE-----\nQUJD\n-----end CERTIFICATE-----\n",
      "just some text without any marker\n",
  };
  for (const std::string& text : cases) {
    ExpectRefused(Check(text), kNotPem);
  }
  ExpectRefused(Check(test::MakeCertificateDer(FixedParams()), At(kNotBefore)), kNotPem);
}

TEST_F(CaCertificateFile, PemThatIsNoCertificateIsRefused) {
  const std::string pem = test::MakeCertificatePem(FixedParams());
  std::string damaged = pem;
  damaged[damaged.find('\n') + 20] ^= 0x01;  // one base64 symbol changed
  const std::string cases[] = {
      test::MakePrivateKeyPem(),
      "-----BEGIN CERTIFICATE-----\n-----END CERTIFICATE-----\n",
      "-----BEGIN CERTIFICATE-----\nQUJDRA==\n-----END CERTIFICATE-----\n",
      "-----BEGIN CERTIFICATE-----\n" + pem.substr(28, 200),
      "-----BEGIN\n",
  };
  for (const std::string& text : cases) {
    ExpectRefused(Check(text), kNotX509);
  }
  const CaCertInfo flipped = Check(damaged);
  if (!flipped.valid) {
    ExpectRefused(flipped, kNotX509);
  }
}

TEST_F(CaCertificateFile, CrLfFileIsAcceptedAndRecordedWhole) {
  std::string crlf;
  std::string escaped;
  for (const char ch : "Root CA\n" + test::MakeCertificatePem(FixedParams())) {
    crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    escaped += ch == '\n' ? std::string("\\r\\n") : std::string(1, ch);
  }
  const CaCertInfo info = Check(crlf);
  EXPECT_TRUE(info.valid);
  EXPECT_EQ(info.data, Bytes(crlf));
  EXPECT_EQ(BuildCaCertRecord(info.data), "{\"mqttsca\":\"" + escaped + "\"}");
}

TEST_F(CaCertificateFile, WhatIsNoReadableFileDoesNotOpen) {
  const std::filesystem::path fifo = m_dir / "fifo.pem";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::u16string good = Write("good.pem", Bytes(test::MakeCertificatePem(FixedParams())));
  const std::u16string cases[] = {
      Utf8ToWide((m_dir / "missing.pem").string()),
      Utf8ToWide(m_dir.string()),
      Utf8ToWide(fifo.string()),  // must not wait for a writer
      u"",
      good + std::u16string(1, u'\0') + u"x",
  };
  for (const std::u16string& path : cases) {
    const CaCertInfo info = ValidateCaCertificateFile(path, At(kNotBefore));
    EXPECT_EQ(info.path, path);
    ExpectRefused(info, kOpen);
  }
  EXPECT_TRUE(ValidateCaCertificateFile(good, At(kNotBefore)).valid);
}

TEST_F(CaCertificateFile, ShortReadIsAReadFailure) {
  // sysfs files claim 4096 bytes and deliver only their few bytes of text:
  // the read falls short of the size, as when a file shrinks while read.
  const char* path = "/sys/devices/system/cpu/online";
  struct stat status {};
  ASSERT_EQ(stat(path, &status), 0) << "sysfs is needed for this test";
  ASSERT_EQ(status.st_size, 4096);
  ExpectRefused(ValidateCaCertificateFile(Utf8ToWide(path), At(0)),
                {u"Failed to read certificate file.", u"读取证书文件失败。"});
  // procfs files claim no size at all.
  ExpectRefused(ValidateCaCertificateFile(u"/proc/self/status", At(0)), kEmpty);
}

TEST(ValidateCaCertificateData, AppliesTheSameChecksToBytes) {
  const std::vector<std::uint8_t> pem = Bytes(test::MakeCertificatePem(FixedParams()));
  const CaCertInfo info = ValidateCaCertificateData(pem, At(kNotAfter + 5));
  EXPECT_TRUE(info.valid);
  EXPECT_TRUE(info.expired);
  EXPECT_EQ(info.path, u"");
  EXPECT_EQ(info.data, pem);
  ExpectRefused(ValidateCaCertificateData({}, At(0)), kEmpty);
  ExpectRefused(ValidateCaCertificateData(std::vector<std::uint8_t>(4097, 'A'), At(0)), kTooLarge);
}

TEST(IsPemTextByte, AcceptsTabLineEndsAndPrintableAscii) {
  for (int b = 0; b < 256; ++b) {
    const bool expected = b == 0x09 || b == 0x0A || b == 0x0D || (b >= 0x20 && b <= 0x7E);
    EXPECT_EQ(IsPemTextByte(static_cast<std::uint8_t>(b)), expected) << b;
  }
}

TEST(BuildCaCertRecord, WrapsEscapedTextInOneLine) {
  struct Case {
    std::string data;
    std::string record;
  };
  const Case cases[] = {
      {"", ""},
      {"-----BEGIN", ""},
      {"-----BEGIN\n", "{\"mqttsca\":\"-----BEGIN\\n\"}"},
      {"-----BEGIN\r\n", "{\"mqttsca\":\"-----BEGIN\\r\\n\"}"},
      {"x-----BEGIN", ""},  // marker as the last bytes: nothing follows it
      {"-----BEGIN \"q\" \\ \t/+=", "{\"mqttsca\":\"-----BEGIN \\\"q\\\" \\\\ \\t/+=\"}"},
      {std::string(100, '.') + "-----BEGIN.", "{\"mqttsca\":\"" + std::string(100, '.') +
                                                  "-----BEGIN.\"}"},
      {"-----begin CERT", ""},
      {"-----BEGIN CERT" + std::string(1, '\0'), ""},
      {"-----BEGIN CERT\x7F", ""},
      {"-----BEGIN CERT\xC3\xA9", ""},
      {"\xEF\xBB\xBF-----BEGIN CERT", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildCaCertRecord(Bytes(c.data)), c.record) << c.data;
  }
}

TEST(BuildCaCertRecord, LargestFileFitsTheFrame) {
  const std::string pem = test::MakeCertificatePem(FixedParams());
  const std::string full = pem + std::string(4096 - pem.size(), '"');
  const std::string record = BuildCaCertRecord(Bytes(full));
  const std::size_t escapes = std::count(full.begin(), full.end(), '\n') +
                              std::count(full.begin(), full.end(), '"');
  EXPECT_EQ(record.size(), 12 + 4096 + escapes + 2);
  EXPECT_LE(record.size(), 8206u);
}

}  // namespace
}  // namespace qm
