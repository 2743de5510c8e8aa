// SPDX-License-Identifier: MIT
// The CA certificate road from a page's button through the dialog to a FIFO device node (TZ=UTC).

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "config/TestCertificates.h"
#include "ui/CCaCertDlg.h"
#include "ui/QtFileChooser.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using End = std::function<void(CCaCertDlg*)>;

struct ScriptedChooser final : FileChooser {
  QString path, seen;
  int opened = 0;
  QString ChooseOpenFile(QWidget*, const QString& f, const QString& suffix) override {
    return ++opened, seen = f + u'|' + suffix + u'|', path;
  }
  QString ChooseSaveFile(QWidget*, const QString&, const QString&) override { return {}; }
};

QString Text(const QWidget* w) {
  return w->property(w->inherits("QPlainTextEdit") ? "plainText" : "text").toString();
}
// A click on a control, or a key as the user presses it: to the focused control, on to the dialog.
End Press(int idOrKey) {
  return [idOrKey](CCaCertDlg* ca) {
    if (idOrKey < 0xFFFF) return QTest::mouseClick(FindControl(ca, idOrKey), Qt::LeftButton);
    QTest::keyClick(ca->focusWidget() ? ca->focusWidget() : ca, Qt::Key(idOrKey));
  };
}

// Made afresh: one valid from yesterday for a year, one that ended in 2000.
const std::string kValid = test::MakeCertificatePem(test::FreshParams()), kExpired = [] {
  test::CertificateParams params = test::FreshParams();
  params.notBefore = 946684800, params.notAfter = 978307199;
  return test::MakeCertificatePem(params);
}();

// The CA frame of a PEM with LF line ends, LF being its only byte to escape.
std::vector<std::uint8_t> CaFrame(const std::string& pem) {
  const QByteArray record = "{\"mqttsca\":\"" +
                            QByteArray::fromStdString(pem).replace("\n", "\\n") + "\"}",
                   frame = "\x1B\x1C\x1D\x05\x08\x0E" + QByteArray(1, char(record.size() >> 8)) +
                           char(record.size()) + record + "\x1D\x1E\x1F";
  return {frame.begin(), frame.end()};
}

class CaCertDlgTest : public test::ShownMainDlg {
 protected:
  void SetUp() override {
    ShownMainDlg::SetUp();
    dialog->SetFileChooser(std::unique_ptr<FileChooser>(chooser = new ScriptedChooser));
    ASSERT_TRUE(Plug({{u"usb#vid_1234&pid_0a0b#S1#" + node.WidePath(), u"P", 1, 2}}));
    dialog->OnCommand(kIdConnectButton, kBnClicked);
    SelectTab(1);
    Tls(1);
  }
  void Tls(int index) { Choose(test::FindField(dialog->Page(1), u"tls")->combo, index); }
  QString File(const char* name, const std::string& bytes) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes.data(), qint64(bytes.size())));
    return file.fileName();
  }
  // Opens the dialog on `path`, ends it with `end`: title, header face, size, Confirm's state,
  // texts (of the summary its last line), "open" if still open; then the outcome.
  QString Send(const QString& path, const End& end) {
    chooser->path = path;
    QStringList shown;
    test::DriveNestedLoop(
        [&] { QTest::mouseClick(dialog->Page(1).caButton, Qt::LeftButton); }, test::ActiveModal,
        [&](QWidget* modal) {
          auto* ca = qobject_cast<CCaCertDlg*>(modal);
          shown << ca->windowTitle() << ca->findChild<QLabel*>()->font().family()
                << QStringLiteral("%1x%2 %3")
                       .arg(ca->width())
                       .arg(ca->height())
                       .arg(FindControl(ca, 1203)->isEnabled());
          for (QWidget* w : ca->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            shown << Text(w).section(u'\n', -1);
          end(ca);
          if (ca->isVisible()) shown << QStringLiteral("open");
        });
    return shown.join(u'|') + u'\n' + Outcome();
  }
  // The status line, its colour and whether the page's buttons are enabled.
  QString Outcome() const {
    return Status() + u'|' + QString::number(dialog->StatusColor(), 16) + u'|' +
           QString::number(dialog->Page(1).caButton->isEnabled());
  }
  QString Size() const { return QString::fromLatin1(dialog->Dpi() == 144 ? "870x600" : "580x400"); }

  ScriptedChooser* chooser = nullptr;
  test::FifoDevice node;
  QTemporaryDir dir;
};

TEST_F(CaCertDlgTest, FromTheButtonToTheDeviceInBothLanguages) {
  dialog->SetStatus(u"before", 0x374151);
  dialog->OnCommand(dialog->Page(1).caId, kBnClicked);  // no file chosen: nothing happens
  EXPECT_EQ(chooser->seen + Outcome(),
            QStringLiteral("CA Certificate PEM (*.pem);;All Files (*)|pem|before|374151|1"));
  const QString path = File("ca.pem", kValid), big = File("big.pem", std::string(4097, 'A'));
  const End refused = [](CCaCertDlg* ca) {
    Press(1203)(ca);         // disabled,
    ca->OnCommand(1203, 0);  // and the command ignored too: the dialog stays
    if (ca->isVisible()) Press(Qt::Key_Escape)(ca);
  };
  const QString passed = QStringLiteral("Click Confirm & Send to write via USB.");
  const std::tuple<QString, QString, End, const std::string*> cases[] = {
      {path, passed, Press(1203), &kValid},
      {File("old.pem", kExpired),
       QStringLiteral("You may still confirm and send if the device accepts it."), Press(1203),
       &kExpired},
      {big, QStringLiteral("Please select a valid PEM certificate."), refused, nullptr},
      {path, passed, Press(Qt::Key_Return), nullptr},
      {path, passed, Press(Qt::Key_Escape), nullptr},
      {path, passed, [](CCaCertDlg* ca) { ca->close(); }, nullptr},
      {path, passed, Press(1204), nullptr},
  };
  for (const auto& [file, summaryEnd, end, sent] : cases) {
    dialog->SetStatus(u"before", 0x374151);
    EXPECT_EQ(
        Send(file, end),
        QStringLiteral("Custom CA Certificate (Optional)|Segoe UI|%1 %2|Confirm CA Certificate "
                       "Write|File path:|%3|%4|Confirm & Send|Cancel\n%5")
            .arg(Size(), file == big ? u"0" : u"1", file, summaryEnd,
                 sent ? u"✔  CA certificate sent via USB.|15803d|1" : u"before|374151|1"));
    EXPECT_EQ(node.Drain(), sent ? CaFrame(*sent) : std::vector<std::uint8_t>{});
  }
  // Both languages, a device that takes nothing, an unplug.
  QStringList seen;
  for (int chinese : {0, 1}) {
    Choose(kIdLanguageCombo, chinese);
    Tls(0);
    dialog->OnCommand(dialog->Page(1).caId, kBnClicked);  // refused before the chooser
    Tls(1);
    // The Chinese dialog's texts; the outcomes in both languages.
    seen << Outcome() << Send(path, Press(1203)).section(u'\n', !chinese, 1);
    EXPECT_EQ(node.Drain(), CaFrame(kValid));
    node.FillUp();
    QElapsedTimer clock;
    seen << Send(path, [&](CCaCertDlg* ca) { clock.start(), Press(1203)(ca); }).section(u'\n', 1);
    EXPECT_GE(clock.elapsed(), 800) << "the write did not wait for the device";
    EXPECT_TRUE(dialog->IsConnected());
    node.Drain();
  }
  // Unplugged while the dialog is open (the poll runs on under it): refused, the pages locked.
  seen << Send(path, [&](CCaCertDlg* ca) {
            printers->entries.clear();
            timers->Advance(1000);  // the next poll
            Press(1203)(ca);
          }).section(u'\n', 1);
  EXPECT_TRUE(node.Drain().empty());
  EXPECT_EQ(chooser->opened, 13);
  // clang-format off
  EXPECT_EQ(seen.join(u'\n'), QStringLiteral(
      "⚠  Enable TLS first.|b91c1c|1\n✔  CA certificate sent via USB.|15803d|1\n"
      "✖  Failed to send CA certificate.|b91c1c|1\n⚠  请先启用 TLS。|b91c1c|1\n"
      "自定义 CA 证书（选配）|Microsoft YaHei UI|%2 1|确认写入 CA 证书|文件路径：|%1|"
      "点击「确认并发送」将通过 USB 写入设备。|确认并发送|取消\n✔  CA 证书已通过 USB 发送。|15803d|1\n"
      "✖  CA 证书发送失败。|b91c1c|1\n⚠  请先选择 USB 设备并点击连接。|b91c1c|0").arg(path, Size()));
  // clang-format on
}

// Alt+Space, the mnemonic Qt would make of "Confirm & Send", through the window's key road with
// Cancel focused: nothing is confirmed or sent, the dialog stays; the caption keeps its "&".
TEST_F(CaCertDlgTest, AltSpaceNeitherConfirmsNorSendsInEitherLanguage) {
  const QString path = File("ca.pem", kValid);
  QStringList seen;
  for (int chinese : {0, 1}) {
    Choose(kIdLanguageCombo, chinese);
    dialog->SetStatus(u"before", 0x374151);
    seen << Send(path, [&](CCaCertDlg* ca) {
              ca->activateWindow();  // window shortcuts work in the active window only
              test::WaitUntil([ca] { return QApplication::activeWindow() == ca; },
                              std::chrono::seconds(5));
              FindControl(ca, 1204)->setFocus(Qt::TabFocusReason);
              QTest::keyClick(ca, Qt::Key_Space, Qt::AltModifier);
              // A shortcut clicks 100 ms later (Qt's animated click): give it five times that.
              test::WaitUntil([ca] { return !ca->isVisible(); }, std::chrono::milliseconds(500));
              seen << QStringLiteral("open %1, shortcut \"%2\"")
                          .arg(ca->isVisible())
                          .arg(qobject_cast<QAbstractButton*>(FindControl(ca, 1203))
                                   ->shortcut()
                                   .toString());
              if (ca->isVisible()) Press(Qt::Key_Escape)(ca);
            }).section(u'|', 3);
    EXPECT_TRUE(node.Drain().empty());
  }
  EXPECT_EQ(
      seen.join(u'\n'),
      QStringLiteral("open 1, shortcut \"\"\nConfirm CA Certificate Write|File path:|%1|Click "
                     "Confirm & Send to write via USB.|Confirm & Send|Cancel\nbefore|374151|1\n"
                     "open 1, shortcut \"\"\n确认写入 CA 证书|文件路径：|%1|"
                     "点击「确认并发送」将通过 USB 写入设备。|确认并发送|取消\nbefore|374151|1")
          .arg(path));
}

// The program's own open dialog: a name typed without an extension is the .pem file.
TEST(QtFileChooser, OpenGivesABareTypedNameTheDefaultExtension) {
  QTemporaryDir dir;
  QFile file(dir.filePath(QStringLiteral("ca.pem")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  QtFileChooser chooser;
  QString chosen;
  EXPECT_TRUE(test::DriveNestedLoop(
      [&] {
        chosen =
            chooser.ChooseOpenFile(nullptr, QStringLiteral("All Files (*)"), QStringLiteral("pem"));
      },
      test::ActiveModal,
      [&](QWidget* modal) {
        auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (name != nullptr) name->setText(dir.filePath(QStringLiteral("ca")));
        QTest::keyClick(modal, Qt::Key_Return);
      }));
  EXPECT_EQ(chosen, dir.filePath(QStringLiteral("ca.pem")));
}

}  // namespace
}  // namespace qm
