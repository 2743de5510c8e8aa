// SPDX-License-Identifier: MIT
// The device configuration writer: the program's main window with its five
// device pages, the USB connection and the write and self-test commands.
#pragma once

#include <QFont>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "look/Geometry.h"
#include "ui/CBaseDlg.h"
#include "ui/ControlIds.h"
#include "ui/DeviceLister.h"
#include "ui/FileChooser.h"
#include "ui/FocusKeeper.h"
#include "ui/MainTexts.h"
#include "ui/PageKind.h"
#include "ui/PageState.h"
#include "ui/TimerSource.h"
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
inline constexpr int kIdRowStatic = 0xFFFF;
inline constexpr int kFirstDynamicId = 2000;

// Timers of the window.
inline constexpr int kUnlockTimerId = 1;
inline constexpr int kPollTimerId = 2;

class CMainDlg final : public CBaseDlg {
  Q_OBJECT

 public:
  static constexpr int kPollIntervalMs = 1000;
  static constexpr int kUnlockDelayMs = 5000;
  static constexpr int kMaxMenuDevices = 64;
  static constexpr int kMenuFirstId = 1800;

  // The parent is ignored: the window is always a top-level window. The
  // lister gives the USB printers; null lists them through udev. The timer
  // source runs the device poll and the unlock; null: Qt's timers.
  explicit CMainDlg(QWidget* parent = nullptr, std::unique_ptr<DeviceLister> lister = nullptr,
                    std::unique_ptr<TimerSource> timers = nullptr);
  ~CMainDlg() override;

  // Routes every click, edit change and drop-down notification by control id
  // and code. True when handled.
  bool OnCommand(int id, int code) override;

  // A page's rows by key; a page is named by its tab index or its kind. A
  // missing row, or an index outside 0..4, reads as an empty text or index 0.
  std::u16string GetFieldText(int page, const std::u16string& key) const;
  std::u16string GetFieldText(PageKind page, const std::u16string& key) const;
  int GetFieldComboSel(int page, const std::u16string& key) const;
  int GetFieldComboSel(PageKind page, const std::u16string& key) const;

  // Actions reachable from outside the window's own routing.
  // The page at a tab index becomes the current one; other indices are
  // ignored.
  void SelectPage(int page);
  void SelectPage(PageKind page);
  void SetStatus(const std::u16string& text, Rgb color);
  std::u16string LocalizeMessage(const std::u16string& english) const;
  void RefreshDeviceList(bool force);
  bool RequireConnected();
  void OnTimer(int id);
  void LayoutControls() override;

  // Read access for the look, tests and the dialogs opened from here.
  const PageState& Page(PageKind kind) const { return m_pages[static_cast<std::size_t>(kind)]; }
  const PageState& Page(int tabIndex) const {
    return m_pages.at(static_cast<std::size_t>(tabIndex));
  }
  bool IsChinese() const { return m_chinese; }
  bool IsConnected() const { return m_connected; }
  bool PagesEnabled() const { return m_pagesEnabled; }
  Rgb StatusColor() const { return m_statusColor; }
  const std::vector<UsbDeviceEntry>& Devices() const { return m_devices; }
  QWidget* Control(int id) const;

  // The file chooser of this window and the dialogs it opens; Qt's file
  // dialogs unless replaced.
  FileChooser& Chooser() const { return *m_fileChooser; }
  void SetFileChooser(std::unique_ptr<FileChooser> chooser) { m_fileChooser = std::move(chooser); }

  // The CA certificate button of a self-hosted page: check, confirm, send.
  void SendCaCertificate(PageKind page);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnInitDialog() override;
  void CreateFonts() override;
  void ApplyFonts() override;
  Size MinimumSizeAt(int dpi) const override;
  void CreateHeaderControls();
  void CreatePages();
  // An empty prefix text: no prefix.
  void AddEditField(PageState& page, std::u16string_view key, TextPair label,
                    std::u16string_view defaultText, std::u16string_view prefixText = {});
  void AddComboField(PageState& page, std::u16string_view key, TextPair label,
                     std::vector<TextPair> options);
  // No self-test caption: the page has no self-test button.
  void AddPageButtons(PageState& page, std::optional<TextPair> selfTestCaption,
                      TextPair writeCaption);
  void AddCaCertRow(PageState& page);
  CModernButton* CreatePageButton(TextPair caption, int id, bool primary);
  PageKind KindOf(const PageState& page) const;
  PageState& PageOf(PageKind kind) { return m_pages[static_cast<std::size_t>(kind)]; }
  void WireControl(QWidget* widget, int id);
  ElidedLabel* CreateLabel(Qt::Alignment align, const QString& text, const QFont& font, int id);
  bool DefaultCommand(int id, int code);

  void LayoutPage(PageKind kind, const Rect& rect);
  void ApplyColors();
  void ApplyStatusColor();

  void OnLanguageChange();
  void OnTabSelChange();
  void ShowPageStatus(PageKind page);
  void EnablePageButtons(bool enable);
  void EnablePageButtonsOf(PageKind page, bool enable);
  void UpdateTopicPrefix(PageKind page);
  void ApplyCaButtonRule(PageKind page);
  void ApplyCaButtonRules();
  // True when the page shows its CA certificate button: it has one, it is
  // the current page and its "tls" choice is "Enable TLS".
  bool CaButtonShown(PageKind page) const;
  // The text of the current language.
  std::u16string Text(TextPair pair) const;
  QString QText(TextPair pair) const;
  const TextPair& ConnectCaption() const;

  void OnConnectClicked();
  void OnUsbComboDropDown();
  void ShowIdleHint();
  void UpdateConnectButton();
  void SetPagesEnabled(bool enable);
  void ShowWriteResult(bool ok);

  void WriteAlibabaCloudConfig(PageKind page);
  void WriteSelfHostedConfig(PageKind page);
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
  std::map<int, PageKind> m_writeButtonPage;
  std::map<int, PageKind> m_selfTestButtonPage;
  std::map<int, PageKind> m_caButtonPage;
  int m_nextControlId = kFirstDynamicId;
  PageKind m_currentPage = PageKind::PrinterAlibaba;
  Rgb m_statusColor = 0x374151;
  bool m_chinese = false;

  std::unique_ptr<DeviceLister> m_lister;
  std::unique_ptr<FileChooser> m_fileChooser;
  std::unique_ptr<TimerSource> m_timers;
  bool m_deviceMenuOpen = false;
  FocusKeeper m_focusKeeper;
  Rect m_tabDisplay;
};

}  // namespace qm
