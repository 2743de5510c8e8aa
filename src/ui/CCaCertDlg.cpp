// SPDX-License-Identifier: MIT
// The CA certificate confirmation dialog: controls, look, layout, commands.
#include "ui/CCaCertDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include "config/CaCertSummary.h"
#include "look/CaCertLayout.h"
#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/CaCertTexts.h"
#include "ui/DialogKeys.h"
#include "ui/DpiWatch.h"
#include "ui/ElidedLabel.h"
#include "ui/UiText.h"
#include "ui/WindowFonts.h"
#include "ui/WindowPlacement.h"

namespace qm {
namespace {

constexpr qreal kNormalPoints = 9.5;
constexpr qreal kTitlePoints = 11.5;

void Place(QWidget* widget, const Rect& r) { widget->setGeometry(r.x, r.y, r.width, r.height); }

// Text and background of a static or read-only edit, in every state.
void Paint(QWidget* widget, QPalette::ColorRole textRole, QPalette::ColorRole backgroundRole) {
  QPalette palette = widget->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, textRole, QColor::fromRgb(kCaCertText));
    palette.setColor(group, backgroundRole, QColor::fromRgb(kCaCertBackground));
  }
  widget->setPalette(palette);
}

}  // namespace

CCaCertDlg::CCaCertDlg(CaCertInfo info, bool chinese, QWidget* parent)
    : QDialog(parent), m_info(std::move(info)), m_chinese(chinese) {}

CCaCertDlg::~CCaCertDlg() {
  // The controls go with the base class, after this object's own parts.
  for (QObject* child : children()) QObject::disconnect(child, nullptr, this, nullptr);
}

void CCaCertDlg::setVisible(bool visible) {
  // The first show builds the dialog, as its initialisation would.
  if (visible && !m_initialized) OnInitDialog();
  QDialog::setVisible(visible);
  if (visible) {
    WatchWindowDpi(this, [this] { OnDpiChanged(); });
    OnDpiChanged();
  }
}

int CCaCertDlg::Dpi() const { return logicalDpiX(); }

QString CCaCertDlg::Text(const TextPair& pair) const { return Q(pair.Pick(m_chinese)); }

void CCaCertDlg::OnInitDialog() {
  // A sizing border and a minimise box besides the close box.
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  CreateControls();
  CreateFonts();
  ApplyColors();
  m_btnConfirm->setEnabled(m_info.valid);
  ApplyLanguage();

  // Centred over the owner.
  const int dpi = Dpi();
  const QPoint centre =
      parentWidget() != nullptr ? parentWidget()->window()->frameGeometry().center() : pos();
  SizeAndCentre(this, CaCertMinimumSize(dpi), CaCertInitialSize(dpi), centre);
  m_initialized = true;
  LayoutControls();
}

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
  m_fontDpi = Dpi();
  setFont(m_font);
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
  Paint(m_header, QPalette::WindowText, QPalette::Window);
  Paint(m_pathLabel, QPalette::WindowText, QPalette::Window);
  Paint(m_pathEdit, QPalette::Text, QPalette::Base);
  Paint(m_infoEdit, QPalette::Text, QPalette::Base);
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
  if (!m_initialized) return;
  const auto layout = ComputeCaCertLayout(Dpi(), Size{width(), height()});
  if (!layout) return;
  Place(m_header, layout->header);
  Place(m_pathLabel, layout->pathLabel);
  Place(m_pathEdit, layout->pathEdit);
  Place(m_infoEdit, layout->infoEdit);
  Place(m_btnCancel, layout->cancelButton);
  Place(m_btnConfirm, layout->confirmButton);
}

void CCaCertDlg::OnDpiChanged() {
  if (ApplyDpiChange(this, m_initialized, m_fontDpi, Dpi(), CaCertMinimumSize,
                     [this] { CreateFonts(); })) {
    LayoutControls();
  }
}

void CCaCertDlg::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), QColor::fromRgb(kCaCertBackground));
}

void CCaCertDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayoutControls();
  update();
}

void CCaCertDlg::keyPressEvent(QKeyEvent* event) {
  if (const int command = DialogKeyCommand(*event); command != 0) {
    OnCommand(command, kBnClicked);
    return;
  }
  QDialog::keyPressEvent(event);
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
