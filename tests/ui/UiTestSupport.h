// SPDX-License-Identifier: MIT
// Helpers of the window tests: a printer list, timers on the test's clock, nested loops, pixels.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <chrono>
#include <functional>
#include <map>

#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/DeviceLister.h"
#include "ui/ElidedLabel.h"
#include "ui/TimerSource.h"
#include "usb/FifoDevice.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace qm::test {

// The printers a test has "plugged in", and how often the window listed them.
struct FakeDeviceLister final : DeviceLister {
  std::vector<UsbDeviceEntry> ListPrinters() override { return ++listings, entries; }
  std::vector<UsbDeviceEntry> entries;
  int listings = 0;
};

// Timers that fire only when the test moves the clock on (Advance: in time order).
struct ManualTimers final : TimerSource {
  void Define(int id, TimerSpec s, std::function<void()> f) override { timers[id] = {s, f}; }
  void Start(int id) override { due[id] = now + timers.at(id).first.intervalMs; }
  void Stop(int id) override { due.erase(id); }
  void Advance(long long ms);
  std::map<int, std::pair<TimerSpec, std::function<void()>>> timers;
  std::map<int, long long> due;  // of the running ones
  long long now = 0;
};

// Runs the event loop until the condition holds (false when the time is up).
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// Runs `open`, which enters a nested loop (exec(), a menu), and hands the first widget `find`
// returns to `act` (no assertions in it); closes what is left open at the limit. True when acted.
bool DriveNestedLoop(const std::function<void()>& open, const std::function<QWidget*()>& find,
                     const std::function<void(QWidget*)>& act,
                     std::chrono::milliseconds limit = std::chrono::seconds(5));
inline QWidget* ActiveModal() { return QApplication::activeModalWidget(); }
inline QWidget* ActivePopup() { return QApplication::activePopupWidget(); }

// A pixel as 0xRRGGBB; whether some pixel of the area (all when none) has it.
inline QRgb Rgb24(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
bool Draws(const QImage& image, QRgb colour, const QRect& area = QRect());

const FieldSpec* FindField(const PageState& page, std::u16string_view key);

// A shown main window on the test's printer list and clock.
class ShownMainDlg : public ::testing::Test {
 protected:
  void SetUp() override;
  QString Status() const { return qobject_cast<QLabel*>(dialog->Control(kIdStatus))->text(); }
  // Picks an entry as the user does.
  static void Choose(QComboBox* c, int i) { c->setCurrentIndex(i), c->activated(i); }
  void Choose(int id, int i) const { Choose(qobject_cast<QComboBox*>(dialog->Control(id)), i); }
  void SelectTab(int page) const {
    qobject_cast<QTabBar*>(dialog->Control(kIdTab))->setCurrentIndex(page);
  }
  // The printers the next poll finds; true when the window lists them.
  bool Plug(std::vector<UsbDeviceEntry> entries);

  FakeDeviceLister* printers = nullptr;  // the window's, as its timers
  ManualTimers* timers = nullptr;
  std::unique_ptr<CMainDlg> dialog;
};

}  // namespace qm::test
