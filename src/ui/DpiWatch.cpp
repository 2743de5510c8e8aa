// SPDX-License-Identifier: MIT
#include "ui/DpiWatch.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <memory>

namespace qm {

void WatchWindowDpi(QWidget* widget, const std::function<void()>& onChange) {
  QWindow* window = widget->windowHandle();
  if (window == nullptr || window->property("qmWatched").toBool()) return;
  window->setProperty("qmWatched", true);
  // Only the current screen's dpi is followed.
  auto dpiLink = std::make_shared<QMetaObject::Connection>();
  const auto watchDpi = [widget, onChange, dpiLink](QScreen* screen) {
    QObject::disconnect(*dpiLink);
    if (screen != nullptr)
      *dpiLink = QObject::connect(screen, &QScreen::logicalDotsPerInchChanged, widget, onChange);
  };
  watchDpi(window->screen());
  QObject::connect(window, &QWindow::screenChanged, widget, [watchDpi, onChange](QScreen* screen) {
    watchDpi(screen);
    onChange();
  });
}

}  // namespace qm
