// SPDX-License-Identifier: MIT
// Screen and dpi changes of a shown window.
#include "ui/ScreenWatch.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace qm {

void WatchScreenDpi(QWidget* window, std::function<void()> changed) {
  QWindow* handle = window->windowHandle();
  if (handle == nullptr || handle->property("qmWatched").toBool()) return;
  handle->setProperty("qmWatched", true);
  const auto watchDpi = [window, changed](QScreen* screen) {
    if (screen != nullptr) QObject::connect(screen, &QScreen::logicalDotsPerInchChanged, window, changed);
  };
  watchDpi(handle->screen());
  QObject::connect(handle, &QWindow::screenChanged, window, [watchDpi, changed](QScreen* screen) {
    watchDpi(screen);
    changed();
  });
}

QSize KeepSizeAcrossDpi(QSize size, int oldDpi, int newDpi) {
  const auto rescale = [&](int v) {
    return static_cast<int>((static_cast<long long>(v) * newDpi + oldDpi / 2) / oldDpi);
  };
  return QSize(rescale(size.width()), rescale(size.height()));
}

}  // namespace qm
