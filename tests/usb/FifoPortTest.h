// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include "usb/FifoDevice.h"
#include "usb/UsbPrinterPort.h"

namespace qm::test {

struct FifoPortTest : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(port.Open(device.WidePath())); }
  FifoDevice device;
  UsbPrinterPort port;
};

}  // namespace qm::test
