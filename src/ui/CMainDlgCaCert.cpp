// SPDX-License-Identifier: MIT
// Main window: a CA certificate from the file chooser to the device.
#include "config/CaCertificate.h"
#include "look/MainColors.h"
#include "ui/CCaCertDlg.h"
#include "ui/CMainDlg.h"
#include "ui/CaCertTexts.h"
#include "usb/DeviceFrames.h"

namespace qm {

void CMainDlg::SendCaCertificate(PageKind page) {
  if (GetFieldComboSel(page, u"tls") != 1) {
    SetStatus(Text(ca_text::kEnableTlsFirst), kStatusWarning);
    return;
  }
  const QString path = Chooser().ChooseOpenFile(this, QString::fromUtf16(ca_text::kFileFilters),
                                                QString::fromUtf16(ca_text::kFileExtension));
  if (path.isEmpty()) return;

  // The outcome of the check is shown whatever it is; only the user's
  // explicit confirmation of a valid certificate sends it.
  CCaCertDlg dialog(ValidateCaCertificateFile(path.toStdU16String()), m_chinese, this);
  if (dialog.exec() != QDialog::Accepted || !dialog.Confirmed()) return;

  EnablePageButtons(false);
  // The device may have gone while the dialog was open: the poll kept running.
  if (RequireConnected()) {
    const bool sent = m_port.Write(BuildCaCertFrame(BuildCaCertRecord(dialog.Info().data)));
    SetStatus(Text(sent ? ca_text::kSent : ca_text::kSendFailed),
              sent ? kStatusSuccess : kStatusWarning);
  }
  EnablePageButtons(true);
}

}  // namespace qm
