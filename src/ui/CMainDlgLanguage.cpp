// SPDX-License-Identifier: MIT
// Main window: language switch, status line, page switching and the topic
// prefixes of the Alibaba Cloud pages.
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <array>

#include "config/TopicRules.h"
#include "look/MainColors.h"
#include "text/TextHelpers.h"
#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/ElidedLabel.h"
#include "ui/FieldRows.h"
#include "ui/UiText.h"

namespace qm {
namespace {

// Record builder messages shown in Chinese; anything else stays English.
constexpr std::array<TextPair, 23> kMessageTable = {{
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
    {u"ProductKey contains a control character.", u"ProductKey 含有控制字符。"},
    {u"DeviceName contains a control character.", u"DeviceName 含有控制字符。"},
    {u"DeviceSecret contains a control character.", u"DeviceSecret 含有控制字符。"},
    {u"URL contains a control character.", u"URL 含有控制字符。"},
    {u"ClientID / SN contains a control character.", u"ClientID/SN 含有控制字符。"},
    {u"Domain or IP address contains a control character.", u"域名或IP地址含有控制字符。"},
    {u"Username contains a control character.", u"用户名含有控制字符。"},
    {u"Password contains a control character.", u"密码含有控制字符。"},
    {u"Subscribe topic contains a control character.", u"订阅主题含有控制字符。"},
    {u"Publish topic contains a control character.", u"发布主题含有控制字符。"},
    kSubscribeTopicNotFilter,
    kPublishTopicWildcard,
    {u"Configuration exceeds device storage capacity.", u"错误：配置数据超出设备存储容量！"},
}};

}  // namespace

std::u16string CMainDlg::Text(TextPair pair) const { return std::u16string(pair.Pick(m_chinese)); }

QString CMainDlg::QText(TextPair pair) const { return Q(pair.Pick(m_chinese)); }

const TextPair& CMainDlg::ConnectCaption() const {
  return m_connected ? main_text::kDisconnect : main_text::kConnect;
}

std::u16string CMainDlg::LocalizeMessage(const std::u16string& english) const {
  if (!m_chinese) return english;
  for (const TextPair& message : kMessageTable) {
    if (message.en == english) return std::u16string(message.zh);
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
  if (const std::optional<PageKind> kind = PageAt(page)) SelectPage(*kind);
}

void CMainDlg::SelectPage(PageKind page) {
  m_currentPage = page;
  if (m_tab != nullptr) {
    const QSignalBlocker quiet(m_tab);
    m_tab->setCurrentIndex(TabIndex(page));
  }
  ApplyCaButtonRules();
  LayoutControls();
  if (m_connected) {
    ShowPageStatus(page);
  } else if (IsInitialized()) {
    ShowIdleHint();
  }
}

void CMainDlg::ShowPageStatus(PageKind page) {
  SetStatus(std::u16string(main_text::kInfoPrefix) + Text(Page(page).description), kStatusInfo);
}

void CMainDlg::EnablePageButtons(bool enable) { EnablePageButtonsOf(m_currentPage, enable); }

void CMainDlg::EnablePageButtonsOf(PageKind kind, bool enable) {
  const bool effective = enable && m_pagesEnabled;
  PageState& page = PageOf(kind);
  // The button that started an action gets keyboard focus back afterwards.
  m_focusKeeper.SetEnabled({page.hasSelfTest ? page.selfTestButton : nullptr, page.writeButton,
                            page.hasCaButton ? page.caButton : nullptr},
                           effective);
}

void CMainDlg::UpdateTopicPrefix(PageKind page) {
  const std::u16string productKey = TrimWhitespace(GetFieldText(page, u"productKey"));
  const std::u16string deviceName = TrimWhitespace(GetFieldText(page, u"deviceName"));
  const std::u16string prefix = productKey.empty() && deviceName.empty()
                                    ? std::u16string(main_text::kTopicPlaceholder)
                                    : u"/" + productKey + u"/" + deviceName + u"/user/";
  for (const auto& field : Page(page).fields) {
    if (field->prefix != nullptr) field->prefix->setText(Q(prefix));
  }
  LayoutControls();
}

bool CMainDlg::CaButtonShown(PageKind page) const {
  return Page(page).hasCaButton && page == m_currentPage && GetFieldComboSel(page, u"tls") == 1;
}

void CMainDlg::ApplyCaButtonRule(PageKind page) {
  const PageState& state = Page(page);
  if (!state.hasCaButton || state.caButton == nullptr) return;
  state.caButton->setVisible(CaButtonShown(page));
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
  for (PageKind kind : kPageKinds) m_tab->setTabText(TabIndex(kind), QText(Page(kind).tabTitle));
  for (PageState& page : m_pages) {
    for (const auto& field : page.fields) RetextFieldRow(*field, m_chinese);
    if (page.hasSelfTest) page.selfTestButton->setText(QText(page.selfTestCaption));
    page.writeButton->setText(QText(page.writeCaption));
    if (page.hasCaButton) page.caButton->setText(QText(page.caCaption));
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
