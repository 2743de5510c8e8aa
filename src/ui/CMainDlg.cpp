// SPDX-License-Identifier: MIT
// Main window: construction, fonts, controls of the header and the pages,
// and reading the page rows.
#include "ui/CMainDlg.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QScreen>
#include <QTabBar>
#include <QWindow>

#include "look/MainLayout.h"
#include "ui/QtFileChooser.h"
#include "ui/CModernButton.h"
#include "ui/DeviceComboBox.h"
#include "ui/DeviceLister.h"
#include "ui/ElidedLabel.h"
#include "ui/UiText.h"
#include "ui/WindowFonts.h"

// The icon lives in a resource of this static library; it must be registered
// by name, since nothing else pulls the resource's object file in.
static void InitQuillmarkResources() { Q_INIT_RESOURCE(quillmark); }

namespace qm {
namespace {

const std::u16string kTopicPlaceholder(main_text::kTopicPlaceholder);
const std::u16string kSelfTestEn = u"Self-test page";
const std::u16string kSelfTestZh = u"打印自检页";
const std::u16string kWritePrinterEn = u"Write to printer";
const std::u16string kWritePrinterZh = u"写入打印机";
const std::u16string kWriteBoxEn = u"Write to cloud box";
const std::u16string kWriteBoxZh = u"写入云盒";

}  // namespace

CMainDlg::CMainDlg(QWidget* /*parent*/, std::unique_ptr<DeviceLister> lister)
    : QDialog(nullptr), m_lister(std::move(lister)), m_fileChooser(std::make_unique<QtFileChooser>()) {
  if (!m_lister) m_lister = std::make_unique<UdevDeviceLister>();
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  m_unlockTimer.setInterval(kUnlockDelayMs);
  // A coarse timer may fire up to 5 % early; the printer's wait is a floor.
  m_unlockTimer.setTimerType(Qt::PreciseTimer);
  m_pollTimer.setInterval(kPollIntervalMs);
  connect(&m_unlockTimer, &QTimer::timeout, this, [this] { OnTimer(kUnlockTimerId); });
  connect(&m_pollTimer, &QTimer::timeout, this, [this] { OnTimer(kPollTimerId); });
}

CMainDlg::~CMainDlg() {
  m_pollTimer.stop();
  m_unlockTimer.stop();
  // The base class deletes the controls after this object's own parts are
  // gone; nothing they signal on the way may reach this window any more.
  for (QObject* child : children()) QObject::disconnect(child, nullptr, this, nullptr);
}

void CMainDlg::setVisible(bool visible) {
  // The first show builds the window, as a dialog's initialisation would.
  if (visible && !m_initialized) OnInitDialog();
  QDialog::setVisible(visible);
  if (visible) {
    WatchScreen();
    // The window system may have placed the window on a screen of another
    // dpi than the one it was built for.
    OnDpiChanged();
  }
}

bool CMainDlg::OnInitDialog() {
  // Built for the screen it opens on, so that fonts and sizes fit it.
  QScreen* const screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) setScreen(screen);
  setWindowTitle(Q(main_text::kInitialWindowTitle));
  InitQuillmarkResources();
  QIcon icon;
  for (int size : {16, 32, 48, 256}) icon.addFile(QStringLiteral(":/quillmark/quillmark-%1.png").arg(size));
  setWindowIcon(icon);
  CreateFonts();
  CreateHeaderControls();
  CreatePages();
  m_initialized = true;
  SelectPage(0);
  ApplyCaButtonRules();
  m_pollTimer.start();
  RefreshDeviceList(true);
  SetPagesEnabled(false);
  UpdateConnectButton();
  ShowIdleHint();

  const int dpi = Dpi();
  const Size minimum = MainMinimumSize(dpi);
  setMinimumSize(minimum.width, minimum.height);
  const Size initial = MainInitialSize(dpi);
  resize(initial.width, initial.height);
  if (screen != nullptr) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  LayoutControls();
  return true;
}

int CMainDlg::Dpi() const { return logicalDpiX(); }

void CMainDlg::CreateFonts() {
  const bool chinese = m_chinese || SystemLanguageIsChinese();
  m_fontNormal = MakeWindowFont(chinese, false, kNormalPoints);
  m_fontSemibold = MakeWindowFont(chinese, true, kNormalPoints);
  m_fontTitle = MakeWindowFont(chinese, true, kTitlePoints);
  m_fontDpi = Dpi();
  setFont(m_fontNormal);
}

void CMainDlg::ApplyFonts() {
  const auto give = [](QWidget* widget, const QFont& font) {
    if (widget != nullptr) widget->setFont(font);
  };
  const auto giveButton = [](CModernButton* button, const QFont& font) {
    if (button != nullptr) button->SetDrawFont(&font);
  };
  give(m_title, m_fontTitle);
  give(m_langLabel, m_fontNormal);
  give(m_langCombo, m_fontNormal);
  giveButton(m_simulatorButton, m_fontSemibold);
  give(m_tab, m_fontSemibold);
  give(m_status, m_fontSemibold);
  give(m_usbLabel, m_fontNormal);
  give(m_usbCombo, m_fontNormal);
  giveButton(m_connectButton, m_fontSemibold);
  for (PageState& page : m_pages) {
    for (const auto& field : page.fields) {
      give(field->label, m_fontNormal);
      give(field->prefix, m_fontNormal);
      give(field->edit, m_fontNormal);
      give(field->combo, m_fontNormal);
    }
    if (page.hasSelfTest) giveButton(page.selfTestButton, m_fontSemibold);
    giveButton(page.writeButton, m_fontSemibold);
    if (page.hasCaButton) giveButton(page.caButton, m_fontSemibold);
  }
}

void CMainDlg::WireControl(QWidget* widget, int id) {
  if (auto* devices = qobject_cast<DeviceComboBox*>(widget)) {
    SetControlId(devices, id);
    connect(devices, &DeviceComboBox::DropDownRequested, this, [this, id] { OnCommand(id, kCbnDropDown); });
    return;
  }
  qm::WireControl(widget, id, this, [this](int control, int code) { OnCommand(control, code); });
}

QWidget* CMainDlg::Control(int id) const { return FindControl(this, id); }

ElidedLabel* CMainDlg::CreateLabel(Qt::Alignment align, const QString& text, const QFont& font, int id) {
  auto* label = new ElidedLabel(align, this);
  label->setText(text);
  label->setFont(font);
  WireControl(label, id);
  return label;
}

void CMainDlg::CreateHeaderControls() {
  m_title = CreateLabel(Qt::AlignLeft, QText(main_text::kHeaderTitle), m_fontTitle, kIdHeaderStatic);
  m_langLabel =
      CreateLabel(Qt::AlignRight, QText(main_text::kLanguageLabel), m_fontNormal, kIdHeaderStatic);

  m_langCombo = new QComboBox(this);
  m_langCombo->addItems({QStringLiteral("English"), Q(u"中文")});
  m_langCombo->setCurrentIndex(0);
  m_langCombo->setFont(m_fontNormal);
  WireControl(m_langCombo, kIdLanguageCombo);

  m_simulatorButton = new CModernButton(this);
  m_simulatorButton->setText(QText(main_text::kSimulator));
  m_simulatorButton->SetDrawFont(&m_fontSemibold);
  WireControl(m_simulatorButton, kIdSimulatorButton);

  m_tab = new QTabBar(this);
  m_tab->setFocusPolicy(Qt::NoFocus);
  m_tab->setExpanding(false);
  m_tab->setDrawBase(false);
  m_tab->setFont(m_fontSemibold);
  for (const char16_t* title : {u"  Printer Alibaba Cloud  ", u"  Printer Self-hosted  ",
                                      u"  Printer Tencent Cloud  ", u"  Box Self-hosted  ", u"  Box Alibaba  "}) {
    m_tab->addTab(Q(title));
  }
  WireControl(m_tab, kIdTab);
  connect(m_tab, &QTabBar::currentChanged, this, [this] { OnTabSelChange(); });

  m_status = CreateLabel(Qt::AlignLeft, QString(), m_fontSemibold, kIdStatus);
  m_usbLabel = CreateLabel(Qt::AlignRight, QText(main_text::kUsbLabel), m_fontNormal, kIdHeaderStatic);

  m_usbCombo = new DeviceComboBox(this);
  m_usbCombo->setFont(m_fontNormal);
  WireControl(m_usbCombo, kIdUsbCombo);

  m_connectButton = new CModernButton(this);
  m_connectButton->SetPrimary(true);
  m_connectButton->setText(QText(main_text::kConnect));
  m_connectButton->SetDrawFont(&m_fontSemibold);
  WireControl(m_connectButton, kIdConnectButton);
}

int CMainDlg::PageIndex(const PageState& page) const { return static_cast<int>(&page - m_pages.data()); }

void CMainDlg::AddEditField(PageState& page, const std::u16string& key, const std::u16string& labelEn,
                            const std::u16string& defaultText, const std::u16string* prefixText,
                            const std::u16string& labelZh) {
  auto field = std::make_unique<FieldSpec>();
  field->key = key;
  field->labelEn = labelEn;
  field->labelZh = labelZh;
  field->controlId = m_nextControlId++;
  field->label = CreateLabel(Qt::AlignRight, Q(labelEn), m_fontNormal, kIdRowStatic);
  field->label->hide();
  if (prefixText != nullptr) {
    field->prefix = CreateLabel(Qt::AlignLeft, Q(*prefixText), m_fontNormal, kIdRowStatic);
    field->prefix->hide();
  }
  // No row is a password box: secrets show in plain so they can be checked.
  field->edit = new QLineEdit(Q(defaultText), this);
  field->edit->setFont(m_fontNormal);
  field->edit->hide();
  WireControl(field->edit, field->controlId);
  page.fields.push_back(std::move(field));
}

void CMainDlg::AddComboField(PageState& page, const std::u16string& key, const std::u16string& labelEn,
                             const std::vector<std::u16string>& optionsEn, const std::u16string& labelZh,
                             std::vector<std::u16string> optionsZh) {
  auto field = std::make_unique<FieldSpec>();
  field->key = key;
  field->labelEn = labelEn;
  field->labelZh = labelZh;
  field->optionsEn = optionsEn;
  field->optionsZh = std::move(optionsZh);
  field->controlId = m_nextControlId++;
  field->label = CreateLabel(Qt::AlignRight, Q(labelEn), m_fontNormal, kIdRowStatic);
  field->label->hide();
  field->combo = new QComboBox(this);
  field->combo->setFont(m_fontNormal);
  for (const std::u16string& option : optionsEn) field->combo->addItem(Q(option));
  field->combo->setCurrentIndex(0);
  field->combo->hide();
  WireControl(field->combo, field->controlId);
  page.fields.push_back(std::move(field));
}

CModernButton* CMainDlg::CreatePageButton(const std::u16string& caption, int id, bool primary) {
  auto* button = new CModernButton(this);
  button->setText(Q(caption));
  button->SetPrimary(primary);
  button->SetDrawFont(&m_fontSemibold);
  button->hide();
  WireControl(button, id);
  return button;
}

void CMainDlg::AddPageButtons(PageState& page, const std::u16string* selfTestCaptionEn,
                              const std::u16string& writeCaptionEn, const std::u16string& selfTestCaptionZh,
                              const std::u16string& writeCaptionZh) {
  page.selfTestCaptionEn = selfTestCaptionEn != nullptr ? *selfTestCaptionEn : std::u16string();
  page.selfTestCaptionZh = selfTestCaptionZh;
  page.writeCaptionEn = writeCaptionEn;
  page.writeCaptionZh = writeCaptionZh;
  const int index = PageIndex(page);
  if (selfTestCaptionEn != nullptr) {
    page.selfTestId = m_nextControlId++;
    page.selfTestButton = CreatePageButton(*selfTestCaptionEn, page.selfTestId, false);
    m_selfTestButtonPage[page.selfTestId] = index;
  } else {
    page.hasSelfTest = false;
  }
  page.writeId = m_nextControlId++;
  page.writeButton = CreatePageButton(writeCaptionEn, page.writeId, true);
  m_writeButtonPage[page.writeId] = index;
}

void CMainDlg::AddCaCertRow(PageState& page) {
  page.hasCaButton = true;
  page.caCaptionEn = u"Custom CA Certificate (optional)";
  page.caCaptionZh = u"自定义 CA 证书（选配）";
  page.caId = m_nextControlId++;
  page.caButton = CreatePageButton(page.caCaptionEn, page.caId, false);
  m_caButtonPage[page.caId] = PageIndex(page);
}

void CMainDlg::CreatePages() {
  const auto alibaba = [this](PageState& page) {
    AddEditField(page, u"productKey", u"ProductKey :", u"", nullptr, u"");
    AddEditField(page, u"deviceName", u"DeviceName :", u"", nullptr, u"");
    AddEditField(page, u"deviceSecret", u"DeviceSecret :", u"", nullptr, u"");
    AddEditField(page, u"url", u"Alibaba Cloud URL :", u"", nullptr, u"阿里云 URL：");
    AddEditField(page, u"port", u"MQTT port :", u"1883", nullptr, u"MQTT端口：");
    AddComboField(page, u"service", u"Instance type :", {u"New instance"}, u"实例类型：", {u"新实例"});
    AddEditField(page, u"subTopic", u"Subscribe topic :", u"", &kTopicPlaceholder, u"订阅主题：");
    AddEditField(page, u"pubTopic", u"Publish topic :", u"", &kTopicPlaceholder, u"发布主题：");
  };
  const auto selfHosted = [this](PageState& page) {
    AddEditField(page, u"clientId", u"clientID / SN", u"", nullptr, u"");
    AddEditField(page, u"domain", u"domain / IP", u"", nullptr, u"");
    AddEditField(page, u"port", u"port", u"1883", nullptr, u"");
    AddEditField(page, u"username", u"username", u"", nullptr, u"");
    AddEditField(page, u"password", u"password", u"", nullptr, u"");
    AddEditField(page, u"subTopic", u"sub_topic", u"", nullptr, u"");
    AddEditField(page, u"pubTopic", u"pub_topic", u"", nullptr, u"");
    AddComboField(page, u"tls", u"TLS", {u"Disable TLS", u"Enable TLS"}, u"TLS", {u"不启用 TLS", u"启用 TLS"});
    AddComboField(page, u"cleanSession", u"Clean Session", {u"Clear offline messages", u"Keep offline messages"},
                  u"", {u"清除离线消息", u"保留离线消息"});
    AddCaCertRow(page);
  };
  const auto texts = [](PageState& page, std::u16string tabEn, std::u16string tabZh, std::u16string descEn,
                        std::u16string descZh) {
    page.tabTitleEn = std::move(tabEn);
    page.tabTitleZh = std::move(tabZh);
    page.descriptionEn = std::move(descEn);
    page.descriptionZh = std::move(descZh);
  };

  PageState& printerAlibaba = m_pages[0];
  texts(printerAlibaba, u"  Printer Alibaba Cloud  ", u"  打印机-阿里云  ", u"Alibaba Cloud IoT MQTT settings.",
        u"阿里云物联网MQTT配置");
  alibaba(printerAlibaba);
  AddPageButtons(printerAlibaba, &kSelfTestEn, kWritePrinterEn, kSelfTestZh, kWritePrinterZh);

  PageState& printerSelfHosted = m_pages[1];
  texts(printerSelfHosted, u"  Printer Self-hosted  ", u"  打印机-自建 MQTT  ", u"Self-hosted MQTT settings.",
        u"自建 MQTT 参数配置");
  selfHosted(printerSelfHosted);
  AddPageButtons(printerSelfHosted, &kSelfTestEn, kWritePrinterEn, kSelfTestZh, kWritePrinterZh);

  PageState& printerTencent = m_pages[2];
  texts(printerTencent, u"  Printer Tencent Cloud  ", u"  打印机-腾讯云  ", u"Tencent Cloud MQTT settings.",
        u"腾讯云 MQTT 参数配置");
  AddEditField(printerTencent, u"productKey", u"ProductKey :", u"", nullptr, u"");
  AddEditField(printerTencent, u"deviceName", u"DeviceName :", u"", nullptr, u"");
  AddEditField(printerTencent, u"deviceSecret", u"DeviceSecret :", u"", nullptr, u"");
  AddEditField(printerTencent, u"port", u"MQTT port :", u"1883", nullptr, u"MQTT端口：");
  AddEditField(printerTencent, u"subTopic", u"Subscribe topic :", u"", nullptr, u"订阅主题：");
  AddEditField(printerTencent, u"pubTopic", u"Publish topic :", u"", nullptr, u"发布主题：");
  AddPageButtons(printerTencent, &kSelfTestEn, kWritePrinterEn, kSelfTestZh, kWritePrinterZh);

  PageState& boxSelfHosted = m_pages[3];
  texts(boxSelfHosted, u"  Box Self-hosted  ", u"  云盒-自建 MQTT  ", u"Cloud box self-hosted MQTT settings.",
        u"云盒自建 MQTT 参数配置");
  boxSelfHosted.isCloudBox = true;
  selfHosted(boxSelfHosted);
  AddPageButtons(boxSelfHosted, nullptr, kWriteBoxEn, u"", kWriteBoxZh);

  PageState& boxAlibaba = m_pages[4];
  texts(boxAlibaba, u"  Box Alibaba  ", u"  云盒-阿里云  ", u"Cloud box Alibaba Cloud MQTT settings.",
        u"云盒阿里云 MQTT 参数配置");
  boxAlibaba.isCloudBox = true;
  alibaba(boxAlibaba);
  AddPageButtons(boxAlibaba, &kSelfTestEn, kWriteBoxEn, kSelfTestZh, kWriteBoxZh);
}

std::u16string CMainDlg::GetFieldText(int page, const std::u16string& key) const {
  if (page < 0 || page >= kPageCount) return {};
  for (const auto& field : m_pages[static_cast<std::size_t>(page)].fields) {
    if (field->key == key && field->edit != nullptr) return field->edit->text().toStdU16String();
  }
  return {};
}

int CMainDlg::GetFieldComboSel(int page, const std::u16string& key) const {
  if (page < 0 || page >= kPageCount) return 0;
  for (const auto& field : m_pages[static_cast<std::size_t>(page)].fields) {
    if (field->key == key && field->combo != nullptr) return field->combo->currentIndex();
  }
  return 0;
}

}  // namespace qm
