// SPDX-License-Identifier: MIT
// The CA certificate road end to end: a self-hosted page's button, a scripted
// file choice, the dialog driven by real input, the bytes at a FIFO device
// node. Certificate dates are read in UTC (TZ=UTC).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "config/TestCertificates.h"
#include "ui/CCaCertDlg.h"
#include "ui/CModernButton.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using namespace std::chrono_literals;
using End = std::function<void(CCaCertDlg*)>;

struct ScriptedChooser final : FileChooser {
  QString path, filters;
  int opened = 0;
  QString ChooseOpenFile(QWidget*, const QString& f) override { return ++opened, filters = f, path; }
  QString ChooseSaveFile(QWidget*, const QString&, const QString&) override { return {}; }
};

QWidget* ById(const QWidget* window, int id) {
  for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (ControlIdOf(child) == id) return child;
  }
  return nullptr;
}
End Click(int id) { return [id](CCaCertDlg* ca) { QTest::mouseClick(ById(ca, id), Qt::LeftButton); }; }
// A key as the user presses it: to the focused control, on to the dialog.
End Key(Qt::Key key) { return [key](CCaCertDlg* ca) { QTest::keyClick(ca->focusWidget(), key); }; }

std::string Pem(std::int64_t notBefore, std::int64_t notAfter) {
  test::CertificateParams params = test::FreshParams();
  params.notBefore = notBefore;
  params.notAfter = notAfter;
  return test::MakeCertificatePem(params);
}

// The CA frame of a PEM with LF line ends, LF being its only byte to escape.
std::vector<std::uint8_t> CaFrame(const std::string& pem) {
  std::string record = "{\"mqttsca\":\"";
  for (char c : pem) record += c == '\n' ? std::string("\\n") : std::string(1, c);
  record += "\"}";
  std::vector<std::uint8_t> frame{0x1B, 0x1C, 0x1D, 0x05, 0x08, 0x0E, std::uint8_t(record.size() >> 8),
                                  std::uint8_t(record.size() & 0xFF)};
  frame.insert(frame.end(), record.begin(), record.end());
  frame.insert(frame.end(), {0x1D, 0x1E, 0x1F});
  return frame;
}

class CaCertDlgTest : public test::ShownMainDlg {
 protected:
  void SetUp() override {
    ShownMainDlg::SetUp();
    dialog->SetFileChooser(std::unique_ptr<FileChooser>(chooser = new ScriptedChooser));
    printers->entries.push_back({u"usb#vid_1234&pid_0a0b#S1#" + node.WidePath(), u"Printer", 0x1234, 0x0A0B});
    ASSERT_TRUE(test::WaitUntil([&] { return dialog->Devices().size() == 1; }, 5s));
    dialog->OnCommand(kIdConnectButton, kBnClicked);
    qobject_cast<QTabBar*>(dialog->Control(kIdTab))->setCurrentIndex(1);
    Choose(test::FindField(dialog->Page(1), u"tls")->combo, 1);
  }
  static void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  QString Status() const { return qobject_cast<QLabel*>(dialog->Control(kIdStatus))->text(); }
  QString File(const char* name, const std::string& bytes) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes.data(), qint64(bytes.size())) > 0);
    return file.fileName();
  }
  // Clicks page 1's CA button with `path` chosen, checks the dialog's look,
  // returns its texts (caption, header, label, path, summary, buttons) and
  // ends it with `end`.
  QStringList Send(const QString& path, const End& end, const QString& shot = {}) {
    chooser->path = path;
    QStringList texts;
    QTimer::singleShot(200, [&] {
      auto* ca = qobject_cast<CCaCertDlg*>(QApplication::activeModalWidget());
      const QList<QLabel*> labels = ca->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
      texts = {ca->windowTitle(), labels[0]->text(), labels[1]->text(),
               qobject_cast<QLineEdit*>(ById(ca, 1201))->text(),
               qobject_cast<QPlainTextEdit*>(ById(ca, 1202))->toPlainText(),
               qobject_cast<QPushButton*>(ById(ca, 1203))->text(), qobject_cast<QPushButton*>(ById(ca, 1204))->text(),
               ById(ca, 1203)->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled")};
      const int dpi = ca->Dpi();
      EXPECT_EQ(ca->size(), QSize(580 * dpi / 96, 400 * dpi / 96));
      EXPECT_EQ(ca->NormalFont().families().value(0), QLatin1String(dialog->IsChinese() ? "Microsoft YaHei UI" : "Segoe UI"));
      EXPECT_EQ(ca->TitleFont().families(), ca->NormalFont().families());
      EXPECT_EQ(ca->NormalFont().pointSizeF() * 10 + ca->TitleFont().pointSizeF(), 95 + 11.5);
      const QImage image = ca->grab().toImage();
      EXPECT_EQ(test::Rgb24(image, 3, 3), 0xF5F7FAu);
      EXPECT_TRUE(test::Draws(image, 0x374151, labels[0]->geometry()));
      if (!shot.isEmpty()) test::MaybeSaveShot(image, QStringLiteral("ca-%1-%2dpi").arg(shot).arg(dpi));
      end(ca);
    });
    QTest::mouseClick(dialog->Page(1).caButton, Qt::LeftButton);
    return texts;
  }

  ScriptedChooser* chooser = nullptr;
  test::FifoDevice node;
  QTemporaryDir dir;
};

TEST_F(CaCertDlgTest, FromTheButtonToTheDevice) {
  // No file chosen: nothing happens.
  dialog->SetStatus(u"before", 0x374151);
  dialog->OnCommand(dialog->Page(1).caId, kBnClicked);
  EXPECT_EQ(chooser->filters, QStringLiteral("CA Certificate PEM (*.pem);;All Files (*)"));
  EXPECT_EQ(Status(), QStringLiteral("before"));

  const std::string valid = Pem(1700000000, 4102444799), expired = Pem(946684800, 978307199);
  const auto summary = [](const std::string& pem, const char* dates, const char* verdict) {
    return QStringLiteral("Size: %1 bytes\nFormat: PEM\nSubject: Quillmark Test CA\nIssuer: Quillmark Test CA\n"
                          "Valid: %2\n\n%3").arg(pem.size()).arg(QLatin1String(dates), QLatin1String(verdict));
  };
  const QString passed = summary(valid, "2023-11-14 22:13:20 ~ 2099-12-31 23:59:59",
                                 "Certificate structure validation passed.\nClick Confirm & Send to write via USB.");
  const End ignoredThenEsc = [](CCaCertDlg* ca) {
    Click(1203)(ca);
    EXPECT_TRUE(ca->OnCommand(1203, 0));
    EXPECT_TRUE(ca->isVisible());
    Key(Qt::Key_Escape)(ca);
  };
  struct Case {
    const char* shot;
    QString path, summary;
    End end;
    const std::string* sent;
  };
  const Case cases[] = {
      {"valid", File("valid.pem", valid), passed, Click(1203), &valid},
      {"expired", File("old.pem", expired),
       summary(expired, "2000-01-01 00:00:00 ~ 2000-12-31 23:59:59",
               "Warning: Certificate is expired (structure is valid).\n"
               "You may still confirm and send if the device accepts it."),
       Click(1203), &expired},
      {"failed", File("big.pem", std::string(4097, 'A')),
       QStringLiteral("Validation failed: Certificate file exceeds 4 KB (embedded MQTTS CA limit; typical PEM is "
                      "1-4 KB).\n\nPlease select a valid PEM certificate."),
       ignoredThenEsc, nullptr},
      {"enter", File("valid.pem", valid), passed, Key(Qt::Key_Return), nullptr},
      {"esc", File("valid.pem", valid), passed, Key(Qt::Key_Escape), nullptr},
      {"close", File("valid.pem", valid), passed, [](CCaCertDlg* ca) { ca->close(); }, nullptr},
      {"cancel", File("valid.pem", valid), passed, Click(1204), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shot);
    dialog->SetStatus(u"before", 0x374151);
    const bool failed = std::string_view(c.shot) == "failed";
    EXPECT_EQ(Send(c.path, c.end, QStringLiteral("en-") + QLatin1String(c.shot)).join(u'|'),
              QStringLiteral("Custom CA Certificate (Optional)|Confirm CA Certificate Write|File path:|") + c.path +
                  u'|' + c.summary + QStringLiteral("|Confirm & Send|Cancel|") +
                  QLatin1String(failed ? "disabled" : "enabled"));
    EXPECT_EQ(node.Drain(), c.sent ? CaFrame(*c.sent) : std::vector<std::uint8_t>{});
    EXPECT_EQ(Status(), c.sent ? QStringLiteral("✔  CA certificate sent via USB.") : QStringLiteral("before"));
    EXPECT_EQ(dialog->StatusColor(), c.sent ? 0x15803Du : 0x374151u);
    EXPECT_TRUE(dialog->Page(1).caButton->isEnabled());
  }
}

TEST_F(CaCertDlgTest, BothLanguagesAndADeviceThatTakesNothing) {
  const QString path = File("ca.pem", Pem(1700000000, 4102444799));
  const QStringList statuses[] = {
      {QStringLiteral("⚠  Enable TLS first."), QStringLiteral("✔  CA certificate sent via USB."),
       QStringLiteral("✖  Failed to send CA certificate.")},
      {QStringLiteral("⚠  请先启用 TLS。"), QStringLiteral("✔  CA 证书已通过 USB 发送。"),
       QStringLiteral("✖  CA 证书发送失败。")}};
  for (int chinese : {0, 1}) {
    Choose(qobject_cast<QComboBox*>(dialog->Control(kIdLanguageCombo)), chinese);
    Choose(test::FindField(dialog->Page(1), u"tls")->combo, 0);
    dialog->OnCommand(dialog->Page(1).caId, kBnClicked);
    EXPECT_EQ(chooser->opened, 2 * chinese);  // two sends per language
    EXPECT_EQ(Status(), statuses[chinese][0]);
    EXPECT_EQ(dialog->StatusColor(), 0xB91C1Cu);
    Choose(test::FindField(dialog->Page(1), u"tls")->combo, 1);
    const QStringList texts = Send(path, Click(1203), chinese ? QStringLiteral("zh-valid") : QString());
    EXPECT_EQ(Status(), statuses[chinese][1]);
    node.Drain();
    node.FillUp();
    QElapsedTimer clock;
    Send(path, [&](CCaCertDlg* ca) { clock.start(), Click(1203)(ca); });
    EXPECT_GE(clock.elapsed(), 700) << "the write did not wait for the device";
    EXPECT_EQ(Status(), statuses[chinese][2]);
    EXPECT_EQ(dialog->StatusColor(), 0xB91C1Cu);
    EXPECT_TRUE(dialog->IsConnected() && dialog->Page(1).caButton->isEnabled());
    node.Drain();
    if (!chinese) continue;
    EXPECT_EQ((texts.mid(0, 3) + texts.mid(5, 2)).join(u'|'),
              QStringLiteral("自定义 CA 证书（选配）|确认写入 CA 证书|文件路径：|确认并发送|取消"));
    EXPECT_TRUE(texts.value(4).endsWith(QStringLiteral("\n\n✔ 证书结构校验通过。\n点击「确认并发送」将通过 USB 写入设备。")));
    Send(File("old.pem", Pem(946684800, 978307199)), Key(Qt::Key_Escape), QStringLiteral("zh-expired"));
    Send(File("big.pem", std::string(4097, 'A')), Key(Qt::Key_Escape), QStringLiteral("zh-failed"));
  }
}

TEST_F(CaCertDlgTest, UnpluggedWhileTheDialogIsOpenRefusesTheSend) {
  Send(File("ca.pem", Pem(1700000000, 4102444799)), [&](CCaCertDlg* ca) {
    printers->entries.clear();
    // The device poll goes on under the dialog.
    EXPECT_TRUE(test::WaitUntil([&] { return !dialog->IsConnected(); }, 5s));
    Click(1203)(ca);
  });
  EXPECT_EQ(Status(), QStringLiteral("⚠  Select a USB device and click Connect first."));
  EXPECT_TRUE(node.Drain().empty());
  EXPECT_FALSE(dialog->Page(1).caButton->isEnabled()) << "the pages stay locked";
}

}  // namespace
}  // namespace qm
