// SPDX-License-Identifier: MIT
// X.509 decoding for the CA certificate check: PEM text to certificate, names, dates.
#pragma once

#include <openssl/types.h>
#include <openssl/x509.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/CHandle.h"

namespace qm {

// Sole owner of a decoded certificate; frees it on every path.
using X509Ptr = CHandle<X509, X509_free>;

// Standard base64 (RFC 4648) with blanks (SPACE, TAB, CR, LF) ignored and the
// padding required. Any other byte, or padding before the end, gives nothing.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

// The base64 body of the first PEM block: from the end of the line part
// "-----BEGIN <label>-----" to the next "-----END". Nothing when either part
// is missing. The labels are not compared.
std::optional<std::string_view> FindPemBody(std::string_view text);

// PEM text to a certificate: the first PEM block's body when it decodes to
// at least one byte, otherwise the whole text taken as bare base64; the
// bytes must then decode as DER X.509. Null when any step fails.
X509Ptr DecodePemCertificate(const std::vector<std::uint8_t>& pem);

// The simple display name of an X.509 name: the first common name, else the
// first organisational unit, organisation or e-mail address, in that order.
// Empty when none of them has text. At most 511 UTF-16 units are kept.
std::u16string GetNameDisplayText(const X509_NAME* name);

// The simple display name of the certificate's subject (or of its issuer):
// GetNameDisplayText of the name; failing that, the first e-mail address
// (rfc822Name) of the subject's (issuer's) alternative names; failing that,
// the text of the name's first attribute, whatever its type. Empty when none
// of them has text.
std::u16string GetSimpleDisplayName(const X509& cert, bool issuer);

// The subject's simple display name, "unknown" when it has none.
std::u16string GetCertDisplayName(const X509& cert);

// An ASN.1 time (UTCTime or GeneralizedTime) as a UTC instant.
std::optional<std::chrono::sys_seconds> AsnTimeToUtc(const ASN1_TIME* time);

// A UTC instant as local calendar text "YYYY-MM-DD hh:mm:ss".
std::u16string UtcTimeToLocalString(std::chrono::sys_seconds utc);

}  // namespace qm
