// SPDX-License-Identifier: MIT
// MQTT simulator window: the message log, its capacity and its export.
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/CMqttSimDlg.h"
#include "ui/FileChooser.h"
#include "ui/SimTexts.h"
#include "ui/UiText.h"
#include "ui/WidgetLook.h"

namespace qm {

void CMqttSimDlg::AppendLog(std::u16string_view text, LogKind kind) {
  if (m_log == nullptr) return;
  const QTime now = m_clock();
  const QString line =
      QString::asprintf("[%02d:%02d:%02d] ", now.hour(), now.minute(), now.second()) + Q(text);
  QTextCharFormat format;
  format.setForeground(ToColor(LogKindColor(kind)));
  QTextDocument* document = m_log->document();
  QTextCursor cursor(document);
  cursor.movePosition(QTextCursor::End);
  // One edit: the new line is laid out once, not once per step.
  cursor.beginEditBlock();
  if (!document->isEmpty()) cursor.insertBlock();
  cursor.insertText(line, format);
  cursor.endEditBlock();
  // In a batch of lines the old ones go after it: dropped inside it, they
  // would make the batch's one edit span the whole log.
  if (!m_logBatchOpen) TrimLog();
  // The end of the log comes into view with every new line.
  QScrollBar* scroll = m_log->verticalScrollBar();
  scroll->setValue(scroll->maximum());
}

void CMqttSimDlg::SetLogLimits(int maxLines, int maxUnits) {
  m_logMaxLines = maxLines;
  m_logMaxUnits = maxUnits;
  if (m_log != nullptr) TrimLog();
}

void CMqttSimDlg::TrimLog() {
  // Over a cap, the oldest lines go, a hundredth of the cap more than
  // needed: one removal (and one new layout of the top line) per hundredth
  // of the cap instead of one per line. The newest line always stays.
  QTextDocument* document = m_log->document();
  const int lines = document->blockCount();
  const int dropLines = lines > m_logMaxLines ? lines - m_logMaxLines + m_logMaxLines / 100 : 0;
  const qint64 excess = document->characterCount() - m_logMaxUnits;
  const qint64 dropUnits = excess > 0 ? excess + m_logMaxUnits / 100 : 0;
  int dropped = 0;
  qint64 freed = 0;
  QTextBlock keep = document->begin();
  while (keep.next().isValid() && (dropped < dropLines || freed < dropUnits)) {
    freed += keep.length();
    keep = keep.next();
    ++dropped;
  }
  if (dropped == 0) return;
  QTextCursor oldest(document);
  oldest.setPosition(keep.position(), QTextCursor::KeepAnchor);
  oldest.removeSelectedText();
}

void CMqttSimDlg::ClearLog() { m_log->clear(); }

void CMqttSimDlg::OnExportLog() {
  const QString path =
      m_chooser.ChooseSaveFile(this, Q(sim_text::kExportFileName), Q(sim_text::kExportFilter));
  if (path.isEmpty()) return;
  // UTF-8 without a byte-order mark, each log line ended by LF, so that no
  // character of any language is lost.
  QByteArray bytes;
  const QTextDocument* document = m_log->document();
  if (!document->isEmpty()) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
      bytes += block.text().toUtf8();
      bytes += '\n';
    }
  }
  // Written beside the target and renamed over it when complete: a failed
  // export leaves an existing file as it was. The explicit flush matters:
  // commit() does not see an error of the flush in its own close, and would
  // put a cut-off file in place (disk full, file size limit).
  QSaveFile file(path);
  const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                       file.flush() && file.commit();
  if (written) {
    AppendLog(sim_text::kLogExported, LogKind::Info);
  } else {
    AppendLog(sim_text::kExportFailed, LogKind::Error);
  }
}

}  // namespace qm
