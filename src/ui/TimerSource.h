// SPDX-License-Identifier: MIT
// Where a window's timers come from: Qt's timers in the program, a clock the
// test moves on in the tests.
#pragma once

#include <functional>

namespace qm {

struct TimerSpec {
  int intervalMs = 0;
  bool singleShot = false;
  // Never fires early: for a wait that is a floor, not a hint.
  bool precise = false;
};

class TimerSource {
 public:
  virtual ~TimerSource() = default;
  // Makes the timer with that id, stopped; once started it calls `fire`
  // after each interval (after the first only, when a single shot).
  virtual void Define(int id, TimerSpec spec, std::function<void()> fire) = 0;
  // Starts a defined timer, or starts it again from now when it runs.
  virtual void Start(int id) = 0;
  virtual void Stop(int id) = 0;
};

}  // namespace qm
