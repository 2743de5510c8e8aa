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
#include "ui/CModernButton.h"
#include "ui/DeferredIconEngine.h"
#include "ui/DeviceComboBox.h"
#include "ui/DeviceLister.h"
#include "ui/ElidedLabel.h"
#include "ui/FieldRows.h"
#include "ui/QtFileChooser.h"
#include "ui/QtTimerSource.h"
#include "ui/UiText.h"
#include "ui/WindowFonts.h"

// The icon lives in a resource of this static library; it must be registered
// by name, since nothing else pulls the resource's object file in.
static void InitQuillmarkResources() { Q_INIT_RESOURCE(quillmark); }

namespace qm {
namespace {

constexpr TextPair kSelfTest{u"Self-test page", u"打印自检页"};
constexpr TextPair kWritePrinter{u"Write to printer", u"写入打印机"};
constexpr TextPair kWriteBox{u"Write to cloud box", u"写入云盒"};
constexpr TextPair kCaCaption{u"Custom CA Certificate (optional)", u"自定义 CA 证书（选配）"};

// Tab title and description of each page, in tab order.
struct PageTexts {
  TextPair tabTitle;
  TextPair description;
};
constexpr std::array<PageTexts, kPageCount> kPageTexts = {{
    {{u"  Printer Alibaba Cloud  ", u"  打印机-阿里云  "},
     {u"Alibaba Cloud IoT MQTT settings.", u"阿里云物联网MQTT配置"}},
    {{u"  Printer Self-hosted  ", u"  打印机-自建 MQTT  "},
     {u"Self-hosted MQTT settings.", u"自建 MQTT 参数配置"}},
    {{u"  Printer Tencent Cloud  ", u"  打印机-腾讯云  "},
     {u"Tencent Cloud MQTT settings.", u"腾讯云 MQTT 参数配置"}},
    {{u"  Box Self-hosted  ", u"  云盒-自建 MQTT  "},
     {u"Cloud box self-hosted MQTT settings.", u"云盒自建 MQTT 参数配置"}},
    {{u"  Box Alibaba  ", u"  云盒-阿里云  "},
     {u"Cloud box Alibaba Cloud MQTT settings.", u"云盒阿里云 MQTT 参数配置"}},
}};

const PageTexts& TextsOf(PageKind kind) { return kPageTexts[static_cast<std::size_t>(kind)]; }

// Gives a control its font unless it already has it from the window: an
// explicit font change makes a drop-down build its list and an edit lay out
// its text again.
void GiveFont(QWidget* widget, const QFont& font) {
  if (widget != nullptr && widget->font() != font) widget->setFont(font);
}

}  // namespace

CMainDlg::CMainDlg(QWidget* /*parent*/, std::unique_ptr<DeviceLister> lister,
                   std::unique_ptr<TimerSource> timers)
    : CBaseDlg(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_lister(std::move(lister)),
      m_fileChooser(std::make_unique<QtFileChooser>()),
      m_timers(std::move(timers)) {
  if (!m_lister) m_lister = std::make_unique<UdevDeviceLister>();
  if (!m_timers) m_timers = std::make_unique<QtTimerSource>(this);
  // paintEvent fills every pixel; Qt need not clear the window first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The printer's time to apply Tencent Cloud settings is a floor.
  m_timers->Define(kUnlockTimerId,
                   {.intervalMs = kUnlockDelayMs, .singleShot = true, .precise = true},
                   [this] { OnTimer(kUnlockTimerId); });
  m_timers->Define(kPollTimerId, {.intervalMs = kPollIntervalMs},
                   [this] { OnTimer(kPollTimerId); });
}

CMainDlg::~CMainDlg() {
  m_timers->Stop(kPollTimerId);
  m_timers->Stop(kUnlockTimerId);
}

void CMainDlg::OnInitDialog() {
  // Built for the screen it opens on, so that fonts and sizes fit it.
  QScreen* const screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) setScreen(screen);
  setWindowTitle(Q(main_text::kInitialWindowTitle));
  InitQuillmarkResources();
  const QList<int> sides{16, 32, 48, 256};
  QStringList files;
  for (int side : sides) files.append(QStringLiteral(":/quillmark/quillmark-%1.png").arg(side));
  // The files are read when the window system first asks for a pixmap.
  setWindowIcon(QIcon(new DeferredIconEngine(sides, files)));
  BuildFonts();
  CreateHeaderControls();
  CreatePages();
  // Selected before the window counts as built, so that nothing is laid out
  // yet: the first show lays the window out once, at its final size, when it
  // delivers the pending resize event.
  SelectPage(PageKind::PrinterAlibaba);
  MarkInitialized();
  ApplyCaButtonRules();
  m_timers->Start(kPollTimerId);
  RefreshDeviceList(true);
  SetPagesEnabled(false);
  UpdateConnectButton();
  ShowIdleHint();

  const int dpi = Dpi();
  const QPoint centre =
      screen != nullptr ? screen->availableGeometry().center() : geometry().center();
  SizeAndCentre(MainInitialSize(dpi), centre);
}

Size CMainDlg::MinimumSizeAt(int dpi) const { return MainMinimumSize(dpi); }

void CMainDlg::CreateFonts() {
  const bool chinese = m_chinese || SystemLanguageIsChinese();
  MakeWindowFonts(chinese, m_fontNormal, m_fontSemibold, m_fontTitle);
  setFont(m_fontNormal);
}

void CMainDlg::ApplyFonts() {
  const auto give = GiveFont;
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
    connect(devices, &DeviceComboBox::DropDownRequested, this,
            [this, id] { OnCommand(id, kCbnDropDown); });
    return;
  }
  qm::WireControl(widget, id, this, [this](int control, int code) { OnCommand(control, code); });
}

QWidget* CMainDlg::Control(int id) const { return FindControl(this, id); }

ElidedLabel* CMainDlg::CreateLabel(Qt::Alignment align, const QString& text, const QFont& font,
                                   int id) {
  auto* label = new ElidedLabel(align, this);
  label->setText(text);
  GiveFont(label, font);
  WireControl(label, id);
  return label;
}

void CMainDlg::CreateHeaderControls() {
  m_title =
      CreateLabel(Qt::AlignLeft, QText(main_text::kHeaderTitle), m_fontTitle, kIdHeaderStatic);
  m_langLabel =
      CreateLabel(Qt::AlignRight, QText(main_text::kLanguageLabel), m_fontNormal, kIdHeaderStatic);

  m_langCombo = new QComboBox(this);
  m_langCombo->addItems({QStringLiteral("English"), Q(u"中文")});
  m_langCombo->setCurrentIndex(0);
  GiveFont(m_langCombo, m_fontNormal);
  WireControl(m_langCombo, kIdLanguageCombo);

  m_simulatorButton = new CModernButton(this);
  m_simulatorButton->setText(QText(main_text::kSimulator));
  m_simulatorButton->SetDrawFont(&m_fontSemibold);
  WireControl(m_simulatorButton, kIdSimulatorButton);

  m_tab = new QTabBar(this);
  m_tab->setFocusPolicy(Qt::NoFocus);
  m_tab->setExpanding(false);
  m_tab->setDrawBase(false);
  GiveFont(m_tab, m_fontSemibold);
  for (PageKind kind : kPageKinds) m_tab->addTab(Q(TextsOf(kind).tabTitle.en));
  WireControl(m_tab, kIdTab);
  connect(m_tab, &QTabBar::currentChanged, this, [this] { OnTabSelChange(); });

  m_status = CreateLabel(Qt::AlignLeft, QString(), m_fontSemibold, kIdStatus);
  m_usbLabel =
      CreateLabel(Qt::AlignRight, QText(main_text::kUsbLabel), m_fontNormal, kIdHeaderStatic);

  m_usbCombo = new DeviceComboBox(this);
  GiveFont(m_usbCombo, m_fontNormal);
  WireControl(m_usbCombo, kIdUsbCombo);

  m_connectButton = new CModernButton(this);
  m_connectButton->SetPrimary(true);
  m_connectButton->setText(QText(main_text::kConnect));
  m_connectButton->SetDrawFont(&m_fontSemibold);
  WireControl(m_connectButton, kIdConnectButton);
}

PageKind CMainDlg::KindOf(const PageState& page) const {
  return kPageKinds[static_cast<std::size_t>(&page - m_pages.data())];
}

void CMainDlg::AddEditField(PageState& page, std::u16string_view key, TextPair label,
                            std::u16string_view defaultText, std::u16string_view prefixText) {
  auto field = std::make_unique<FieldSpec>();
  field->key = key;
  field->labelText = label;
  field->controlId = m_nextControlId++;
  field->label = CreateLabel(Qt::AlignRight, Q(label.en), m_fontNormal, kIdRowStatic);
  field->label->hide();
  if (!prefixText.empty()) {
    field->prefix = CreateLabel(Qt::AlignLeft, Q(prefixText), m_fontNormal, kIdRowStatic);
    field->prefix->hide();
  }
  // No row is a password box: secrets show in plain so they can be checked.
  field->edit = CreateFieldEdit(Q(defaultText), this);
  GiveFont(field->edit, m_fontNormal);
  field->edit->hide();
  WireControl(field->edit, field->controlId);
  page.fields.push_back(std::move(field));
}

void CMainDlg::AddComboField(PageState& page, std::u16string_view key, TextPair label,
                             std::vector<TextPair> options) {
  auto field = std::make_unique<FieldSpec>();
  field->key = key;
  field->labelText = label;
  field->options = std::move(options);
  field->controlId = m_nextControlId++;
  field->label = CreateLabel(Qt::AlignRight, Q(label.en), m_fontNormal, kIdRowStatic);
  field->label->hide();
  field->combo = new QComboBox(this);
  GiveFont(field->combo, m_fontNormal);
  for (const TextPair& option : field->options) field->combo->addItem(Q(option.en));
  field->combo->setCurrentIndex(0);
  field->combo->hide();
  WireControl(field->combo, field->controlId);
  page.fields.push_back(std::move(field));
}

CModernButton* CMainDlg::CreatePageButton(TextPair caption, int id, bool primary) {
  auto* button = new CModernButton(this);
  button->setText(Q(caption.en));
  button->SetPrimary(primary);
  button->SetDrawFont(&m_fontSemibold);
  button->hide();
  WireControl(button, id);
  return button;
}

void CMainDlg::AddPageButtons(PageState& page, std::optional<TextPair> selfTestCaption,
                              TextPair writeCaption) {
  page.selfTestCaption = selfTestCaption.value_or(TextPair{});
  page.writeCaption = writeCaption;
  const PageKind kind = KindOf(page);
  if (selfTestCaption) {
    page.selfTestId = m_nextControlId++;
    page.selfTestButton = CreatePageButton(page.selfTestCaption, page.selfTestId, false);
    m_selfTestButtonPage[page.selfTestId] = kind;
  } else {
    page.hasSelfTest = false;
  }
  page.writeId = m_nextControlId++;
  page.writeButton = CreatePageButton(writeCaption, page.writeId, true);
  m_writeButtonPage[page.writeId] = kind;
}

void CMainDlg::AddCaCertRow(PageState& page) {
  page.hasCaButton = true;
  page.caCaption = kCaCaption;
  page.caId = m_nextControlId++;
  page.caButton = CreatePageButton(page.caCaption, page.caId, false);
  m_caButtonPage[page.caId] = KindOf(page);
}

void CMainDlg::CreatePages() {
  constexpr std::u16string_view topic = main_text::kTopicPlaceholder;
  const auto alibaba = [this, topic](PageState& page) {
    AddEditField(page, u"productKey", {u"ProductKey :"}, u"");
    AddEditField(page, u"deviceName", {u"DeviceName :"}, u"");
    AddEditField(page, u"deviceSecret", {u"DeviceSecret :"}, u"");
    AddEditField(page, u"url", {u"Alibaba Cloud URL :", u"阿里云 URL："}, u"");
    AddEditField(page, u"port", {u"MQTT port :", u"MQTT端口："}, u"1883");
    AddComboField(page, u"service", {u"Instance type :", u"实例类型："},
                  {{u"New instance", u"新实例"}});
    AddEditField(page, u"subTopic", {u"Subscribe topic :", u"订阅主题："}, u"", topic);
    AddEditField(page, u"pubTopic", {u"Publish topic :", u"发布主题："}, u"", topic);
  };
  const auto selfHosted = [this](PageState& page) {
    AddEditField(page, u"clientId", {u"clientID / SN"}, u"");
    AddEditField(page, u"domain", {u"domain / IP"}, u"");
    AddEditField(page, u"port", {u"port"}, u"1883");
    AddEditField(page, u"username", {u"username"}, u"");
    AddEditField(page, u"password", {u"password"}, u"");
    AddEditField(page, u"subTopic", {u"sub_topic"}, u"");
    AddEditField(page, u"pubTopic", {u"pub_topic"}, u"");
    AddComboField(page, u"tls", {u"TLS", u"TLS"},
                  {{u"Disable TLS", u"不启用 TLS"}, {u"Enable TLS", u"启用 TLS"}});
    AddComboField(page, u"cleanSession", {u"Clean Session"},
                  {{u"Clear offline messages", u"清除离线消息"},
                   {u"Keep offline messages", u"保留离线消息"}});
    AddCaCertRow(page);
  };
  const auto start = [this](PageKind kind) -> PageState& {
    PageState& page = PageOf(kind);
    page.tabTitle = TextsOf(kind).tabTitle;
    page.description = TextsOf(kind).description;
    return page;
  };

  PageState& printerAlibaba = start(PageKind::PrinterAlibaba);
  alibaba(printerAlibaba);
  AddPageButtons(printerAlibaba, kSelfTest, kWritePrinter);

  PageState& printerSelfHosted = start(PageKind::PrinterSelfHosted);
  selfHosted(printerSelfHosted);
  AddPageButtons(printerSelfHosted, kSelfTest, kWritePrinter);

  PageState& printerTencent = start(PageKind::PrinterTencent);
  AddEditField(printerTencent, u"productKey", {u"ProductKey :"}, u"");
  AddEditField(printerTencent, u"deviceName", {u"DeviceName :"}, u"");
  AddEditField(printerTencent, u"deviceSecret", {u"DeviceSecret :"}, u"");
  AddEditField(printerTencent, u"port", {u"MQTT port :", u"MQTT端口："}, u"1883");
  AddEditField(printerTencent, u"subTopic", {u"Subscribe topic :", u"订阅主题："}, u"");
  AddEditField(printerTencent, u"pubTopic", {u"Publish topic :", u"发布主题："}, u"");
  AddPageButtons(printerTencent, kSelfTest, kWritePrinter);

  PageState& boxSelfHosted = start(PageKind::BoxSelfHosted);
  boxSelfHosted.isCloudBox = true;
  selfHosted(boxSelfHosted);
  AddPageButtons(boxSelfHosted, std::nullopt, kWriteBox);

  PageState& boxAlibaba = start(PageKind::BoxAlibaba);
  boxAlibaba.isCloudBox = true;
  alibaba(boxAlibaba);
  AddPageButtons(boxAlibaba, kSelfTest, kWriteBox);
}

std::u16string CMainDlg::GetFieldText(int page, const std::u16string& key) const {
  const std::optional<PageKind> kind = PageAt(page);
  return kind ? GetFieldText(*kind, key) : std::u16string();
}

std::u16string CMainDlg::GetFieldText(PageKind page, const std::u16string& key) const {
  for (const auto& field : Page(page).fields) {
    if (field->key == key && field->edit != nullptr) return field->edit->text().toStdU16String();
  }
  return {};
}

int CMainDlg::GetFieldComboSel(int page, const std::u16string& key) const {
  const std::optional<PageKind> kind = PageAt(page);
  return kind ? GetFieldComboSel(*kind, key) : 0;
}

int CMainDlg::GetFieldComboSel(PageKind page, const std::u16string& key) const {
  for (const auto& field : Page(page).fields) {
    if (field->key == key && field->combo != nullptr) return field->combo->currentIndex();
  }
  return 0;
}

}  // namespace qm
