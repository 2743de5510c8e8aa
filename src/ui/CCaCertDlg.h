// SPDX-License-Identifier: MIT
// The confirmation dialog of a CA certificate: the chosen file's path, the
// summary of its check and "Confirm & Send" / "Cancel". It sends nothing
// itself; it only records whether the user confirmed.
#pragma once

#include <QFont>

#include "config/CaCertificate.h"
#include "text/TextPair.h"
#include "ui/CBaseDlg.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace qm {

class CModernButton;
class ElidedLabel;

class CCaCertDlg final : public CBaseDlg {
  Q_OBJECT

 public:
  static constexpr int kIdPathEdit = 1201;
  static constexpr int kIdInfoEdit = 1202;
  static constexpr int kIdConfirmButton = 1203;
  static constexpr int kIdCancelButton = 1204;

  // The language is fixed here for the dialog's life. Creates no controls:
  // they are built when the dialog is first shown.
  CCaCertDlg(CaCertInfo info, bool chinese, QWidget* parent);

  // Routes the buttons' clicks and the dialog's own OK and Cancel by id.
  bool OnCommand(int id, int code) override;

  // Only an accepted run with Confirmed() set means "send".
  bool Confirmed() const { return m_confirmed; }
  const CaCertInfo& Info() const { return m_info; }
  bool IsChinese() const { return m_chinese; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnInitDialog() override;
  void CreateFonts() override;
  void ApplyFonts() override;
  Size MinimumSizeAt(int dpi) const override;
  void LayoutControls() override;
  void CreateControls();
  void ApplyColors();
  void ApplyLanguage();
  QString Text(const TextPair& pair) const;

  CaCertInfo m_info;
  const bool m_chinese;
  bool m_confirmed = false;
  ElidedLabel* m_header = nullptr;
  QLabel* m_pathLabel = nullptr;
  QLineEdit* m_pathEdit = nullptr;
  QPlainTextEdit* m_infoEdit = nullptr;
  CModernButton* m_btnConfirm = nullptr;
  CModernButton* m_btnCancel = nullptr;
  QFont m_font;
  QFont m_fontTitle;
};

}  // namespace qm
