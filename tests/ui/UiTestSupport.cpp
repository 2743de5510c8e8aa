// SPDX-License-Identifier: MIT
#include "ui/UiTestSupport.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace qm::test {

void ManualTimers::Advance(long long ms) {
  for (const long long end = now + ms;;) {
    const auto next = std::ranges::min_element(due, {}, [](const auto& d) { return d.second; });
    if (next == due.end() || next->second > end) return void(now = end);
    const auto [id, at] = *next;
    const auto& [spec, fire] = timers.at(id);
    now = at;
    spec.singleShot ? void(due.erase(id)) : void(due[id] = at + spec.intervalMs);
    fire();
  }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  for (const QDeadlineTimer deadline(limit); !condition(); QThread::msleep(5)) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

bool DriveNestedLoop(const std::function<void()>& open, const std::function<QWidget*()>& find,
                     const std::function<void(QWidget*)>& act, std::chrono::milliseconds limit) {
  bool acted = false;
  const QDeadlineTimer deadline(limit);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* widget = find();
    if (widget != nullptr && !acted) return acted = true, act(widget);
    if (!deadline.hasExpired()) return;
    if (widget == nullptr) widget = ActivePopup() != nullptr ? ActivePopup() : ActiveModal();
    if (widget != nullptr) widget->close();  // time is up: end the nested loop
  });
  poll.start(10);
  open();
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
  dialog = std::make_unique<CMainDlg>(
      nullptr, std::unique_ptr<DeviceLister>(printers = new FakeDeviceLister),
      std::unique_ptr<TimerSource>(timers = new ManualTimers));
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
