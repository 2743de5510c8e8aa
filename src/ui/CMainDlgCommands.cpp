// SPDX-License-Identifier: MIT
// Main window: command routing, the three write actions and the self-test.
#include <QComboBox>
#include <QLineEdit>
#include <optional>
#include <string_view>

#include "config/ConfigRecords.h"
#include "config/PortField.h"
#include "look/MainColors.h"
#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/CMqttSimDlg.h"
#include "usb/DeviceFrames.h"

namespace qm {
namespace {

// Looks for the row with the given control id and one of the keys on the
// pages, in the order given; none when no such row has it.
std::optional<PageKind> PageOfRow(const CMainDlg& dialog, std::initializer_list<PageKind> pages,
                                  int id, std::initializer_list<std::u16string_view> keys) {
  for (PageKind kind : pages) {
    for (const auto& field : dialog.Page(kind).fields) {
      if (field->controlId != id) continue;
      for (std::u16string_view key : keys) {
        if (field->key == key) return kind;
      }
    }
  }
  return std::nullopt;
}

// The rows the Alibaba Cloud and Tencent Cloud records share.
template <typename Config>
void ReadCloudRows(const CMainDlg& dialog, PageKind page, Config& config) {
  config.productKey = dialog.GetFieldText(page, u"productKey");
  config.deviceName = dialog.GetFieldText(page, u"deviceName");
  config.deviceSecret = dialog.GetFieldText(page, u"deviceSecret");
  config.port = ReadPortField(dialog.GetFieldText(page, u"port"));
  config.subTopic = dialog.GetFieldText(page, u"subTopic");
  config.pubTopic = dialog.GetFieldText(page, u"pubTopic");
}

std::optional<PageKind> Find(const std::map<int, PageKind>& map, int id) {
  const auto it = map.find(id);
  if (it == map.end()) return std::nullopt;
  return it->second;
}

}  // namespace

bool CMainDlg::OnCommand(int id, int code) {
  if (code == kBnClicked) {
    if (id == kIdSimulatorButton) {
      CMqttSimDlg simulator(this, m_chinese, Chooser());
      simulator.exec();
      return true;
    }
    if (id == kIdConnectButton) {
      OnConnectClicked();
      return true;
    }
    if (const std::optional<PageKind> page = Find(m_writeButtonPage, id)) {
      switch (ServiceOf(*page)) {
        case CloudService::Alibaba:
          WriteAlibabaCloudConfig(*page);
          break;
        case CloudService::SelfHosted:
          WriteSelfHostedConfig(*page);
          break;
        case CloudService::Tencent:
          WriteTencentCloudConfig();
          break;
      }
      return true;
    }
    if (Find(m_selfTestButtonPage, id)) {
      SendSelfTest();
      return true;
    }
    if (const std::optional<PageKind> page = Find(m_caButtonPage, id)) {
      SendCaCertificate(*page);
      return true;
    }
    return DefaultCommand(id, code);
  }
  if (code == kEnChange) {
    const std::optional<PageKind> page =
        PageOfRow(*this, {PageKind::PrinterAlibaba, PageKind::BoxAlibaba}, id,
                  {u"productKey", u"deviceName"});
    if (!page) return DefaultCommand(id, code);
    UpdateTopicPrefix(*page);
    return true;
  }
  if (code == kCbnSelChange) {
    const std::optional<PageKind> page =
        PageOfRow(*this, {PageKind::PrinterSelfHosted, PageKind::BoxSelfHosted}, id, {u"tls"});
    if (!page) return DefaultCommand(id, code);
    ApplyCaButtonRule(*page);
    LayoutControls();
    return true;
  }
  return DefaultCommand(id, code);
}

bool CMainDlg::DefaultCommand(int id, int code) {
  if (code == kCbnSelChange && id == kIdLanguageCombo) {
    OnLanguageChange();
    return true;
  }
  if (code == kCbnDropDown && id == kIdUsbCombo) {
    OnUsbComboDropDown();
    return true;
  }
  return EndDialogCommand(this, id, code);
}

void CMainDlg::ShowRecordRefused(const std::u16string& error) {
  SetStatus(std::u16string(main_text::kWarningPrefix) + LocalizeMessage(error), kStatusWarning);
}

bool CMainDlg::SendAcceptedRecord(const RecordResult& result, bool cloudBox) {
  if (!result.ok) {
    ShowRecordRefused(result.error);
    return false;
  }
  if (!RequireConnected()) return false;
  const bool sent = SendRecordPair(m_port, cloudBox, result.json, result.idUtf8);
  ShowWriteResult(sent);
  return sent;
}

void CMainDlg::WriteAlibabaCloudConfig(PageKind page) {
  EnablePageButtons(false);
  AlibabaCloudConfig config;
  ReadCloudRows(*this, page, config);
  config.url = GetFieldText(page, u"url");
  const bool cloudBox = Page(page).isCloudBox;
  SendAcceptedRecord(BuildType1Record(config, cloudBox), cloudBox);
  EnablePageButtons(true);
}

void CMainDlg::WriteSelfHostedConfig(PageKind page) {
  EnablePageButtons(false);
  SelfHostedConfig config;
  config.clientId = GetFieldText(page, u"clientId");
  config.domain = GetFieldText(page, u"domain");
  config.port = ReadPortField(GetFieldText(page, u"port"));
  config.username = GetFieldText(page, u"username");
  config.password = GetFieldText(page, u"password");
  config.subTopic = GetFieldText(page, u"subTopic");
  config.pubTopic = GetFieldText(page, u"pubTopic");
  config.tls = GetFieldComboSel(page, u"tls");
  config.cleanSession = GetFieldComboSel(page, u"cleanSession");
  SendAcceptedRecord(BuildType2Record(config), Page(page).isCloudBox);
  EnablePageButtons(true);
}

void CMainDlg::WriteTencentCloudConfig() {
  EnablePageButtons(false);
  TencentCloudConfig config;
  ReadCloudRows(*this, PageKind::PrinterTencent, config);
  if (SendAcceptedRecord(BuildType3Record(config), false)) {
    // The printer needs a moment to apply Tencent Cloud settings; its
    // buttons stay locked until the unlock timer fires.
    SetStatus(Text(main_text::kTencentWaiting), kStatusSuccess);
    m_timers->Start(kUnlockTimerId);
    return;
  }
  EnablePageButtons(true);
}

void CMainDlg::SendSelfTest() {
  EnablePageButtons(false);
  if (RequireConnected()) {
    if (m_port.Write(BuildSelfTestFrame())) {
      SetStatus(Text(main_text::kSelfTestSent), kStatusSuccess);
    } else {
      SetStatus(Text(main_text::kSelfTestFailed), kStatusWarning);
    }
  }
  EnablePageButtons(true);
}

}  // namespace qm
