// SPDX-License-Identifier: MIT
// Main window: the USB device list, connecting and the page lock.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

#include "config/MainColors.h"
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
    m_unlockTimer.stop();
    // The Tencent Cloud wait is over: page 2's buttons come back even when
    // the user has moved to another page meanwhile.
    EnablePageButtonsOf(kTencentPage, true);
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
    const bool present = std::any_of(fresh.begin(), fresh.end(),
                                     [this](const UsbDeviceEntry& e) { return e.devicePath == m_connectedPath; });
    if (!present) {
      m_port.Close();
      m_connected = false;
      m_connectedPath.clear();
      unplugged = true;
    }
  }

  if (SameList(fresh, m_devices) && !unplugged && (!force || !fresh.empty())) return;

  m_devices = std::move(fresh);
  {
    const QSignalBlocker quiet(m_usbCombo);
    m_usbCombo->clear();
    if (m_devices.empty()) {
      m_usbCombo->addItem(m_chinese ? Q(u"未检测到可用的 USB 设备") : QStringLiteral("No usable USB device"));
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
    SetStatus(m_chinese ? u"⚠  USB 设备已拔出，页面已锁定。请重新连接。"
                        : u"⚠  USB device was unplugged. Pages are locked. Connect again.",
              kStatusWarning);
  }
  UpdateConnectButton();
}

void CMainDlg::OnConnectClicked() {
  if (m_connected) {
    m_port.Close();
    m_connected = false;
    m_connectedPath.clear();
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
    SetStatus((m_chinese ? u"✔  已连接：" : u"✔  Connected: ") + entry.displayName, kStatusSuccess);
  } else {
    m_port.Close();
    SetStatus(m_chinese ? u"⚠  USB打开失败，请确认设备已开机并连接数据线。"
                        : u"⚠  USB open failed. Check the device is on and the cable is connected.",
              kStatusWarning);
  }
}

void CMainDlg::OnUsbComboDropDown() {
  if (m_devices.empty() || m_deviceMenuOpen) return;
  QMenu menu(this);
  const int count = std::min<int>(static_cast<int>(m_devices.size()), kMaxMenuDevices);
  const int selected = m_usbCombo->currentIndex();
  for (int i = 0; i < count; ++i) {
    QAction* action = menu.addAction(Q(m_devices[static_cast<std::size_t>(i)].displayName));
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
  SetStatus(m_chinese ? u"⚠  请先选择 USB 设备并点击连接。" : u"⚠  Select a USB device and click Connect first.",
            kStatusWarning);
  return false;
}

void CMainDlg::ShowIdleHint() {
  SetStatus(m_chinese ? u"ℹ  请先选择 USB 设备并点击连接。" : u"ℹ  Select a USB device and click Connect.",
            kStatusInfo);
}

void CMainDlg::UpdateConnectButton() {
  if (m_connectButton != nullptr) {
    const std::u16string caption =
        m_connected ? (m_chinese ? u"断开" : u"Disconnect") : (m_chinese ? u"连接" : u"Connect");
    m_connectButton->setText(Q(caption));
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
    ApplyCaButtonRule(1);
    ApplyCaButtonRule(3);
  }
  // Labels follow the lock in their colour.
  ApplyColors();
}

void CMainDlg::ShowWriteResult(bool ok) {
  if (ok) {
    SetStatus(m_chinese ? u"✔  写入成功！" : u"✔  Write completed successfully.", kStatusSuccess);
  } else {
    SetStatus(m_chinese ? u"✖  写入失败，发送数据时出错。" : u"✖  Write failed while sending data to the device.",
              kStatusWarning);
  }
}

}  // namespace qm
