// SPDX-License-Identifier: MIT
#include "ui/UiTestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace qm::test {

void ManualTimers::Advance(long long ms) {
  const long long end = now + ms;
  const auto due = [&](const auto& entry) { return entry.second.due.value_or(end + 1); };
  for (auto next = std::ranges::min_element(timers, {}, due);
       next != timers.end() && due(*next) <= end;
       next = std::ranges::min_element(timers, {}, due)) {
    Timer& timer = next->second;
    now = *timer.due;
    timer.due.reset();
    if (!timer.spec.singleShot) timer.due = now + timer.spec.intervalMs;
    timer.fire();
  }
  now = end;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const QDeadlineTimer deadline(limit);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

QWidget* ActiveModal() { return QApplication::activeModalWidget(); }
QWidget* ActivePopup() { return QApplication::activePopupWidget(); }

bool DriveNestedLoop(const std::function<void()>& open, const std::function<QWidget*()>& find,
                     const std::function<void(QWidget*)>& act, std::chrono::milliseconds limit) {
  bool acted = false;
  const QDeadlineTimer deadline(limit);
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* widget = find();
    if (widget != nullptr && !acted) {
      acted = true;
      act(widget);
      return;
    }
    if (!deadline.hasExpired()) return;
    // Time is up: end whatever nested loop is still running.
    if (widget == nullptr) widget = ActivePopup() != nullptr ? ActivePopup() : ActiveModal();
    if (widget != nullptr) widget->close();
  });
  poll.start();
  open();
  poll.stop();
  return acted;
}

bool Draws(const QImage& image, QRgb colour, const QRect& area) {
  const QRect inside = area.isNull() ? image.rect() : area & image.rect();
  for (int x = inside.left(); x <= inside.right(); ++x)
    for (int y = inside.top(); y <= inside.bottom(); ++y)
      if (Rgb24(image, x, y) == colour) return true;
  return false;
}

const FieldSpec* FindField(const PageState& page, std::u16string_view key) {
  const auto it = std::ranges::find(page.fields, key, [](const auto& f) { return f->key; });
  return it == page.fields.end() ? nullptr : it->get();
}

void ShownMainDlg::SetUp() {
  auto source = std::make_unique<ManualTimers>();
  timers = source.get();
  dialog = std::make_unique<CMainDlg>(nullptr, std::make_unique<FakeDeviceLister>(printers),
                                      std::move(source));
  dialog->show();
  QCoreApplication::processEvents();
}

bool ShownMainDlg::Plug(std::vector<UsbDeviceEntry> entries) {
  printers->entries = std::move(entries);
  dialog->RefreshDeviceList(false);
  const auto path = [](const UsbDeviceEntry& e) { return e.devicePath; };
  return std::ranges::equal(dialog->Devices(), printers->entries, {}, path, path);
}

}  // namespace qm::test
