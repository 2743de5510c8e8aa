// SPDX-License-Identifier: MIT
// The MQTT simulator window: a connection form, Connect and Disconnect with
// the connection status, a test-publish section, a coloured message log with
// Clear and Export, and a message band, in English or Chinese.
#pragma once

#include <QFont>
#include <QTime>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "look/SimColors.h"
#include "simulator/MqttClient.h"
#include "simulator/TaskIdHistory.h"
#include "simulator/TestPayload.h"
#include "text/TextPair.h"
#include "ui/CBaseDlg.h"
#include "ui/ControlIds.h"
#include "ui/MqttQtEventSink.h"
#include "ui/MqttRecordEvent.h"
#include "ui/PageState.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace qm {

class CModernButton;
class ElidedLabel;
class FileChooser;

// One row of the connection form; the window's widgets, the row points at them.
using SimFieldSpec = FieldSpec;

// Control ids of the window.
inline constexpr int kIdSimLanguageCombo = 1100;
inline constexpr int kIdSimMessageLine = 1101;
inline constexpr int kIdSimConnect = 1102;
inline constexpr int kIdSimDisconnect = 1103;
inline constexpr int kIdSimTopicEdit = 1104;
inline constexpr int kIdSimLog = 1107;
inline constexpr int kIdSimClear = 1108;
inline constexpr int kIdSimExport = 1109;
inline constexpr int kIdSimStatus = 1110;
inline constexpr int kIdSimContentCombo = 1111;
inline constexpr int kIdSimTest = 1112;
inline constexpr int kSimFirstRowId = 3000;
// Captions that no command names.
inline constexpr int kIdSimStatic = 0xFFFF;

class CMqttSimDlg final : public CBaseDlg {
  Q_OBJECT

 public:
  // The log keeps its newest lines: at most this many, and at most this many
  // UTF-16 units in all, counting one unit for each line end (a longer
  // newest line stays whole). Over a cap, the oldest lines go, a hundredth
  // of the cap more than needed.
  static constexpr int kLogMaxLines = 100000;
  static constexpr int kLogMaxUnits = 32 * 1024 * 1024;

  // Builds nothing yet: the controls are made when the window is first shown.
  // chinese: the parent shows Chinese texts. The chooser picks the export
  // file; it must outlive the window. When the window goes, its client ends
  // any connection and waits for the MQTT library before the window's other
  // parts go: no library callback reaches the window afterwards.
  CMqttSimDlg(QWidget* parent, bool chinese, FileChooser& chooser);

  // Routes the commands of the buttons, then lets the default handling see
  // every command (language choice, Enter, Esc). True when handled.
  bool OnCommand(int id, int code) override;

  // One log line "[hh:mm:ss] text" in the colour of its kind.
  void AppendLog(std::u16string_view text, LogKind kind);
  // The first row with the key and an edit: its text as typed; empty when none.
  std::u16string GetFieldText(std::u16string_view key) const;
  // The first row with the key and a drop-down: its selected index (-1 for
  // none); 0 when no row has one.
  int GetFieldComboIndex(std::u16string_view key) const;
  void SetConnectedUi(bool connected);
  void LayoutControls() override;

  // The log's capacity (kLogMaxLines, kLogMaxUnits unless changed).
  void SetLogLimits(int maxLines, int maxUnits);
  // The local time of the log lines; the system clock unless replaced.
  void SetLogClock(std::function<QTime()> clock) { m_clock = std::move(clock); }
  // The clock behind the first test job id; the system clock unless replaced.
  void SetJobClock(UnixClock clock) { m_jobClock = std::move(clock); }

  // Read access for tests.
  QWidget* Control(int id) const;
  QPlainTextEdit* Log() const { return m_log; }
  MqttClient& Client() { return m_client; }
  MqttEventSink& Sink() { return m_sink; }
  TaskIdHistory& TaskIds() { return m_taskIds; }
  bool IsChinese() const { return m_chinese; }
  bool IsConnected() const { return m_connected; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnInitDialog() override;
  void CreateFonts() override;
  void ApplyFonts() override;
  Size MinimumSizeAt(int dpi) const override;
  void CreateHeader();
  void CreateConnectionForm();
  void CreatePublishSection();
  void CreateLogSection();
  void AddEditRow(std::u16string_view key, TextPair label, std::u16string_view text);
  void AddComboRow(std::u16string_view key, TextPair label, std::vector<TextPair> items);
  ElidedLabel* CreateStatic(Qt::Alignment align, std::u16string_view text, const QFont& font,
                            int id);
  QLabel* CreateCaption(std::u16string_view text);
  CModernButton* CreateButton(std::u16string_view text, int id, bool primary);
  void Wire(QWidget* widget, int id);
  bool DefaultCommand(int id, int code);
  QString QText(const TextPair& pair) const;

  void ApplyLanguage();
  void OnLanguageChanged();
  void ApplyColors();
  void OnExportLog();
  void ClearLog();
  void TrimLog();

  // The traffic: connect flow, test jobs and the client's records.
  void OnConnect();
  void OnTest();
  // The client's records are handled in the order they arrived, for at
  // most kRecordRoundMs in one go: under a flood the rest waits in the
  // sink's backlog, so that the window stays responsive.
  static constexpr qint64 kRecordRoundMs = 5;
  void DrainRecords();
  void HandleInLogBatch(const std::function<void()>& work);
  void HandleRecord(const RecordBacklog::Entry& entry);
  void OnMqttStatus(const MqttStatusEvent& record);
  void OnMqttMessage(const MqttMessageEvent& record);
  void HandleIncomingPayload(const std::string& payload);

  ElidedLabel* m_title = nullptr;
  ElidedLabel* m_langLabel = nullptr;
  QComboBox* m_langCombo = nullptr;
  ElidedLabel* m_messageLine = nullptr;
  ElidedLabel* m_status = nullptr;
  CModernButton* m_connectButton = nullptr;
  CModernButton* m_disconnectButton = nullptr;
  QLabel* m_publishLabel = nullptr;
  ElidedLabel* m_contentLabel = nullptr;
  QComboBox* m_contentCombo = nullptr;
  CModernButton* m_testButton = nullptr;
  ElidedLabel* m_topicLabel = nullptr;
  QLineEdit* m_topicEdit = nullptr;
  QLabel* m_logLabel = nullptr;
  CModernButton* m_clearButton = nullptr;
  CModernButton* m_exportButton = nullptr;
  QPlainTextEdit* m_log = nullptr;
  // Declared before the client: the client, destroyed first, detaches it.
  // Holds the records not yet handled.
  MqttQtEventSink m_sink{this};
  MqttClient m_client;
  TaskIdHistory m_taskIds;
  std::vector<std::unique_ptr<SimFieldSpec>> m_rows;
  bool m_connected = false;
  bool m_chinese = false;
  const bool m_chineseAtStart;
  int m_nextControlId = kSimFirstRowId;
  std::uint32_t m_lastJobId = 0;
  QFont m_fontNormal;
  QFont m_fontSemibold;
  QFont m_fontTitle;

  FileChooser& m_chooser;
  std::function<QTime()> m_clock;
  UnixClock m_jobClock = SystemUnixSeconds;
  bool m_logBatchOpen = false;  // lines go in as one edit; trimmed after it
  int m_logMaxLines = kLogMaxLines;
  int m_logMaxUnits = kLogMaxUnits;
};

}  // namespace qm
