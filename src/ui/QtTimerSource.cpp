// SPDX-License-Identifier: MIT
#include "ui/QtTimerSource.h"

namespace qm {

void QtTimerSource::Define(int id, TimerSpec spec, std::function<void()> fire) {
  auto timer = std::make_unique<QTimer>(m_owner);
  timer->setObjectName(QStringLiteral("timer%1").arg(id));
  timer->setInterval(spec.intervalMs);
  timer->setSingleShot(spec.singleShot);
  // A coarse timer may fire up to 5 % early.
  timer->setTimerType(spec.precise ? Qt::PreciseTimer : Qt::CoarseTimer);
  QObject::connect(timer.get(), &QTimer::timeout, timer.get(), std::move(fire));
  m_timers[id] = std::move(timer);
}

void QtTimerSource::Start(int id) { m_timers.at(id)->start(); }

void QtTimerSource::Stop(int id) { m_timers.at(id)->stop(); }

}  // namespace qm
