// SPDX-License-Identifier: MIT
// The device configuration writer: the program's main window with its five
// device pages, the USB connection and the write and self-test commands.
#pragma once

#include <QDialog>
#include <QFont>
#include <QTimer>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "look/Geometry.h"
#include "ui/ControlIds.h"
#include "ui/DeviceLister.h"
#include "ui/FileChooser.h"
#include "ui/MainTexts.h"
#include "ui/PageState.h"
#include "usb/UsbPrinterEnumeration.h"
#include "usb/UsbPrinterPort.h"

class QComboBox;
class QTabBar;

namespace qm {

class CModernButton;
class DeviceComboBox;
class ElidedLabel;
struct RecordResult;

// Fixed control ids.
inline constexpr int kIdTab = 1000;
inline constexpr int kIdStatus = 1001;
inline constexpr int kIdLanguageCombo = 1002;
inline constexpr int kIdSimulatorButton = 1003;
inline constexpr int kIdUsbCombo = 1004;
inline constexpr int kIdConnectButton = 1005;
inline constexpr int kIdHeaderStatic = -1;
inline constexpr int kIdRowStatic = 0xFFFF;
inline constexpr int kFirstDynamicId = 2000;

// Timers of the window.
inline constexpr int kUnlockTimerId = 1;
inline constexpr int kPollTimerId = 2;

class CMainDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPageCount = 5;
  static constexpr int kPollIntervalMs = 1000;
  static constexpr int kUnlockDelayMs = 5000;
  static constexpr int kMaxMenuDevices = 64;
  static constexpr int kMenuFirstId = 1800;
  static constexpr int kTencentPage = 2;

  // The parent is ignored: the window is always a top-level window. The
  // lister gives the USB printers; null lists them through udev.
  explicit CMainDlg(QWidget* parent = nullptr, std::unique_ptr<DeviceLister> lister = nullptr);
  ~CMainDlg() override;

  // Routes every click, edit change and drop-down notification by control id
  // and code. True when handled.
  bool OnCommand(int id, int code);

  std::u16string GetFieldText(int page, const std::u16string& key) const;
  int GetFieldComboSel(int page, const std::u16string& key) const;

  // Actions reachable from outside the window's own routing.
  void SelectPage(int page);
  void SetStatus(const std::u16string& text, Rgb color);
  std::u16string LocalizeMessage(const std::u16string& english) const;
  void RefreshDeviceList(bool force);
  bool RequireConnected();
  void OnTimer(int id);
  void LayoutControls();

  // Read access for the look, tests and the dialogs opened from here.
  const PageState& Page(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
  int CurrentPage() const { return m_currentPage; }
  bool IsChinese() const { return m_chinese; }
  bool IsConnected() const { return m_connected; }
  bool PagesEnabled() const { return m_pagesEnabled; }
  bool IsInitialized() const { return m_initialized; }
  int NextControlId() const { return m_nextControlId; }
  Rgb StatusColor() const { return m_statusColor; }
  const std::vector<UsbDeviceEntry>& Devices() const { return m_devices; }
  const std::u16string& ConnectedPath() const { return m_connectedPath; }
  const std::map<int, int>& WriteButtonPages() const { return m_writeButtonPage; }
  const std::map<int, int>& SelfTestButtonPages() const { return m_selfTestButtonPage; }
  const std::map<int, int>& CaButtonPages() const { return m_caButtonPage; }
  QWidget* Control(int id) const;
  int Dpi() const;
  // The page area under the tab strip, as painted.
  Rect PageCard() const { return m_tabDisplay; }

  // The file chooser of this window and the dialogs it opens; Qt's file
  // dialogs unless replaced.
  FileChooser& Chooser() const { return *m_fileChooser; }
  void SetFileChooser(std::unique_ptr<FileChooser> chooser) { m_fileChooser = std::move(chooser); }

  void setVisible(bool visible) override;

 signals:
  // The CA certificate buttons; their window connects here.
  void CaCertificateRequested(int page);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool OnInitDialog();
  void CreateFonts();
  void ApplyFonts();
  void CreateHeaderControls();
  void CreatePages();
  void AddEditField(PageState& page, const std::u16string& key, const std::u16string& labelEn,
                    const std::u16string& defaultText, const std::u16string* prefixText,
                    const std::u16string& labelZh);
  void AddComboField(PageState& page, const std::u16string& key, const std::u16string& labelEn,
                     const std::vector<std::u16string>& optionsEn, const std::u16string& labelZh,
                     std::vector<std::u16string> optionsZh);
  void AddPageButtons(PageState& page, const std::u16string* selfTestCaptionEn, const std::u16string& writeCaptionEn,
                      const std::u16string& selfTestCaptionZh, const std::u16string& writeCaptionZh);
  void AddCaCertRow(PageState& page);
  CModernButton* CreatePageButton(const std::u16string& caption, int id, bool primary);
  int PageIndex(const PageState& page) const;
  void WireControl(QWidget* widget, int id);
  ElidedLabel* CreateLabel(Qt::Alignment align, const QString& text, const QFont& font, int id);
  bool DefaultCommand(int id, int code);

  void LayoutPage(int index, const Rect& rect, bool current);
  void ApplyColors();
  void ApplyStatusColor();
  void OnDpiChanged();
  void WatchScreen();

  void OnLanguageChange();
  void OnTabSelChange();
  void ShowPageStatus(int page);
  void EnablePageButtons(bool enable);
  void EnablePageButtonsOf(int page, bool enable);
  void UpdateTopicPrefix(int page);
  void ApplyCaButtonRule(int page);
  void ApplyCaButtonRules();
  const std::u16string& Choose(const std::u16string& en, const std::u16string& zh) const;
  // The text of the current language.
  std::u16string Text(const TextPair& pair) const;
  QString QText(const TextPair& pair) const;
  const TextPair& ConnectCaption() const;

  void OnConnectClicked();
  void OnUsbComboDropDown();
  void ShowIdleHint();
  void UpdateConnectButton();
  void SetPagesEnabled(bool enable);
  void ShowWriteResult(bool ok);

  void WriteAlibabaCloudConfig(int page);
  void WriteSelfHostedConfig(int page);
  void WriteTencentCloudConfig();
  void SendSelfTest();
  void ShowRecordRefused(const std::u16string& error);
  // Shows a refused record's message, or sends an accepted one to the
  // connected device and shows the outcome; true when both frames went out.
  bool SendAcceptedRecord(const RecordResult& result, bool cloudBox);
  void DropConnection();

  ElidedLabel* m_title = nullptr;
  ElidedLabel* m_langLabel = nullptr;
  QComboBox* m_langCombo = nullptr;
  CModernButton* m_simulatorButton = nullptr;
  QTabBar* m_tab = nullptr;
  ElidedLabel* m_status = nullptr;
  ElidedLabel* m_usbLabel = nullptr;
  DeviceComboBox* m_usbCombo = nullptr;
  CModernButton* m_connectButton = nullptr;
  QFont m_fontNormal;
  QFont m_fontSemibold;
  QFont m_fontTitle;
  UsbPrinterPort m_port;
  std::vector<UsbDeviceEntry> m_devices;
  std::u16string m_connectedPath;
  bool m_connected = false;
  bool m_pagesEnabled = false;
  std::array<PageState, kPageCount> m_pages;
  std::map<int, int> m_writeButtonPage;
  std::map<int, int> m_selfTestButtonPage;
  std::map<int, int> m_caButtonPage;
  int m_nextControlId = kFirstDynamicId;
  int m_currentPage = 0;
  Rgb m_statusColor = 0x374151;
  bool m_initialized = false;
  bool m_chinese = false;

  std::unique_ptr<DeviceLister> m_lister;
  std::unique_ptr<FileChooser> m_fileChooser;
  QTimer m_unlockTimer;
  QTimer m_pollTimer;
  bool m_deviceMenuOpen = false;
  int m_fontDpi = 0;
  Rect m_tabDisplay;
};

}  // namespace qm
