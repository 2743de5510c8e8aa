// SPDX-License-Identifier: MIT
#include "config/CaCertificate.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>

#include <openssl/x509.h>

#include "config/CertificateDecoding.h"
#include "config/JsonEscape.h"
#include "text/CHandle.h"
#include "text/TextHelpers.h"
#include "text/TextPair.h"

namespace qm {
namespace {

// The device keeps the certificate in 4 KB of storage.
constexpr std::uint64_t kMaxCertificateBytes = 4096;
constexpr std::string_view kPemMarker = "-----BEGIN";
// The label of every form of private key ends so: "PRIVATE KEY", "RSA PRIVATE
// KEY", "EC PRIVATE KEY", "ENCRYPTED PRIVATE KEY" and the like.
constexpr std::string_view kPrivateKeyLabel = "PRIVATE KEY";
// The marker must lie wholly inside the first 64 bytes.
constexpr std::size_t kMarkerWindow = 64;
constexpr std::size_t kMinRecordInput = 11;
constexpr std::int32_t kFormatPem = 1;
constexpr std::string_view kRecordHead = "{\"mqttsca\":\"";
constexpr std::string_view kRecordTail = "\"}";

constexpr TextPair kOpenFailed{u"Failed to open certificate file.", u"无法打开证书文件。"};
constexpr TextPair kEmpty{u"Certificate file is empty.", u"证书文件为空。"};
constexpr TextPair kTooLarge{
    u"Certificate file exceeds 4 KB (embedded MQTTS CA limit; typical PEM is 1-4 KB).",
    u"证书超过 4 KB（嵌入式 MQTTS CA 上限；常规 PEM 约 1-4 KB）。"};
constexpr TextPair kReadFailed{u"Failed to read certificate file.", u"读取证书文件失败。"};
constexpr TextPair kNotPem{
    u"Only PEM certificates are supported (must contain -----BEGIN CERTIFICATE-----). "
    u"DER is not allowed.",
    u"仅支持 PEM 证书（须包含 -----BEGIN CERTIFICATE-----），不允许 DER。"};
constexpr TextPair kPrivateKey{
    u"The file holds a private key. Choose a file with the CA certificate only.",
    u"文件中含有私钥，请选择只含 CA 证书的文件。"};
constexpr TextPair kNotX509{u"PEM content found, but it is not a valid X.509 certificate.",
                            u"检测到 PEM 内容，但不是有效的 X.509 证书。"};
constexpr TextPair kExpired{u"Certificate is expired (structure is valid).",
                            u"证书已过期（结构有效）。"};
constexpr TextPair kNotYetValid{u"Certificate is not yet valid (structure is valid).",
                                u"证书尚未生效（结构有效）。"};

void SetMessages(CaCertInfo& info, const TextPair& message) {
  info.messageEn = message.en;
  info.messageZh = message.zh;
}

// Leaves the result in its refused state: only the path and the message.
void Refuse(CaCertInfo& info, const TextPair& message) {
  std::u16string path = std::move(info.path);
  info = CaCertInfo{};
  info.path = std::move(path);
  SetMessages(info, message);
}

const TextPair* SizeProblem(std::uint64_t size) {
  if (size == 0) return &kEmpty;
  if (size > kMaxCertificateBytes) return &kTooLarge;
  return nullptr;
}

std::string_view AsText(const std::vector<std::uint8_t>& data) {
  return {reinterpret_cast<const char*>(data.data()), data.size()};
}

bool AllPemText(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char ch) { return IsPemTextByte(static_cast<std::uint8_t>(ch)); });
}

bool HasPemMarker(std::string_view window) {
  return window.find(kPemMarker) != std::string_view::npos;
}

// True when the rest of the line after any "-----BEGIN", wherever in the
// text or the line it stands, names a private key: such a file must never
// reach a device.
bool HasPrivateKeyBlock(std::string_view text) {
  for (std::size_t at = text.find(kPemMarker); at != std::string_view::npos;
       at = text.find(kPemMarker, at + 1)) {
    const std::string_view rest = text.substr(at + kPemMarker.size());
    if (rest.substr(0, rest.find_first_of("\r\n")).find(kPrivateKeyLabel) !=
        std::string_view::npos) {
      return true;
    }
  }
  return false;
}

bool ReadExactly(int fd, std::vector<std::uint8_t>& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t got = ::read(fd, data.data() + done, data.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // error, or the file shrank under us
    done += static_cast<std::size_t>(got);
  }
  return true;
}

// Reads a regular file of 1 to 4096 bytes. Anything else (a directory, a
// FIFO that would block, a device) counts as a file that does not open.
const TextPair* ReadCertificateFile(const std::u16string& path, std::vector<std::uint8_t>& data) {
  if (path.find(u'\0') != std::u16string::npos) return &kOpenFailed;
  const std::string name = WideToUtf8(path);
  if (name.empty()) return &kOpenFailed;
  const FdHandle file(
      FileDescriptor(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)));
  struct stat status {};
  if (!file || ::fstat(file.get().fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    return &kOpenFailed;
  }
  if (const TextPair* problem = SizeProblem(static_cast<std::uint64_t>(status.st_size))) {
    return problem;
  }
  data.assign(static_cast<std::size_t>(status.st_size), 0);
  if (!ReadExactly(file.get().fd, data)) return &kReadFailed;
  return nullptr;
}

// Instants compare at whole seconds plus the fraction of the current second,
// which keeps far dates such as 9999-12-31 free of overflow.
void SetValidityFlags(CaCertInfo& info, std::chrono::system_clock::time_point now,
                      std::chrono::sys_seconds notBefore, std::chrono::sys_seconds notAfter) {
  using namespace std::chrono;
  const auto nowSeconds = floor<seconds>(now);
  const bool fraction = now != nowSeconds;
  info.notYetValid = nowSeconds < notBefore;
  info.expired = nowSeconds > notAfter || (nowSeconds == notAfter && fraction);
}

void CheckCertificateBytes(CaCertInfo& info, std::vector<std::uint8_t> data,
                           std::chrono::system_clock::time_point now) {
  const std::string_view text = AsText(data);
  if (!HasPemMarker(text.substr(0, kMarkerWindow)) || !AllPemText(text)) {
    Refuse(info, kNotPem);
    return;
  }
  if (HasPrivateKeyBlock(text)) {
    Refuse(info, kPrivateKey);
    return;
  }
  const X509Ptr cert = DecodePemCertificate(data);
  std::optional<std::chrono::sys_seconds> notBefore;
  std::optional<std::chrono::sys_seconds> notAfter;
  if (cert) {
    notBefore = AsnTimeToUtc(X509_get0_notBefore(cert.get()));
    notAfter = AsnTimeToUtc(X509_get0_notAfter(cert.get()));
  }
  if (!notBefore || !notAfter) {
    Refuse(info, kNotX509);
    return;
  }
  info.format = kFormatPem;
  info.subject = GetCertDisplayName(*cert);
  const std::u16string issuer = GetSimpleDisplayName(*cert, true);
  info.issuer = issuer.empty() ? info.subject : issuer;
  info.validFrom = UtcTimeToLocalString(*notBefore);
  info.validTo = UtcTimeToLocalString(*notAfter);
  SetValidityFlags(info, now, *notBefore, *notAfter);
  info.valid = true;
  info.data = std::move(data);
  if (info.expired) {
    SetMessages(info, kExpired);
  } else if (info.notYetValid) {
    SetMessages(info, kNotYetValid);
  }
}

}  // namespace

CaCertInfo ValidateCaCertificateFile(const std::u16string& path) {
  return ValidateCaCertificateFile(path, std::chrono::system_clock::now());
}

CaCertInfo ValidateCaCertificateFile(const std::u16string& path,
                                     std::chrono::system_clock::time_point now) {
  CaCertInfo info;
  info.path = path;
  std::vector<std::uint8_t> data;
  if (const TextPair* problem = ReadCertificateFile(path, data)) {
    Refuse(info, *problem);
    return info;
  }
  CheckCertificateBytes(info, std::move(data), now);
  return info;
}

CaCertInfo ValidateCaCertificateData(std::vector<std::uint8_t> data,
                                     std::chrono::system_clock::time_point now) {
  CaCertInfo info;
  if (const TextPair* problem = SizeProblem(data.size())) {
    Refuse(info, *problem);
    return info;
  }
  CheckCertificateBytes(info, std::move(data), now);
  return info;
}

bool IsPemTextByte(std::uint8_t byte) {
  return byte == 0x09 || byte == 0x0A || byte == 0x0D || (byte >= 0x20 && byte <= 0x7E);
}

std::string BuildCaCertRecord(const std::vector<std::uint8_t>& data) {
  if (data.size() < kMinRecordInput) return {};
  const std::string_view text = AsText(data);
  // The marker must be followed by at least one more byte.
  if (!HasPemMarker(text.substr(0, text.size() - 1)) || !AllPemText(text) ||
      HasPrivateKeyBlock(text)) {
    return {};
  }
  std::string record(kRecordHead);
  record += EscapeJsonString(std::string(text));
  record += kRecordTail;
  return record;
}

}  // namespace qm
