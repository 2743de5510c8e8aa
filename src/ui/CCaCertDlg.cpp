// SPDX-License-Identifier: MIT
// The CA certificate confirmation dialog: controls, look, layout, commands.
#include "ui/CCaCertDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include "config/CaCertSummary.h"
#include "look/CaCertLayout.h"
#include "ui/CModernButton.h"
#include "ui/CaCertTexts.h"
#include "ui/ControlIds.h"
#include "ui/ElidedLabel.h"
#include "ui/UiText.h"
#include "ui/WidgetLook.h"
#include "ui/WindowFonts.h"

namespace qm {
namespace {

constexpr qreal kNormalPoints = 9.5;
constexpr qreal kTitlePoints = 11.5;

// Text and background of the statics and read-only edits, in every state.
constexpr ControlColors kTextColors{false, false, kCaCertText, kCaCertBackground};

}  // namespace

// A sizing border and a minimise box besides the close box.
CCaCertDlg::CCaCertDlg(CaCertInfo info, bool chinese, QWidget* parent)
    : CBaseDlg(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_info(std::move(info)),
      m_chinese(chinese) {}

QString CCaCertDlg::Text(const TextPair& pair) const { return Q(pair.Pick(m_chinese)); }

void CCaCertDlg::OnInitDialog() {
  CreateControls();
  BuildFonts();
  ApplyFonts();
  ApplyColors();
  m_btnConfirm->setEnabled(m_info.valid);
  ApplyLanguage();

  // Centred over the owner.
  const int dpi = Dpi();
  const QPoint centre =
      parentWidget() != nullptr ? parentWidget()->window()->frameGeometry().center() : pos();
  SizeAndCentre(CaCertInitialSize(dpi), centre);
  MarkInitialized();
  LayoutControls();
}

Size CCaCertDlg::MinimumSizeAt(int dpi) const { return CaCertMinimumSize(dpi); }

void CCaCertDlg::CreateControls() {
  m_header = new ElidedLabel(Qt::AlignLeft, this);
  SetControlId(m_header, kIdHeaderStatic);
  m_pathLabel = new QLabel(this);
  SetControlId(m_pathLabel, kIdHeaderStatic);

  // Read-only, and outside the tab order as edits without a tab stop are.
  m_pathEdit = new QLineEdit(Q(m_info.path), this);
  m_pathEdit->setReadOnly(true);
  m_pathEdit->setFocusPolicy(Qt::ClickFocus);
  SetControlId(m_pathEdit, kIdPathEdit);
  m_infoEdit = new QPlainTextEdit(this);
  m_infoEdit->setReadOnly(true);
  m_infoEdit->setFocusPolicy(Qt::ClickFocus);
  m_infoEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SetControlId(m_infoEdit, kIdInfoEdit);

  const auto button = [this](int id, bool primary) {
    auto* created = new CModernButton(this);
    created->SetPrimary(primary);
    SetControlId(created, id);
    connect(created, &QPushButton::clicked, this, [this, id] { OnCommand(id, kBnClicked); });
    return created;
  };
  m_btnConfirm = button(kIdConfirmButton, true);
  m_btnCancel = button(kIdCancelButton, false);
}

void CCaCertDlg::CreateFonts() {
  // The dialog's own language decides the face, nothing else.
  m_font = MakeWindowFont(m_chinese, false, kNormalPoints);
  m_fontTitle = MakeWindowFont(m_chinese, false, kTitlePoints);
  setFont(m_font);
}

void CCaCertDlg::ApplyFonts() {
  m_header->setFont(m_fontTitle);
  for (QWidget* widget : {static_cast<QWidget*>(m_pathLabel), static_cast<QWidget*>(m_pathEdit),
                          static_cast<QWidget*>(m_infoEdit)}) {
    widget->setFont(m_font);
  }
  m_btnConfirm->SetDrawFont(&m_font);
  m_btnCancel->SetDrawFont(&m_font);
}

void CCaCertDlg::ApplyColors() {
  // Statics are drawn over the dialog's background; the read-only edits
  // take the same background and text colour.
  Paint(m_header, kTextColors, QPalette::WindowText, QPalette::Window);
  Paint(m_pathLabel, kTextColors, QPalette::WindowText, QPalette::Window);
  Paint(m_pathEdit, kTextColors, QPalette::Text, QPalette::Base);
  Paint(m_infoEdit, kTextColors, QPalette::Text, QPalette::Base);
}

void CCaCertDlg::ApplyLanguage() {
  setWindowTitle(Text(ca_text::kCaption));
  m_header->setText(Text(ca_text::kHeader));
  m_pathLabel->setText(Text(ca_text::kPathLabel));
  m_btnConfirm->setText(Text(ca_text::kConfirm));
  m_btnCancel->setText(Text(ca_text::kCancel));
  m_infoEdit->setPlainText(Q(BuildCaCertSummary(m_info, m_chinese)));
}

void CCaCertDlg::LayoutControls() {
  if (!IsInitialized()) return;
  const auto layout = ComputeCaCertLayout(Dpi(), Size{width(), height()});
  if (!layout) return;
  Place(m_header, layout->header);
  Place(m_pathLabel, layout->pathLabel);
  Place(m_pathEdit, layout->pathEdit);
  Place(m_infoEdit, layout->infoEdit);
  Place(m_btnCancel, layout->cancelButton);
  Place(m_btnConfirm, layout->confirmButton);
  update();
}

void CCaCertDlg::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), ToColor(kCaCertBackground));
}

bool CCaCertDlg::OnCommand(int id, int code) {
  if (code != kBnClicked) return false;
  if (id == kIdConfirmButton) {
    // A failed check can only be closed, whatever reaches this point.
    if (m_info.valid) {
      m_confirmed = true;
      accept();
    }
    return true;
  }
  if (id == kIdCancelButton) {
    m_confirmed = false;
    reject();
    return true;
  }
  // The dialog's own OK (Enter) and Cancel (Esc, the close box) end it
  // without a confirmation.
  if (id == kIdOk) {
    accept();
    return true;
  }
  if (id == kIdCancel) {
    reject();
    return true;
  }
  return false;
}

}  // namespace qm
