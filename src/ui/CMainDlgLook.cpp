// SPDX-License-Identifier: MIT
// Main window: painted background, control colours and layout.
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QTabBar>

#include "look/MainColors.h"
#include "look/MainLayout.h"
#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/DeviceComboBox.h"
#include "ui/ElidedLabel.h"
#include "ui/TextMeasure.h"
#include "ui/UiText.h"
#include "ui/WidgetLook.h"

namespace qm {

void CMainDlg::paintEvent(QPaintEvent*) {
  const MainBackground bands = ComputeMainBackground(Dpi(), Size{width(), height()});
  QPainter painter(this);
  const auto fill = [&painter](const Rect& r, Rgb color) {
    painter.fillRect(r.x, r.y, r.width, r.height, ToColor(color));
  };
  fill(Rect{0, 0, width(), height()}, kMainWindowBackground);
  fill(bands.header, kMainHeaderBand);
  fill(bands.accent, kMainAccentLine);
  fill(bands.separator, kMainBorderLine);
  if (IsInitialized() && m_tab != nullptr && m_tabDisplay.width > 0) {
    const Rect& card = m_tabDisplay;
    fill(card, kMainCard);
    // The outline lies inside the card, one pen width thick.
    const int line = bands.cardBorder;
    fill(Rect{card.x, card.y, card.width, line}, kMainBorderLine);
    fill(Rect{card.x, card.bottom() - line, card.width, line}, kMainBorderLine);
    fill(Rect{card.x, card.y, line, card.height}, kMainBorderLine);
    fill(Rect{card.right() - line, card.y, line, card.height}, kMainBorderLine);
  }
  fill(bands.statusBand, kMainStatusBand);
}

void CMainDlg::ApplyColors() {
  if (!IsInitialized()) return;
  const auto rule = [this](MainControlKind kind) {
    return MainControlColors(kind, m_pagesEnabled, m_statusColor);
  };
  const ControlColors header = rule(MainControlKind::HeaderText);
  Paint(m_title, header, QPalette::WindowText, QPalette::Window);
  Paint(m_langLabel, header, QPalette::WindowText, QPalette::Window);
  ApplyStatusColor();
  Paint(m_usbLabel, rule(MainControlKind::UsbLabel), QPalette::WindowText, QPalette::Window);
  Paint(this, rule(MainControlKind::Dialog), QPalette::WindowText, QPalette::Window);
  const ControlColors pageStatic = rule(MainControlKind::PageStatic);
  const ControlColors edit = rule(MainControlKind::Edit);
  const ControlColors list = rule(MainControlKind::List);
  const auto paintInput = [&](QWidget* input, const ControlColors& enabled) {
    Paint(input, enabled, QPalette::Text, QPalette::Base, {QPalette::Active, QPalette::Inactive});
    // A disabled input draws as a static does.
    Paint(input, pageStatic, QPalette::Text, QPalette::Base, {QPalette::Disabled});
  };
  Paint(m_langCombo, list, QPalette::Text, QPalette::Base);
  Paint(m_usbCombo, list, QPalette::Text, QPalette::Base);
  for (PageState& page : m_pages) {
    for (const auto& field : page.fields) {
      Paint(field->label, pageStatic, QPalette::WindowText, QPalette::Window);
      Paint(field->prefix, pageStatic, QPalette::WindowText, QPalette::Window);
      paintInput(field->edit, edit);
      paintInput(field->combo, list);
    }
  }
  update();
}

void CMainDlg::ApplyStatusColor() {
  Paint(m_status, MainControlColors(MainControlKind::StatusLine, m_pagesEnabled, m_statusColor),
        QPalette::WindowText, QPalette::Window);
}

void CMainDlg::LayoutControls() {
  if (!IsInitialized()) return;
  const int dpi = Dpi();
  MainTextWidths texts;
  texts.languageLabel = MeasureTextWidth(this, m_fontNormal, QText(main_text::kLanguageLabel));
  texts.simulatorCaption = MeasureTextWidth(this, m_fontSemibold, QText(main_text::kSimulator));
  texts.usbLabel = MeasureTextWidth(this, m_fontNormal, Q(main_text::kUsbLabel.en));
  texts.connectCaption = MeasureTextWidth(this, m_fontSemibold, QText(ConnectCaption()));
  const auto layout = ComputeMainLayout(dpi, Size{width(), height()}, texts);
  if (!layout) return;

  Place(m_langCombo, layout->languageCombo);
  Place(m_langLabel, layout->languageLabel);
  Place(m_simulatorButton, layout->simulatorButton);
  Place(m_title, layout->title);
  Place(m_status, layout->status);
  Place(m_usbLabel, layout->usbLabel);
  Place(m_usbCombo, layout->usbCombo);
  Place(m_connectButton, layout->connectButton);

  // The tab bar is the strip on top of the tab area; the card below it is
  // painted by the window and the page controls sit on it.
  const Rect& tab = layout->tab;
  const int strip = std::min(m_tab->sizeHint().height(), tab.height);
  Place(m_tab, Rect{tab.x, tab.y, tab.width, strip});
  m_tabDisplay = TabDisplayArea(tab, strip);
  const Rect pageRect = PageRectangle(m_tabDisplay, dpi);
  for (PageKind kind : kPageKinds) LayoutPage(kind, pageRect);
  update();
}

void CMainDlg::LayoutPage(PageKind kind, const Rect& rect) {
  PageState& page = PageOf(kind);
  const bool current = kind == m_currentPage;
  const bool caOn = CaButtonShown(kind);
  PageLayoutInput input;
  input.page = rect;
  for (const auto& field : page.fields) {
    const RowKind kind = field->prefix != nullptr  ? RowKind::PrefixedEdit
                         : field->combo != nullptr ? RowKind::Combo
                                                   : RowKind::Edit;
    input.rows.push_back({kind, MeasureTextWidth(this, m_fontNormal, field->label->text())});
  }
  input.writeCaptionWidth = MeasureTextWidth(this, m_fontSemibold, page.writeButton->text());
  input.hasSelfTest = page.hasSelfTest;
  if (page.hasSelfTest)
    input.selfTestCaptionWidth =
        MeasureTextWidth(this, m_fontSemibold, page.selfTestButton->text());
  input.caButtonShown = caOn;
  const auto layout = ComputePageLayout(Dpi(), input);
  if (!layout) return;

  for (std::size_t i = 0; i < page.fields.size(); ++i) {
    const FieldSpec& field = *page.fields[i];
    const PageRowPlacement& row = layout->rows[i];
    Place(field.label, row.label);
    field.label->setVisible(current);
    if (field.prefix != nullptr) {
      Place(field.prefix, row.prefix);
      field.prefix->setVisible(current);
    }
    QWidget* input = field.combo != nullptr ? static_cast<QWidget*>(field.combo) : field.edit;
    Place(input, row.input);
    input->setVisible(current);
  }
  if (page.hasCaButton && page.caButton != nullptr) {
    Place(page.caButton, layout->caButton);
    page.caButton->setVisible(caOn);
  }
  if (page.hasSelfTest) {
    Place(page.selfTestButton, layout->selfTestButton);
    page.selfTestButton->setVisible(current);
  }
  Place(page.writeButton, layout->writeButton);
  page.writeButton->setVisible(current);
}

}  // namespace qm
