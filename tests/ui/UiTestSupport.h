// SPDX-License-Identifier: MIT
// Helpers shared by the window tests: a replaceable printer list, device
// nodes that record what they receive, waiting on real timers, screenshots.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ui/DeviceLister.h"

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

// A FIFO standing in for a printer's device node. The test end reads what
// the program wrote; Choke() fills the pipe so that the device takes nothing.
class FakeDeviceNode final {
 public:
  FakeDeviceNode();
  ~FakeDeviceNode();
  FakeDeviceNode(const FakeDeviceNode&) = delete;
  FakeDeviceNode& operator=(const FakeDeviceNode&) = delete;

  const std::u16string& Path() const { return m_path; }
  // Everything written so far that has not been read yet.
  std::vector<std::uint8_t> TakeReceived();
  void Choke();

 private:
  std::string m_dir;
  std::u16string m_path;
  int m_readFd = -1;
  int m_chokeFd = -1;
};

// Runs the event loop until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// Processes events for about the given time.
void Pump(std::chrono::milliseconds duration);

QColor PixelAt(const QImage& image, int x, int y);

// Saves a window's image when QM_SHOT_DIR is set (for looking at the window).
void MaybeSaveShot(const QImage& image, const QString& name);

}  // namespace qm::test
