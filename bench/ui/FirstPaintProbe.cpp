// SPDX-License-Identifier: MIT
#include "FirstPaintProbe.h"

#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace qm::bench {

FirstPaintProbe::FirstPaintProbe(QWidget* window) { window->installEventFilter(this); }

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && !m_seen) {
    m_seen = true;
    // Queued: runs once the paint pass that this event opens has ended.
    QMetaObject::invokeMethod(
        watched,
        [] {
          std::printf("%lld\n", NowNs());
          std::fflush(stdout);
          std::_Exit(0);
        },
        Qt::QueuedConnection);
  }
  return false;
}

}  // namespace qm::bench
