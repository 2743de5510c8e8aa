// SPDX-License-Identifier: MIT
#include "config/CertificateDecoding.h"

#include <openssl/asn1.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/objects.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <climits>
#include <cstdio>
#include <ctime>

#include "text/TextHelpers.h"

namespace qm {
namespace {

constexpr std::string_view kPemBegin = "-----BEGIN";
constexpr std::string_view kPemDashes = "-----";
constexpr std::string_view kPemEnd = "-----END";
constexpr std::u16string_view kUnknownName = u"unknown";

// The name text a display name may hold, terminator excluded.
constexpr std::size_t kMaxDisplayNameUnits = 511;

// Attributes searched for a simple display name, in order of preference.
constexpr int kDisplayNameNids[] = {NID_commonName, NID_organizationalUnitName,
                                    NID_organizationName, NID_pkcs9_emailAddress};

void FreeOpenSslBytes(unsigned char* bytes) { OPENSSL_free(bytes); }

int Base64Value(unsigned char ch) {
  if (ch >= 'A' && ch <= 'Z') return ch - 'A';
  if (ch >= 'a' && ch <= 'z') return ch - 'a' + 26;
  if (ch >= '0' && ch <= '9') return ch - '0' + 52;
  if (ch == '+') return 62;
  if (ch == '/') return 63;
  return -1;
}

bool IsBase64Blank(unsigned char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

std::u16string LimitDisplayName(std::u16string text) {
  return TruncateUtf16(std::move(text), kMaxDisplayNameUnits);
}

std::u16string AsnText(const ASN1_STRING* value) {
  unsigned char* utf8 = nullptr;
  const int length = ASN1_STRING_to_UTF8(&utf8, value);
  if (length < 0) {
    ERR_clear_error();
    return {};
  }
  const CHandle<unsigned char, FreeOpenSslBytes> owner(utf8);
  // Utf8ToWide stops at a zero byte, as a terminated name would.
  return Utf8ToWide(
      std::string_view(reinterpret_cast<const char*>(utf8), static_cast<std::size_t>(length)));
}

std::u16string EntryText(const X509_NAME_ENTRY* entry) {
  return AsnText(X509_NAME_ENTRY_get_data(entry));
}

struct GeneralNamesFree {
  void operator()(GENERAL_NAMES* names) const noexcept { GENERAL_NAMES_free(names); }
};

// The first e-mail address among the certificate's subject (or issuer)
// alternative names; empty when there is none.
std::u16string FirstAltNameEmail(const X509& cert, int nid) {
  const std::unique_ptr<GENERAL_NAMES, GeneralNamesFree> names(
      static_cast<GENERAL_NAMES*>(X509_get_ext_d2i(&cert, nid, nullptr, nullptr)));
  ERR_clear_error();
  if (!names) return {};
  for (int i = 0; i < sk_GENERAL_NAME_num(names.get()); ++i) {
    const GENERAL_NAME* entry = sk_GENERAL_NAME_value(names.get(), i);
    if (entry->type == GEN_EMAIL) return AsnText(entry->d.rfc822Name);
  }
  return {};
}

}  // namespace

std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() / 4 * 3);
  std::uint32_t bits = 0;
  int count = 0;
  int padding = 0;
  for (const char raw : text) {
    const auto ch = static_cast<unsigned char>(raw);
    if (IsBase64Blank(ch)) continue;
    if (ch == '=') {
      if (++padding > 2) return std::nullopt;
      continue;
    }
    const int value = Base64Value(ch);
    if (value < 0 || padding > 0) return std::nullopt;
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    if (++count == 4) {
      out.push_back(static_cast<std::uint8_t>(bits >> 16));
      out.push_back(static_cast<std::uint8_t>(bits >> 8));
      out.push_back(static_cast<std::uint8_t>(bits));
      bits = 0;
      count = 0;
    }
  }
  // Only a complete last group is accepted: 4 symbols, 3 + "=" or 2 + "==".
  if (count + padding != 0 && count + padding != 4) return std::nullopt;
  if (count == 3) {
    out.push_back(static_cast<std::uint8_t>(bits >> 10));
    out.push_back(static_cast<std::uint8_t>(bits >> 2));
  } else if (count == 2) {
    out.push_back(static_cast<std::uint8_t>(bits >> 4));
  }
  return out;
}

std::optional<std::string_view> FindPemBody(std::string_view text) {
  const std::size_t begin = text.find(kPemBegin);
  if (begin == std::string_view::npos) return std::nullopt;
  const std::size_t labelEnd = text.find(kPemDashes, begin + kPemBegin.size());
  if (labelEnd == std::string_view::npos) return std::nullopt;
  const std::size_t lineEnd = text.find_first_of("\r\n", begin);
  if (lineEnd < labelEnd) return std::nullopt;
  const std::size_t bodyStart = labelEnd + kPemDashes.size();
  const std::size_t end = text.find(kPemEnd, bodyStart);
  if (end == std::string_view::npos) return std::nullopt;
  return text.substr(bodyStart, end - bodyStart);
}

X509Ptr DecodePemCertificate(const std::vector<std::uint8_t>& pem) {
  const std::string_view text(reinterpret_cast<const char*>(pem.data()), pem.size());
  std::optional<std::vector<std::uint8_t>> der;
  if (const auto body = FindPemBody(text)) {
    der = DecodeBase64(*body);
  }
  if (!der || der->empty()) {
    der = DecodeBase64(text);
  }
  if (!der || der->empty() || der->size() > static_cast<std::size_t>(LONG_MAX)) {
    return nullptr;
  }
  const unsigned char* cursor = der->data();
  X509Ptr cert(d2i_X509(nullptr, &cursor, static_cast<long>(der->size())));
  if (!cert) {
    ERR_clear_error();
  }
  return cert;
}

std::u16string GetNameDisplayText(const X509_NAME* name) {
  if (name == nullptr) return {};
  for (const int nid : kDisplayNameNids) {
    for (int index = X509_NAME_get_index_by_NID(name, nid, -1); index >= 0;
         index = X509_NAME_get_index_by_NID(name, nid, index)) {
      std::u16string text = EntryText(X509_NAME_get_entry(name, index));
      if (!text.empty()) return LimitDisplayName(std::move(text));
    }
  }
  return {};
}

std::u16string GetSimpleDisplayName(const X509& cert, bool issuer) {
  const X509_NAME* name = issuer ? X509_get_issuer_name(&cert) : X509_get_subject_name(&cert);
  std::u16string text = GetNameDisplayText(name);
  if (text.empty()) {
    text = FirstAltNameEmail(cert, issuer ? NID_issuer_alt_name : NID_subject_alt_name);
  }
  if (text.empty() && name != nullptr && X509_NAME_entry_count(name) > 0) {
    text = EntryText(X509_NAME_get_entry(name, 0));
  }
  return LimitDisplayName(std::move(text));
}

std::u16string GetCertDisplayName(const X509& cert) {
  std::u16string name = GetSimpleDisplayName(cert, false);
  return name.empty() ? std::u16string(kUnknownName) : name;
}

std::optional<std::chrono::sys_seconds> AsnTimeToUtc(const ASN1_TIME* time) {
  using namespace std::chrono;
  if (time == nullptr) return std::nullopt;
  std::tm fields{};
  if (ASN1_TIME_to_tm(time, &fields) != 1) {
    ERR_clear_error();
    return std::nullopt;
  }
  const year_month_day date{year{fields.tm_year + 1900},
                            month{static_cast<unsigned>(fields.tm_mon + 1)},
                            day{static_cast<unsigned>(fields.tm_mday)}};
  if (!date.ok()) return std::nullopt;
  return sys_days{date} + hours{fields.tm_hour} + minutes{fields.tm_min} + seconds{fields.tm_sec};
}

std::u16string UtcTimeToLocalString(std::chrono::sys_seconds utc) {
  const auto instant = static_cast<std::time_t>(utc.time_since_epoch().count());
  // Fields stay zero when the conversion fails, as the record shows them.
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::tm local{};
  tzset();  // follow a time zone change made while the program runs
  if (localtime_r(&instant, &local) != nullptr) {
    year = local.tm_year + 1900;
    month = local.tm_mon + 1;
    day = local.tm_mday;
    hour = local.tm_hour;
    minute = local.tm_min;
    second = local.tm_sec;
  }
  char text[64] = {};
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                second);
  return Utf8ToWide(text);
}

}  // namespace qm
