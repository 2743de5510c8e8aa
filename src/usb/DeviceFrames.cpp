// SPDX-License-Identifier: MIT
// The command frames written to a device, and the sending of a record pair.
#include "usb/DeviceFrames.h"

#include <algorithm>
#include <initializer_list>
#include <span>

#include "usb/UsbPrinterPort.h"

namespace qm {
namespace {

constexpr std::uint8_t kPrinterHeader[] = {0x1B, 0x1C, 0x1D};
constexpr std::uint8_t kPrinterTrailer[] = {0x1D, 0x1E, 0x1F};
constexpr std::uint8_t kConfigCommand[] = {0x08, 0x04};
constexpr std::uint8_t kConfigTail[] = {0x0D, 0x0A};
constexpr std::uint8_t kNameCommand[] = {0x01, 0x01};
constexpr std::uint8_t kNameClosing[] = {0x1B, 0x1C, 0x1D, 0xFE, 0xED, 0x1D, 0x1E, 0x1F};
constexpr std::uint8_t kCaCertCommand[] = {0x05, 0x08, 0x0E};
constexpr std::uint8_t kSelfTestCommand[] = {0x01, 0x00};

constexpr std::uint8_t kSwConfigCommand = 0xF1;
constexpr std::uint8_t kSwNameCommand = 0xF0;
constexpr std::size_t kSwMaxPayload = 255;
constexpr std::size_t kCaCertMaxPayload = 65535;

using Bytes = std::span<const std::uint8_t>;

Bytes AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The parts one after another, in a frame sized once for all of them. The
// frame never grows piecewise, which also keeps GCC's -O3 overflow analysis
// of vector insertion from reporting writes into an empty buffer.
Frame Join(std::initializer_list<Bytes> parts) {
  std::size_t size = 0;
  for (const Bytes part : parts) {
    size += part.size();
  }
  Frame frame(size);
  auto out = frame.begin();
  for (const Bytes part : parts) {
    out = std::copy(part.begin(), part.end(), out);
  }
  return frame;
}

// "SW", the command, the length byte, three zero bytes and the payload.
Frame BuildSwFrame(std::uint8_t command, std::string_view payload) {
  if (payload.size() > kSwMaxPayload) {
    return {};
  }
  const std::uint8_t head[] = {0x53, 0x57, command, static_cast<std::uint8_t>(payload.size()),
                               0x00, 0x00, 0x00};
  return Join({head, AsBytes(payload)});
}

}  // namespace

Frame BuildConfigFrame(std::string_view record) {
  return Join({kPrinterHeader, kConfigCommand, AsBytes(record), kConfigTail, kPrinterTrailer});
}

Frame BuildNameFrame(std::string_view name) {
  // The device reads one length byte; the names given here are always
  // shorter than 240 bytes, so the low eight bits are the length.
  const std::uint8_t length[] = {static_cast<std::uint8_t>(name.size() & 0xFF)};
  return Join({kPrinterHeader, kNameCommand, length, AsBytes(name), kPrinterTrailer, kNameClosing});
}

Frame BuildCaCertFrame(std::string_view record) {
  if (record.empty() || record.size() > kCaCertMaxPayload) {
    return {};
  }
  const std::uint8_t length[] = {static_cast<std::uint8_t>(record.size() >> 8),
                                 static_cast<std::uint8_t>(record.size() & 0xFF)};
  return Join({kPrinterHeader, kCaCertCommand, length, AsBytes(record), kPrinterTrailer});
}

Frame BuildSelfTestFrame() { return Join({kPrinterHeader, kSelfTestCommand, kPrinterTrailer}); }

Frame BuildSwConfigFrame(std::string_view record) { return BuildSwFrame(kSwConfigCommand, record); }

Frame BuildSwNameFrame(std::string_view name) { return BuildSwFrame(kSwNameCommand, name); }

bool SendRecordPair(UsbPrinterPort& port, bool useSwFrames, std::string_view record,
                    std::string_view name) {
  // The name frame is built only once the configuration frame is delivered.
  if (!port.Write(useSwFrames ? BuildSwConfigFrame(record) : BuildConfigFrame(record))) {
    return false;
  }
  return port.Write(useSwFrames ? BuildSwNameFrame(name) : BuildNameFrame(name));
}

}  // namespace qm
