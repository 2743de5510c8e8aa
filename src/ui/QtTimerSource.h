// SPDX-License-Identifier: MIT
// The program's timers: one QTimer per timer id, named "timer" and the id.
#pragma once

#include <QTimer>
#include <map>
#include <memory>

#include "ui/TimerSource.h"

namespace qm {

class QtTimerSource final : public TimerSource {
 public:
  // The QTimers are children of `owner`, so they run in its thread.
  explicit QtTimerSource(QObject* owner) : m_owner(owner) {}

  void Define(int id, TimerSpec spec, std::function<void()> fire) override;
  void Start(int id) override;
  void Stop(int id) override;

 private:
  QObject* m_owner;
  std::map<int, std::unique_ptr<QTimer>> m_timers;
};

}  // namespace qm
