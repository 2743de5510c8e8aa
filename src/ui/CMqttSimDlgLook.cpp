// SPDX-License-Identifier: MIT
// MQTT simulator window: painted bands, control colours, layout and the
// client's records that reach the window.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include "look/SimLayout.h"
#include "ui/CModernButton.h"
#include "ui/CMqttSimDlg.h"
#include "ui/ElidedLabel.h"
#include "ui/SimTexts.h"
#include "ui/TextMeasure.h"
#include "ui/WidgetLook.h"

namespace qm {

void CMqttSimDlg::paintEvent(QPaintEvent*) {
  const SimBackground bands = ComputeSimBackground(Dpi(), Size{width(), height()});
  QPainter painter(this);
  const auto fill = [&painter](const Rect& r, Rgb color) {
    painter.fillRect(r.x, r.y, r.width, r.height, ToColor(color));
  };
  fill(Rect{0, 0, width(), height()}, kSimBackground);
  fill(bands.header, kSimHeaderBand);
  fill(bands.accent, kSimAccentLine);
}

bool CMqttSimDlg::event(QEvent* event) {
  if (event->type() == WM_MQTT_RECORDS) {
    DrainRecords();
    return true;
  }
  return CBaseDlg::event(event);
}

void CMqttSimDlg::ApplyColors() {
  if (!IsInitialized()) return;
  const auto rule = [this](SimControlKind kind) { return SimControlColors(kind, m_connected); };
  const auto paintStatic = [](QWidget* widget, const ControlColors& colors) {
    Paint(widget, colors, QPalette::WindowText, QPalette::Window);
  };
  const auto paintInput = [](QWidget* widget, const ControlColors& colors) {
    Paint(widget, colors, QPalette::Text, QPalette::Base);
  };
  paintStatic(this, rule(SimControlKind::Static));
  paintStatic(m_title, rule(SimControlKind::HeaderText));
  paintStatic(m_langLabel, rule(SimControlKind::HeaderText));
  paintStatic(m_messageLine, rule(SimControlKind::MessageBand));
  paintStatic(m_status, rule(SimControlKind::Status));
  const ControlColors captions = rule(SimControlKind::Static);
  for (QWidget* caption :
       std::initializer_list<QWidget*>{m_publishLabel, m_contentLabel, m_topicLabel, m_logLabel}) {
    paintStatic(caption, captions);
  }
  const ControlColors input = rule(SimControlKind::Edit);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{m_langCombo, m_contentCombo, m_topicEdit, m_log}) {
    paintInput(widget, input);
  }
  for (const auto& row : m_rows) {
    paintStatic(row->label, captions);
    paintInput(row->edit != nullptr ? static_cast<QWidget*>(row->edit) : row->combo, input);
  }
  m_status->update();
}

void CMqttSimDlg::LayoutControls() {
  if (!IsInitialized()) return;
  SimLayoutInput input;
  for (const auto& row : m_rows)
    input.rowLabelWidths.push_back(MeasureTextWidth(this, m_fontNormal, row->label->text()));
  input.languageLabelWidth = MeasureTextWidth(this, m_fontNormal, m_langLabel->text());
  input.testCaptionWidth = MeasureTextWidth(this, m_fontSemibold, QText(sim_text::kTest));
  const auto layout = ComputeSimLayout(Dpi(), Size{width(), height()}, input);
  if (!layout) return;

  Place(m_title, layout->title);
  Place(m_langLabel, layout->languageLabel);
  Place(m_langCombo, layout->languageCombo);
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    const SimFieldSpec& row = *m_rows[i];
    Place(row.label, layout->rowLabels[i]);
    Place(row.edit != nullptr ? static_cast<QWidget*>(row.edit) : row.combo, layout->rowInputs[i]);
  }
  Place(m_connectButton, layout->connectButton);
  Place(m_disconnectButton, layout->disconnectButton);
  Place(m_status, layout->status);
  Place(m_publishLabel, layout->publishLabel);
  Place(m_contentLabel, layout->contentLabel);
  Place(m_contentCombo, layout->contentCombo);
  Place(m_testButton, layout->testButton);
  Place(m_topicLabel, layout->topicLabel);
  Place(m_topicEdit, layout->topicEdit);
  Place(m_logLabel, layout->logLabel);
  Place(m_clearButton, layout->clearButton);
  Place(m_exportButton, layout->exportButton);
  Place(m_log, layout->log);
  Place(m_messageLine, layout->messageLine);
  update();
}

}  // namespace qm
