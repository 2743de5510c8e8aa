// SPDX-License-Identifier: MIT
// Helpers shared by the window tests: a replaceable printer list, device
// nodes (tests/usb/FifoDevice.h), a shown main window, waiting on real
// timers, pixels and screenshots.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "ui/CMainDlg.h"
#include "ui/DeviceLister.h"
#include "usb/DeviceFrames.h"
#include "usb/FifoDevice.h"

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace qm::test {

void SetScratchHome(const QString& path);
const QString& ScratchHome();

// Every file below the scratch home (the user's folders during the tests).
QStringList FilesUnderScratchHome();

// The printers a test has "plugged in"; the window's lister reads them.
struct FakePrinters {
  std::vector<UsbDeviceEntry> entries;
  int listings = 0;
};

class FakeDeviceLister final : public DeviceLister {
 public:
  explicit FakeDeviceLister(std::shared_ptr<FakePrinters> printers) : m_printers(std::move(printers)) {}
  std::vector<UsbDeviceEntry> ListPrinters() override {
    ++m_printers->listings;
    return m_printers->entries;
  }

 private:
  std::shared_ptr<FakePrinters> m_printers;
};

// Runs the event loop until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// Processes events for about the given time.
void Pump(std::chrono::milliseconds duration);

// A pixel's colour as 0xRRGGBB.
QRgb Rgb24(const QImage& image, int x, int y);

// True when some pixel of the area (the whole image when none is given) is
// drawn in exactly that colour.
bool Draws(const QImage& image, QRgb colour, const QRect& area = QRect());

// Saves a window's image when QM_SHOT_DIR is set (for looking at the window).
void MaybeSaveShot(const QImage& image, const QString& name);

// The row of a page with that key; null when the page has none.
const FieldSpec* FindField(const PageState& page, std::u16string_view key);

// The two frames a page sends for a record and a name, in the printer or the
// "SW" family, built here byte by byte.
Frame ExpectedPair(bool sw, std::string_view json, std::string_view name);

// A main window on a printer list of the test's own, shown and idle.
class ShownMainDlg : public ::testing::Test {
 protected:
  void SetUp() override;

  std::shared_ptr<FakePrinters> printers = std::make_shared<FakePrinters>();
  std::unique_ptr<CMainDlg> dialog;
};

}  // namespace qm::test
