// SPDX-License-Identifier: MIT
// The command frames written to a device, and the sending of a record pair.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qm {

class UsbPrinterPort;

// A frame is written to the device in one piece; an empty frame stands for
// "no frame" and is refused by UsbPrinterPort::Write.
using Frame = std::vector<std::uint8_t>;

// Printer family. Payloads are taken as they are: no escaping, no checks.

// 1B 1C 1D 08 04, the record, 0D 0A 1D 1E 1F. Any length.
Frame BuildConfigFrame(std::string_view record);

// 1B 1C 1D 01 01, the low byte of the length, the name, 1D 1E 1F, followed
// by the fixed frame 1B 1C 1D FE ED 1D 1E 1F.
Frame BuildNameFrame(std::string_view name);

// 1B 1C 1D 05 08 0E, the length big-endian in two bytes, the record,
// 1D 1E 1F. Empty when the record is empty or longer than 65535 bytes.
Frame BuildCaCertFrame(std::string_view record);

// The constant self-test frame 1B 1C 1D 01 00 1D 1E 1F.
Frame BuildSelfTestFrame();

// Cloud-box family: "SW", the command byte, the length byte, 00 00 00 and the
// payload, no end bytes. Empty when the payload is longer than 255 bytes.
Frame BuildSwConfigFrame(std::string_view record);  // command F1
Frame BuildSwNameFrame(std::string_view name);      // command F0

// Writes the configuration frame of the record, then (only when that
// succeeded) the name frame of the name. True when both were written whole.
bool SendRecordPair(UsbPrinterPort& port, bool useSwFrames, std::string_view record,
                    std::string_view name);

}  // namespace qm
