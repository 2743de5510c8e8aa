// SPDX-License-Identifier: MIT
// Main window: the USB device list, connecting and the page lock.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

#include "look/MainColors.h"
#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/DeviceComboBox.h"
#include "ui/DeviceLister.h"
#include "ui/UiText.h"

namespace qm {
namespace {

bool SameList(const std::vector<UsbDeviceEntry>& a, const std::vector<UsbDeviceEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].devicePath != b[i].devicePath || a[i].displayName != b[i].displayName) return false;
  }
  return true;
}

}  // namespace

void CMainDlg::OnTimer(int id) {
  if (id == kUnlockTimerId) {
    m_timers->Stop(kUnlockTimerId);
    // The Tencent Cloud wait is over: that page's buttons come back even
    // when the user has moved to another page meanwhile.
    EnablePageButtonsOf(PageKind::PrinterTencent, true);
  } else if (id == kPollTimerId) {
    RefreshDeviceList(false);
  }
}

void CMainDlg::RefreshDeviceList(bool force) {
  if (m_usbCombo == nullptr) return;
  // A list the user is choosing from is not changed under the choice.
  if (!force && m_deviceMenuOpen) return;
  std::vector<UsbDeviceEntry> fresh = m_lister->ListPrinters();

  std::u16string reselect = m_connected ? m_connectedPath : std::u16string();
  if (reselect.empty()) {
    const int index = m_usbCombo->currentIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < m_devices.size()) {
      reselect = m_devices[static_cast<std::size_t>(index)].devicePath;
    }
  }

  bool unplugged = false;
  if (m_connected) {
    const bool present = std::any_of(fresh.begin(), fresh.end(), [this](const UsbDeviceEntry& e) {
      return e.devicePath == m_connectedPath;
    });
    // A write that had to end a transfer and could not open the node again
    // has closed the port: the device is as good as unplugged.
    if (!present || !m_port.IsOpen()) {
      DropConnection();
      unplugged = true;
    }
  }

  if (SameList(fresh, m_devices) && !unplugged && (!force || !fresh.empty())) return;

  m_devices = std::move(fresh);
  {
    const QSignalBlocker quiet(m_usbCombo);
    m_usbCombo->clear();
    if (m_devices.empty()) {
      m_usbCombo->addItem(QText(main_text::kNoDevice));
      m_usbCombo->setCurrentIndex(0);
    } else {
      int select = 0;
      for (std::size_t i = 0; i < m_devices.size(); ++i) {
        m_usbCombo->addItem(Q(m_devices[i].displayName));
        if (!reselect.empty() && m_devices[i].devicePath == reselect) select = static_cast<int>(i);
      }
      m_usbCombo->setCurrentIndex(select);
    }
  }

  if (unplugged) {
    SetPagesEnabled(false);
    SetStatus(Text(main_text::kUnplugged), kStatusWarning);
  }
  UpdateConnectButton();
}

void CMainDlg::OnConnectClicked() {
  if (m_connected) {
    DropConnection();
    SetPagesEnabled(false);
    UpdateConnectButton();
    RefreshDeviceList(true);
    ShowIdleHint();
    return;
  }
  const int index = m_usbCombo->currentIndex();
  if (m_devices.empty() || index < 0 || static_cast<std::size_t>(index) >= m_devices.size()) {
    ShowIdleHint();
    return;
  }
  const UsbDeviceEntry& entry = m_devices[static_cast<std::size_t>(index)];
  if (m_port.Open(entry.devicePath)) {
    m_connected = true;
    m_connectedPath = entry.devicePath;
    SetPagesEnabled(true);
    UpdateConnectButton();
    SetStatus(Text(main_text::kConnected) + entry.displayName, kStatusSuccess);
  } else {
    m_port.Close();
    const bool denied = m_port.LastOpenError() == UsbPrinterPort::OpenError::kNoPermission;
    SetStatus(Text(denied ? main_text::kOpenDenied : main_text::kOpenFailed), kStatusWarning);
  }
}

void CMainDlg::DropConnection() {
  m_port.Close();
  m_connected = false;
  m_connectedPath.clear();
}

void CMainDlg::OnUsbComboDropDown() {
  if (m_devices.empty() || m_deviceMenuOpen) return;
  QMenu menu(this);
  const int count = std::min<int>(static_cast<int>(m_devices.size()), kMaxMenuDevices);
  const int selected = m_usbCombo->currentIndex();
  for (int i = 0; i < count; ++i) {
    // The name is the device's own text: an '&' in it is a letter, not a
    // mnemonic.
    QString name = Q(m_devices[static_cast<std::size_t>(i)].displayName);
    QAction* action = menu.addAction(name.replace(QLatin1Char('&'), QStringLiteral("&&")));
    action->setData(kMenuFirstId + i);
    action->setCheckable(true);
    action->setChecked(i == selected);
  }
  // Opens upwards from the combo's top-left corner: the combo sits at the
  // bottom of the window.
  const QPoint corner = m_usbCombo->mapToGlobal(QPoint(0, 0));
  const QPoint above(corner.x(), corner.y() - menu.sizeHint().height());
  m_deviceMenuOpen = true;
  QPointer<CMainDlg> alive(this);
  QAction* chosen = menu.exec(above);
  if (alive.isNull()) return;
  m_deviceMenuOpen = false;
  if (chosen == nullptr) return;
  const int index = chosen->data().toInt() - kMenuFirstId;
  if (index >= 0 && index < static_cast<int>(m_devices.size())) {
    const QSignalBlocker quiet(m_usbCombo);
    m_usbCombo->setCurrentIndex(index);
  }
}

bool CMainDlg::RequireConnected() {
  if (m_connected && m_port.IsOpen()) return true;
  SetStatus(Text(main_text::kNotConnected), kStatusWarning);
  return false;
}

void CMainDlg::ShowIdleHint() { SetStatus(Text(main_text::kIdleHint), kStatusInfo); }

void CMainDlg::UpdateConnectButton() {
  if (m_connectButton != nullptr) {
    m_connectButton->setText(QText(ConnectCaption()));
    m_connectButton->setEnabled(m_connected || !m_devices.empty());
  }
  if (m_usbCombo != nullptr) m_usbCombo->setEnabled(!m_devices.empty() && !m_connected);
}

void CMainDlg::SetPagesEnabled(bool enable) {
  m_pagesEnabled = enable;
  for (PageState& page : m_pages) {
    for (const auto& field : page.fields) {
      if (field->edit != nullptr) field->edit->setEnabled(enable);
      if (field->combo != nullptr) field->combo->setEnabled(enable);
    }
    if (page.hasSelfTest && page.selfTestButton != nullptr) page.selfTestButton->setEnabled(enable);
    if (page.writeButton != nullptr) page.writeButton->setEnabled(enable);
    if (page.hasCaButton && page.caButton != nullptr) page.caButton->setEnabled(enable);
  }
  if (enable) {
    ApplyCaButtonRules();
  }
  // Labels follow the lock in their colour.
  ApplyColors();
}

void CMainDlg::ShowWriteResult(bool ok) {
  if (ok) {
    SetStatus(Text(main_text::kWriteDone), kStatusSuccess);
  } else {
    SetStatus(Text(main_text::kWriteFailed), kStatusWarning);
  }
}

}  // namespace qm
