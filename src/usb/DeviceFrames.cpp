// SPDX-License-Identifier: MIT
// The command frames written to a device, and the sending of a record pair.
#include "usb/DeviceFrames.h"

#include <initializer_list>

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

void Append(Frame& frame, std::initializer_list<std::uint8_t> bytes) {
  frame.insert(frame.end(), bytes);
}

template <std::size_t N>
void Append(Frame& frame, const std::uint8_t (&bytes)[N]) {
  frame.insert(frame.end(), bytes, bytes + N);
}

void Append(Frame& frame, std::string_view payload) {
  frame.insert(frame.end(), payload.begin(), payload.end());
}

// "SW", the command, the length byte, three zero bytes and the payload.
Frame BuildSwFrame(std::uint8_t command, std::string_view payload) {
  if (payload.size() > kSwMaxPayload) {
    return {};
  }
  Frame frame;
  frame.reserve(payload.size() + 7);
  Append(frame, {0x53, 0x57, command, static_cast<std::uint8_t>(payload.size()), 0x00, 0x00, 0x00});
  Append(frame, payload);
  return frame;
}

}  // namespace

Frame BuildConfigFrame(std::string_view record) {
  Frame frame;
  frame.reserve(record.size() + 10);
  Append(frame, kPrinterHeader);
  Append(frame, kConfigCommand);
  Append(frame, record);
  Append(frame, kConfigTail);
  Append(frame, kPrinterTrailer);
  return frame;
}

Frame BuildNameFrame(std::string_view name) {
  Frame frame;
  frame.reserve(name.size() + 17);
  Append(frame, kPrinterHeader);
  Append(frame, kNameCommand);
  // The device reads one length byte; the names given here are always
  // shorter than 240 bytes, so the low eight bits are the length.
  Append(frame, {static_cast<std::uint8_t>(name.size() & 0xFF)});
  Append(frame, name);
  Append(frame, kPrinterTrailer);
  Append(frame, kNameClosing);
  return frame;
}

Frame BuildCaCertFrame(std::string_view record) {
  if (record.empty() || record.size() > kCaCertMaxPayload) {
    return {};
  }
  Frame frame;
  frame.reserve(record.size() + 11);
  Append(frame, kPrinterHeader);
  Append(frame, kCaCertCommand);
  Append(frame, {static_cast<std::uint8_t>(record.size() >> 8),
                 static_cast<std::uint8_t>(record.size() & 0xFF)});
  Append(frame, record);
  Append(frame, kPrinterTrailer);
  return frame;
}

Frame BuildSelfTestFrame() {
  Frame frame;
  frame.reserve(8);
  Append(frame, kPrinterHeader);
  Append(frame, kSelfTestCommand);
  Append(frame, kPrinterTrailer);
  return frame;
}

Frame BuildSwConfigFrame(std::string_view record) {
  return BuildSwFrame(kSwConfigCommand, record);
}

Frame BuildSwNameFrame(std::string_view name) {
  return BuildSwFrame(kSwNameCommand, name);
}

bool SendRecordPair(UsbPrinterPort& port, bool useSwFrames, std::string_view record,
                    std::string_view name) {
  // The name frame is built only once the configuration frame is delivered.
  if (!port.Write(useSwFrames ? BuildSwConfigFrame(record) : BuildConfigFrame(record))) {
    return false;
  }
  return port.Write(useSwFrames ? BuildSwNameFrame(name) : BuildNameFrame(name));
}

}  // namespace qm
