// SPDX-License-Identifier: MIT
// Helpers shared by the window tests: a replaceable printer list, device
// nodes (tests/usb/FifoDevice.h), timers on a clock the test moves on, a
// shown main window, nested event loops, pixels.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/DeviceLister.h"
#include "ui/ElidedLabel.h"
#include "ui/TimerSource.h"
#include "usb/FifoDevice.h"

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace qm::test {

// The printers a test has "plugged in"; the window's lister reads them.
struct FakePrinters {
  std::vector<UsbDeviceEntry> entries;
  int listings = 0;
};

struct FakeDeviceLister final : DeviceLister {
  explicit FakeDeviceLister(std::shared_ptr<FakePrinters> p = std::make_shared<FakePrinters>())
      : printers(std::move(p)) {}
  std::vector<UsbDeviceEntry> ListPrinters() override {
    return ++printers->listings, printers->entries;
  }
  std::shared_ptr<FakePrinters> printers;
};

// Timers that fire only when the test moves the clock on.
struct ManualTimers final : TimerSource {
  struct Timer {
    TimerSpec spec;
    std::function<void()> fire;
    std::optional<long long> due;  // while running
  };
  void Define(int id, TimerSpec spec, std::function<void()> fire) override {
    timers[id] = {spec, std::move(fire), {}};
  }
  void Start(int id) override { timers.at(id).due = now + timers.at(id).spec.intervalMs; }
  void Stop(int id) override { timers.at(id).due.reset(); }
  // Moves the clock on, firing each timer that falls due on the way, in time order.
  void Advance(long long ms);

  std::map<int, Timer> timers;
  long long now = 0;
};

// Runs the event loop until the condition holds (false when the time is up),
// or for about the given time.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
inline void Pump(std::chrono::milliseconds duration) {
  WaitUntil([] { return false; }, duration);
}

// Runs `open`, which enters a nested event loop (a modal exec(), a menu),
// and hands the first widget that `find` returns meanwhile to `act`. Make no
// assertion inside `act`: record what is needed and check it once `open`
// has returned. Whatever is still open when the time is up is closed, so
// `open` always returns. True when `act` ran.
bool DriveNestedLoop(const std::function<void()>& open, const std::function<QWidget*()>& find,
                     const std::function<void(QWidget*)>& act,
                     std::chrono::milliseconds limit = std::chrono::seconds(5));
QWidget* ActiveModal();
QWidget* ActivePopup();

// A pixel as 0xRRGGBB; whether some pixel of the area (all when none) has it.
inline QRgb Rgb24(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
bool Draws(const QImage& image, QRgb colour, const QRect& area = QRect());

// The row of a page with that key; null when the page has none.
const FieldSpec* FindField(const PageState& page, std::u16string_view key);

// A main window on a printer list and timers of the test's own, shown.
class ShownMainDlg : public ::testing::Test {
 protected:
  void SetUp() override;
  QString Status() const { return qobject_cast<QLabel*>(dialog->Control(kIdStatus))->text(); }
  // Picks an entry as the user does; a page as its tab does.
  static void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  void Choose(int id, int index) const {
    Choose(qobject_cast<QComboBox*>(dialog->Control(id)), index);
  }
  void SelectTab(int page) const {
    qobject_cast<QTabBar*>(dialog->Control(kIdTab))->setCurrentIndex(page);
  }
  // The printers now plugged in, as the next poll finds them; true when the
  // window lists them.
  bool Plug(std::vector<UsbDeviceEntry> entries);

  std::shared_ptr<FakePrinters> printers = std::make_shared<FakePrinters>();
  ManualTimers* timers = nullptr;  // the window's
  std::unique_ptr<CMainDlg> dialog;
};

}  // namespace qm::test
