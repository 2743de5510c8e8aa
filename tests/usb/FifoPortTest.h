// SPDX-License-Identifier: MIT
// A port opened on a FIFO standing in for the device, shared by the USB tests.
#pragma once

#include <gtest/gtest.h>

#include "usb/FifoDevice.h"
#include "usb/UsbPrinterPort.h"

namespace qm::test {

class FifoPortTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(port.Open(device.WidePath())); }

  FifoDevice device;
  UsbPrinterPort port;
};

}  // namespace qm::test
