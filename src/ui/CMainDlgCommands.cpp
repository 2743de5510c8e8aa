// SPDX-License-Identifier: MIT
// Main window: command routing, the three write actions and the self-test.
#include <QComboBox>
#include <QLineEdit>

#include "config/ConfigRecords.h"
#include "look/MainColors.h"
#include "config/PortField.h"
#include "ui/CMainDlg.h"
#include "ui/CMqttSimDlg.h"
#include "ui/CModernButton.h"
#include "usb/DeviceFrames.h"

namespace qm {
namespace {

// Looks for the row with the given control id among the keys on the pages,
// in page order; -1 when none has it.
int PageOfRow(const std::array<PageState, CMainDlg::kPageCount>& pages, std::initializer_list<int> pageOrder, int id,
              std::initializer_list<const char16_t*> keys) {
  for (int index : pageOrder) {
    for (const auto& field : pages[static_cast<std::size_t>(index)].fields) {
      if (field->controlId != id) continue;
      for (const char16_t* key : keys) {
        if (field->key == key) return index;
      }
    }
  }
  return -1;
}

int Find(const std::map<int, int>& map, int id) {
  const auto it = map.find(id);
  return it == map.end() ? -1 : it->second;
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
    if (const int page = Find(m_writeButtonPage, id); page >= 0) {
      if (page == 0 || page == 4) {
        WriteAlibabaCloudConfig(page);
      } else if (page == 1 || page == 3) {
        WriteSelfHostedConfig(page);
      } else {
        WriteTencentCloudConfig();
      }
      return true;
    }
    if (Find(m_selfTestButtonPage, id) >= 0) {
      SendSelfTest();
      return true;
    }
    if (const int page = Find(m_caButtonPage, id); page >= 0) {
      emit CaCertificateRequested(page);
      return true;
    }
    return DefaultCommand(id, code);
  }
  if (code == kEnChange) {
    const int page = PageOfRow(m_pages, {0, 4}, id, {u"productKey", u"deviceName"});
    if (page < 0) return DefaultCommand(id, code);
    UpdateTopicPrefix(page);
    return true;
  }
  if (code == kCbnSelChange) {
    const int page = PageOfRow(m_pages, {1, 3}, id, {u"tls"});
    if (page < 0) return DefaultCommand(id, code);
    ApplyCaButtonRule(page);
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

void CMainDlg::WriteAlibabaCloudConfig(int page) {
  EnablePageButtons(false);
  AlibabaCloudConfig config;
  config.productKey = GetFieldText(page, u"productKey");
  config.deviceName = GetFieldText(page, u"deviceName");
  config.deviceSecret = GetFieldText(page, u"deviceSecret");
  config.url = GetFieldText(page, u"url");
  config.port = ReadPortField(GetFieldText(page, u"port"));
  config.subTopic = GetFieldText(page, u"subTopic");
  config.pubTopic = GetFieldText(page, u"pubTopic");
  const bool cloudBox = m_pages[static_cast<std::size_t>(page)].isCloudBox;
  SendAcceptedRecord(BuildType1Record(config, cloudBox), cloudBox);
  EnablePageButtons(true);
}

void CMainDlg::WriteSelfHostedConfig(int page) {
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
  SendAcceptedRecord(BuildType2Record(config), m_pages[static_cast<std::size_t>(page)].isCloudBox);
  EnablePageButtons(true);
}

void CMainDlg::WriteTencentCloudConfig() {
  EnablePageButtons(false);
  TencentCloudConfig config;
  config.productKey = GetFieldText(kTencentPage, u"productKey");
  config.deviceName = GetFieldText(kTencentPage, u"deviceName");
  config.deviceSecret = GetFieldText(kTencentPage, u"deviceSecret");
  config.port = ReadPortField(GetFieldText(kTencentPage, u"port"));
  config.subTopic = GetFieldText(kTencentPage, u"subTopic");
  config.pubTopic = GetFieldText(kTencentPage, u"pubTopic");
  if (SendAcceptedRecord(BuildType3Record(config), false)) {
    // The printer needs a moment to apply Tencent Cloud settings; its
    // buttons stay locked until the unlock timer fires.
    SetStatus(Text(main_text::kTencentWaiting), kStatusSuccess);
    m_unlockTimer.start();
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
