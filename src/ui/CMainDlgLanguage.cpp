// SPDX-License-Identifier: MIT
// Main window: language switch, status line, page switching and the topic
// prefixes of the Alibaba Cloud pages.
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <array>
#include <utility>

#include "text/TextHelpers.h"
#include "look/MainColors.h"
#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/ElidedLabel.h"
#include "ui/FieldRows.h"
#include "ui/UiText.h"

namespace qm {
namespace {

// Record builder messages shown in Chinese; anything else stays English.
const std::array<std::pair<std::u16string, std::u16string>, 11> kMessageTable = {{
    {u"Please enter ProductKey.", u"请输入 ProductKey！"},
    {u"Please enter DeviceName.", u"请输入 DeviceName！"},
    {u"Please enter DeviceSecret.", u"请输入 DeviceSecret！"},
    {u"Please enter ClientID / SN.", u"请输入 ClientID/SN！"},
    {u"SN / ClientID must be 30 characters or fewer.", u"SN/ClientID 不能超过30个字符！"},
    {u"Please enter domain or IP address.", u"请输入域名或IP地址！"},
    {u"Please enter port.", u"请输入端口号！"},
    {u"Please enter username.", u"请输入用户名！"},
    {u"Please enter password.", u"请输入密码！"},
    {u"Please enter subscribe topic.", u"请输入订阅主题！"},
    {u"Configuration exceeds device storage capacity.", u"错误：配置数据超出设备存储容量！"},
}};


bool ValidPage(int page) { return static_cast<unsigned>(page) < static_cast<unsigned>(CMainDlg::kPageCount); }

}  // namespace

const std::u16string& CMainDlg::Choose(const std::u16string& en, const std::u16string& zh) const {
  return m_chinese && !zh.empty() ? zh : en;
}

std::u16string CMainDlg::Text(const TextPair& pair) const {
  return std::u16string(m_chinese ? pair.zh : pair.en);
}

QString CMainDlg::QText(const TextPair& pair) const { return Q(m_chinese ? pair.zh : pair.en); }

const TextPair& CMainDlg::ConnectCaption() const {
  return m_connected ? main_text::kDisconnect : main_text::kConnect;
}

std::u16string CMainDlg::LocalizeMessage(const std::u16string& english) const {
  if (!m_chinese) return english;
  for (const auto& [en, zh] : kMessageTable) {
    if (en == english) return zh;
  }
  return english;
}

void CMainDlg::SetStatus(const std::u16string& text, Rgb color) {
  // The colour goes first so that the new text never shows in the old one.
  m_statusColor = color;
  if (m_status == nullptr) return;
  ApplyStatusColor();
  m_status->setText(Q(text));
  m_status->update();
}

void CMainDlg::SelectPage(int page) {
  if (!ValidPage(page)) return;
  m_currentPage = page;
  if (m_tab != nullptr) {
    const QSignalBlocker quiet(m_tab);
    m_tab->setCurrentIndex(page);
  }
  ApplyCaButtonRules();
  LayoutControls();
  if (m_connected) {
    ShowPageStatus(page);
  } else if (m_initialized) {
    ShowIdleHint();
  }
}

void CMainDlg::ShowPageStatus(int page) {
  if (!ValidPage(page)) return;
  const PageState& state = m_pages[static_cast<std::size_t>(page)];
  SetStatus(std::u16string(main_text::kInfoPrefix) + Choose(state.descriptionEn, state.descriptionZh), kStatusInfo);
}

void CMainDlg::EnablePageButtons(bool enable) { EnablePageButtonsOf(m_currentPage, enable); }

void CMainDlg::EnablePageButtonsOf(int index, bool enable) {
  if (!ValidPage(index)) return;
  const bool effective = enable && m_pagesEnabled;
  PageState& page = m_pages[static_cast<std::size_t>(index)];
  if (page.hasSelfTest && page.selfTestButton != nullptr) page.selfTestButton->setEnabled(effective);
  if (page.writeButton != nullptr) page.writeButton->setEnabled(effective);
  if (page.hasCaButton && page.caButton != nullptr) page.caButton->setEnabled(effective);
}

void CMainDlg::UpdateTopicPrefix(int page) {
  if (!ValidPage(page)) return;
  const std::u16string productKey = TrimWhitespace(GetFieldText(page, u"productKey"));
  const std::u16string deviceName = TrimWhitespace(GetFieldText(page, u"deviceName"));
  const std::u16string prefix = productKey.empty() && deviceName.empty()
                                    ? std::u16string(main_text::kTopicPlaceholder)
                                    : u"/" + productKey + u"/" + deviceName + u"/user/";
  for (const auto& field : m_pages[static_cast<std::size_t>(page)].fields) {
    if (field->prefix != nullptr) field->prefix->setText(Q(prefix));
  }
  LayoutControls();
}

void CMainDlg::ApplyCaButtonRule(int page) {
  const PageState& state = m_pages[static_cast<std::size_t>(page)];
  if (!state.hasCaButton || state.caButton == nullptr) return;
  state.caButton->setVisible(page == m_currentPage && GetFieldComboSel(page, u"tls") == 1);
}

void CMainDlg::ApplyCaButtonRules() {
  for (const auto& [id, page] : m_caButtonPage) ApplyCaButtonRule(page);
}

void CMainDlg::OnTabSelChange() { SelectPage(m_tab->currentIndex()); }

void CMainDlg::OnLanguageChange() {
  m_chinese = m_langCombo->currentIndex() == 1;
  {
    const QSignalBlocker quiet(m_langCombo);
    m_langCombo->setCurrentIndex(m_chinese ? 1 : 0);
  }
  setWindowTitle(QText(main_text::kWindowTitle));
  m_title->setText(QText(main_text::kHeaderTitle));
  m_langLabel->setText(QText(main_text::kLanguageLabel));
  m_simulatorButton->setText(QText(main_text::kSimulator));
  for (int i = 0; i < kPageCount; ++i) {
    const PageState& page = m_pages[static_cast<std::size_t>(i)];
    m_tab->setTabText(i, Q(Choose(page.tabTitleEn, page.tabTitleZh)));
  }
  for (PageState& page : m_pages) {
    for (const auto& field : page.fields) RetextFieldRow(*field, m_chinese);
    if (page.hasSelfTest) page.selfTestButton->setText(Q(Choose(page.selfTestCaptionEn, page.selfTestCaptionZh)));
    page.writeButton->setText(Q(Choose(page.writeCaptionEn, page.writeCaptionZh)));
    if (page.hasCaButton) page.caButton->setText(Q(Choose(page.caCaptionEn, page.caCaptionZh)));
  }
  ApplyCaButtonRules();
  m_usbLabel->setText(QText(main_text::kUsbLabel));
  RefreshDeviceList(true);
  UpdateConnectButton();
  if (m_connected) {
    ShowPageStatus(m_currentPage);
  } else {
    ShowIdleHint();
  }
  LayoutControls();
  update();
}

}  // namespace qm
