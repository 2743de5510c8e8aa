// SPDX-License-Identifier: MIT
// The child side of the start-up benchmark: reports the moment a window has
// finished its first paint on standard output, then ends the process.
#pragma once

#include <QObject>

#include "MonotonicClock.h"

namespace qm::bench {

// Watches one window; after its first paint event has been handled (the
// whole first paint pass, children included), prints NowNs() and exits.
class FirstPaintProbe final : public QObject {
 public:
  explicit FirstPaintProbe(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool m_seen = false;
};

}  // namespace qm::bench
