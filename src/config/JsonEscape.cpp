// SPDX-License-Identifier: MIT
#include "config/JsonEscape.h"

#include "text/TextHelpers.h"

namespace qm {
namespace {

void AppendEscaped(std::string& out, const std::string& bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    switch (b) {
      case 0x08:
        out += "\\b";
        break;
      case 0x09:
        out += "\\t";
        break;
      case 0x0A:
        out += "\\n";
        break;
      case 0x0C:
        out += "\\f";
        break;
      case 0x0D:
        out += "\\r";
        break;
      case 0x22:
        out += "\\\"";
        break;
      case 0x5C:
        out += "\\\\";
        break;
      default:
        if (b < 0x20) {
          out += "\\u00";
          out.push_back(kHex[b >> 4]);
          out.push_back(kHex[b & 0x0F]);
        } else {
          out.push_back(ch);
        }
    }
  }
}

}  // namespace

std::string EscapeJsonString(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() + 16);
  AppendEscaped(out, bytes);
  return out;
}

std::string JsonEscapeUtf8(const std::u16string& text) {
  const std::string utf8 = WideToUtf8(TrimWhitespace(text));
  std::string out;
  out.reserve(utf8.size() + 8);
  AppendEscaped(out, utf8);
  return out;
}

}  // namespace qm
