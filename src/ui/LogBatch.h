// SPDX-License-Identifier: MIT
// Lines appended to a plain-text log as one edit.
#pragma once

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <functional>
#include <utility>

namespace qm {

// While one lives, lines appended to the log join one edit of its document:
// the log lays out, resizes its scroll range and scrolls once, when the
// batch ends (also when an exception leaves the scope), instead of once per
// line. Then `done` runs, and the log shows its end.
class LogBatch final {
 public:
  LogBatch(QPlainTextEdit* log, std::function<void()> done)
      : m_log(log), m_cursor(log->document()), m_done(std::move(done)) {
    m_cursor.beginEditBlock();
  }
  ~LogBatch() {
    m_cursor.endEditBlock();
    m_done();
    QScrollBar* scroll = m_log->verticalScrollBar();
    scroll->setValue(scroll->maximum());
  }
  LogBatch(const LogBatch&) = delete;
  LogBatch& operator=(const LogBatch&) = delete;

 private:
  QPlainTextEdit* m_log;
  QTextCursor m_cursor;
  std::function<void()> m_done;
};

}  // namespace qm
