// SPDX-License-Identifier: MIT
#include "simulator/PrintAck.h"

#include <cstdio>

namespace qm {
namespace {

constexpr std::size_t kAckBufferSize = 256;  // 255 bytes and the terminator

}  // namespace

const char* AckCodeText(int code) {
  switch (code) {
    case 0:
      return "success";
    case 100:
      return "unknown error";
    case 101:
      return "out of paper";
    case 102:
      return "cover open";
    case 103:
      return "overheat";
    case 109:
      return "printer not connected";
    case 201:
      return "missing/invalid id (valid range 0-4294967295)";
    case 202:
      return "missing type";
    case 203:
      return "invalid type (allowed: 1,2,3,4,5,6,99,100)";
    case 204:
      return "missing contents/message";
    case 205:
      return "invalid message";
    case 206:
      return "download error";
    case 207:
      return "task too long";
    case 208:
      return "invalid content format";
    case 209:
      return "duplicate task id";
    default:
      return "unknown code";
  }
}

std::string EscapeJsonQuotes(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() + 8);
  for (const char ch : bytes) {
    if (ch == '"' || ch == '\\') out += '\\';
    out += ch;
  }
  return out;
}

std::string BuildPrintAckJson(const std::string& deviceName, std::uint32_t id, int code) {
  const std::string name = EscapeJsonQuotes(deviceName);
  char buffer[kAckBufferSize] = {};
  std::snprintf(buffer, sizeof buffer, "{\"devicename\":\"%s\",\"id\":%u,\"code\":%d}",
                name.c_str(), static_cast<unsigned>(id), code);
  return std::string(buffer);
}

}  // namespace qm
