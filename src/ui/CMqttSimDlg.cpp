// SPDX-License-Identifier: MIT
// MQTT simulator window: construction, fonts, controls, texts, form values,
// the connected state and the command routing.
#include "ui/CMqttSimDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>

#include "look/SimLayout.h"

#include "ui/CModernButton.h"
#include "ui/ElidedLabel.h"
#include "ui/FieldRows.h"
#include "ui/FileChooser.h"
#include "ui/SimTexts.h"
#include "ui/UiText.h"
#include "ui/WindowFonts.h"

namespace qm {
namespace {

struct FormRow {
  std::u16string_view key;
  TextPair label;
  std::u16string_view text;     // first text of an edit row
  std::vector<TextPair> items;  // a drop-down row when not empty
};

// The nine values of a self-hosted MQTT connection, as the printer's
// self-hosted pages ask for them.
const FormRow kFormRows[] = {
    {u"clientId", {u"clientID / SN", u"clientID / SN"}, u"", {}},
    {u"domain", {u"domain / IP", u"域名 / IP"}, u"", {}},
    {u"port", {u"port", u"端口"}, u"1883", {}},
    {u"username", {u"username", u"用户名"}, u"", {}},
    // In clear text, like the printer pages: the values are checked by eye.
    {u"password", {u"password", u"密码"}, u"", {}},
    {u"subTopic", {u"sub_topic", u"订阅主题"}, u"", {}},
    {u"pubTopic", {u"pub_topic", u"发布主题"}, u"", {}},
    {u"tls",
     {u"TLS", u"TLS"},
     u"",
     {{u"Disable TLS", u"不启用 TLS"}, {u"Enable TLS", u"启用 TLS"}}},
    {u"cleanSession",
     {u"Clean Session", u"Clean Session"},
     u"",
     {{u"Clear offline messages", u"清除离线消息"}, {u"Keep offline messages", u"保留离线消息"}}},
};

}  // namespace

CMqttSimDlg::CMqttSimDlg(QWidget* parent, bool chinese, FileChooser& chooser)
    : CBaseDlg(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_chineseAtStart(chinese),
      m_chooser(chooser),
      m_clock([] { return QTime::currentTime(); }) {}

void CMqttSimDlg::OnInitDialog() {
  m_chinese = m_chineseAtStart;
  BuildFonts();
  CreateHeader();
  CreateConnectionForm();
  CreatePublishSection();
  CreateLogSection();
  // Records of the client come here from now on, before a connect can start.
  m_client.SetNotifyWindow(&m_sink);
  MarkInitialized();
  ApplyLanguage();
  SetConnectedUi(false);
  ApplyColors();

  // Centred over its owner, the main window.
  const QWidget* owner = parentWidget();
  SizeAndCentre(SimInitialSize(Dpi()),
                owner != nullptr ? owner->window()->geometry().center() : geometry().center());
  LayoutControls();
}

Size CMqttSimDlg::MinimumSizeAt(int dpi) const { return SimMinimumSize(dpi); }

void CMqttSimDlg::CreateFonts() {
  // Chinese faces also for a window opened in Chinese and switched to English.
  const bool chinese = m_chinese || m_chineseAtStart || SystemLanguageIsChinese();
  MakeWindowFonts(chinese, m_fontNormal, m_fontSemibold, m_fontTitle);
  setFont(m_fontNormal);
}

void CMqttSimDlg::ApplyFonts() {
  // After a dpi change the status and the message band take the normal font.
  for (QWidget* widget : std::initializer_list<QWidget*>{m_langLabel, m_langCombo, m_messageLine,
                                                         m_status, m_contentLabel, m_contentCombo,
                                                         m_topicLabel, m_topicEdit, m_log}) {
    widget->setFont(m_fontNormal);
  }
  for (const auto& row : m_rows) {
    row->label->setFont(m_fontNormal);
    (row->edit != nullptr ? static_cast<QWidget*>(row->edit) : row->combo)->setFont(m_fontNormal);
  }
  m_title->setFont(m_fontTitle);
  m_publishLabel->setFont(m_fontSemibold);
  m_logLabel->setFont(m_fontSemibold);
  for (CModernButton* button :
       {m_connectButton, m_disconnectButton, m_testButton, m_clearButton, m_exportButton}) {
    button->SetDrawFont(&m_fontSemibold);
  }
}

void CMqttSimDlg::Wire(QWidget* widget, int id) {
  WireControl(widget, id, this, [this](int control, int code) { OnCommand(control, code); });
}

ElidedLabel* CMqttSimDlg::CreateStatic(Qt::Alignment align, std::u16string_view text,
                                       const QFont& font, int id) {
  auto* label = new ElidedLabel(align, this);
  label->setText(Q(text));
  label->setFont(font);
  SetControlId(label, id);
  return label;
}

QLabel* CMqttSimDlg::CreateCaption(std::u16string_view text) {
  // A section caption: semibold, its text at the top of its box.
  auto* label = new QLabel(Q(text), this);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setFont(m_fontSemibold);
  SetControlId(label, kIdSimStatic);
  return label;
}

CModernButton* CMqttSimDlg::CreateButton(std::u16string_view text, int id, bool primary) {
  auto* button = new CModernButton(this);
  button->setText(Q(text));
  button->SetPrimary(primary);
  button->SetDrawFont(&m_fontSemibold);
  Wire(button, id);
  return button;
}

void CMqttSimDlg::CreateHeader() {
  m_title = CreateStatic(Qt::AlignLeft, sim_text::kHeaderTitle.en, m_fontTitle, kIdSimStatic);
  m_langLabel =
      CreateStatic(Qt::AlignRight, sim_text::kLanguageLabel.en, m_fontNormal, kIdSimStatic);
  m_langCombo = new QComboBox(this);
  m_langCombo->addItems({QStringLiteral("English"), Q(u"中文")});
  m_langCombo->setCurrentIndex(m_chineseAtStart ? 1 : 0);
  m_langCombo->setFont(m_fontNormal);
  Wire(m_langCombo, kIdSimLanguageCombo);
  m_connectButton = CreateButton(sim_text::kConnect.en, kIdSimConnect, true);
  m_disconnectButton = CreateButton(sim_text::kDisconnect.en, kIdSimDisconnect, false);
  m_disconnectButton->setEnabled(false);
  m_status = CreateStatic(Qt::AlignLeft, sim_text::kStatusAtCreation, m_fontSemibold, kIdSimStatus);
  m_messageLine = CreateStatic(Qt::AlignLeft, u"", m_fontSemibold, kIdSimMessageLine);
  // The band paints its own background.
  m_messageLine->setAutoFillBackground(true);
}

void CMqttSimDlg::AddEditRow(std::u16string_view key, TextPair label, std::u16string_view text) {
  auto row = std::make_unique<SimFieldSpec>();
  row->key = key;
  row->labelText = label;
  row->controlId = m_nextControlId++;
  row->label = CreateStatic(Qt::AlignRight, label.en, m_fontNormal, kIdSimStatic);
  row->edit = CreateFieldEdit(Q(text), this);
  row->edit->setFont(m_fontNormal);
  Wire(row->edit, row->controlId);
  m_rows.push_back(std::move(row));
}

void CMqttSimDlg::AddComboRow(std::u16string_view key, TextPair label,
                              std::vector<TextPair> items) {
  auto row = std::make_unique<SimFieldSpec>();
  row->key = key;
  row->labelText = label;
  row->options = std::move(items);
  row->controlId = m_nextControlId++;
  row->label = CreateStatic(Qt::AlignRight, label.en, m_fontNormal, kIdSimStatic);
  row->combo = new QComboBox(this);
  row->combo->setFont(m_fontNormal);
  RefillCombo(row->combo, PickAll(row->options, false), 0);
  Wire(row->combo, row->controlId);
  m_rows.push_back(std::move(row));
}

void CMqttSimDlg::CreateConnectionForm() {
  for (const FormRow& row : kFormRows) {
    if (row.items.empty()) {
      AddEditRow(row.key, row.label, row.text);
    } else {
      AddComboRow(row.key, row.label, row.items);
    }
  }
}

void CMqttSimDlg::CreatePublishSection() {
  m_publishLabel = CreateCaption(sim_text::kPublish.en);
  m_topicLabel = CreateStatic(Qt::AlignRight, sim_text::kTopicLabel.en, m_fontNormal, kIdSimStatic);
  m_topicEdit = CreateFieldEdit(QString(), this);
  m_topicEdit->setFont(m_fontNormal);
  Wire(m_topicEdit, kIdSimTopicEdit);
  m_contentLabel =
      CreateStatic(Qt::AlignRight, sim_text::kContentLabel.en, m_fontNormal, kIdSimStatic);
  m_contentCombo = new QComboBox(this);
  m_contentCombo->setFont(m_fontNormal);
  Wire(m_contentCombo, kIdSimContentCombo);
  m_testButton = CreateButton(sim_text::kTest.en, kIdSimTest, true);
  m_testButton->setEnabled(false);
}

void CMqttSimDlg::CreateLogSection() {
  m_logLabel = CreateCaption(sim_text::kLogLabel.en);
  m_clearButton = CreateButton(sim_text::kClear.en, kIdSimClear, false);
  m_exportButton = CreateButton(sim_text::kExport.en, kIdSimExport, false);
  m_log = new QPlainTextEdit(this);
  m_log->setReadOnly(true);
  m_log->setUndoRedoEnabled(false);
  m_log->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // A line without break points wraps anywhere (its layout then costs in
  // proportion to its length), and every line runs left to right whatever
  // script a received text starts with.
  m_log->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  QTextOption option = m_log->document()->defaultTextOption();
  option.setTextDirection(Qt::LeftToRight);
  m_log->document()->setDefaultTextOption(option);
  // Not reached by Tab; a click still selects text to copy.
  m_log->setFocusPolicy(Qt::ClickFocus);
  m_log->setFont(m_fontNormal);
  SetControlId(m_log, kIdSimLog);
}

QWidget* CMqttSimDlg::Control(int id) const { return FindControl(this, id); }

QString CMqttSimDlg::QText(const TextPair& pair) const { return Q(pair.Pick(m_chinese)); }

void CMqttSimDlg::ApplyLanguage() {
  m_chinese = m_langCombo->currentIndex() == 1;
  setWindowTitle(QText(sim_text::kWindowTitle));
  m_title->setText(QText(sim_text::kHeaderTitle));
  m_langLabel->setText(QText(sim_text::kLanguageLabel));
  m_connectButton->setText(QText(sim_text::kConnect));
  m_disconnectButton->setText(QText(sim_text::kDisconnect));
  m_publishLabel->setText(QText(sim_text::kPublish));
  m_contentLabel->setText(QText(sim_text::kContentLabel));
  m_testButton->setText(QText(sim_text::kTest));
  QStringList contents;
  for (std::u16string_view item : sim_text::kContentItems) contents << Q(item);
  RefillCombo(m_contentCombo, contents, m_contentCombo->currentIndex());
  m_topicLabel->setText(QText(sim_text::kTopicLabel));
  m_logLabel->setText(QText(sim_text::kLogLabel));
  m_clearButton->setText(QText(sim_text::kClear));
  m_exportButton->setText(QText(sim_text::kExport));
  for (const auto& row : m_rows) RetextFieldRow(*row, m_chinese);
  SetConnectedUi(m_connected);
  m_messageLine->setText(QText(sim_text::kParameters));
}

void CMqttSimDlg::OnLanguageChanged() {
  // Texts only: no font is made again and nothing moves until the next size
  // or dpi change.
  ApplyLanguage();
}

std::u16string CMqttSimDlg::GetFieldText(std::u16string_view key) const {
  for (const auto& row : m_rows) {
    if (row->key == key && row->edit != nullptr) return row->edit->text().toStdU16String();
  }
  return {};
}

int CMqttSimDlg::GetFieldComboIndex(std::u16string_view key) const {
  for (const auto& row : m_rows) {
    if (row->key == key && row->combo != nullptr) return row->combo->currentIndex();
  }
  return 0;
}

void CMqttSimDlg::SetConnectedUi(bool connected) {
  const bool changed = connected != m_connected;
  m_connected = connected;
  m_connectButton->setEnabled(!connected);
  m_disconnectButton->setEnabled(connected);
  m_testButton->setEnabled(connected);
  m_status->setText(QText(connected ? sim_text::kConnected : sim_text::kDisconnected));
  // The colours follow the state only: every status record of the client
  // comes here, thousands a second under traffic, and repainting the
  // palettes of every control each time would be most of the window's work.
  if (changed) ApplyColors();
  if (connected) {
    m_topicEdit->setText(Q(GetFieldText(u"subTopic")));
  } else {
    m_taskIds.Clear();
  }
}

bool CMqttSimDlg::OnCommand(int id, int code) {
  switch (id) {
    case kIdSimConnect:
      OnConnect();
      break;
    case kIdSimDisconnect:
      m_client.Disconnect();
      AppendLog(sim_text::kDisconnecting, LogKind::Info);
      break;
    case kIdSimClear:
      ClearLog();
      break;
    case kIdSimExport:
      OnExportLog();
      break;
    case kIdSimTest:
      OnTest();
      break;
    default:
      break;
  }
  return DefaultCommand(id, code);
}

bool CMqttSimDlg::DefaultCommand(int id, int code) {
  if (id == kIdSimLanguageCombo && code == kCbnSelChange) {
    OnLanguageChanged();
    return true;
  }
  return EndDialogCommand(this, id, code);
}

}  // namespace qm
