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
  if (!document->isEmpty()) cursor.insertBlock();
  cursor.insertText(line, format);
  TrimLog();
  // The end of the log comes into view with every new line.
  QScrollBar* scroll = m_log->verticalScrollBar();
  scroll->setValue(scroll->maximum());
}

void CMqttSimDlg::SetLogLimits(int maxLines, int maxUnits) {
  m_logMaxLines = maxLines;
  m_logMaxUnits = maxUnits;
  if (m_log == nullptr) return;
  m_log->setMaximumBlockCount(maxLines);
  TrimLog();
}

void CMqttSimDlg::TrimLog() {
  // The line cap is the document's own (oldest lines go first); the size
  // cap drops old lines too, but never the newest one.
  QTextDocument* document = m_log->document();
  while (document->characterCount() > m_logMaxUnits && document->blockCount() > 1) {
    QTextCursor oldest(document->begin());
    oldest.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    oldest.removeSelectedText();
  }
}

void CMqttSimDlg::ClearLog() { m_log->clear(); }

void CMqttSimDlg::OnExportLog() {
  const QString path = m_chooser.ChooseSaveFile(this, Q(sim_text::kExportFileName), Q(sim_text::kExportFilter));
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
  const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
                       file.commit();
  if (written) {
    AppendLog(sim_text::kLogExported, LogKind::Info);
  } else {
    AppendLog(sim_text::kExportFailed, LogKind::Error);
  }
}

}  // namespace qm
