// SPDX-License-Identifier: MIT
// The CA certificate road from a page's button through the dialog to a FIFO device node (TZ=UTC).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "config/TestCertificates.h"
#include "ui/CCaCertDlg.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using End = std::function<void(CCaCertDlg*)>;

struct ScriptedChooser final : FileChooser {
  QString path, filters;
  int opened = 0;
  QString ChooseOpenFile(QWidget*, const QString& f) override {
    return ++opened, filters = f, path;
  }
  QString ChooseSaveFile(QWidget*, const QString&, const QString&) override { return {}; }
};

End Click(int id) {
  return [id](CCaCertDlg* ca) { QTest::mouseClick(FindControl(ca, id), Qt::LeftButton); };
}
// A key as the user presses it: to the focused control, on to the dialog.
End Key(Qt::Key key) {
  return [key](CCaCertDlg* ca) { QTest::keyClick(ca->focusWidget(), key); };
}

std::string Pem(std::int64_t notBefore, std::int64_t notAfter) {
  test::CertificateParams params = test::FreshParams();
  std::tie(params.notBefore, params.notAfter) = std::tie(notBefore, notAfter);
  return test::MakeCertificatePem(params);
}
const std::string kValid = Pem(1700000000, 4102444799), kExpired = Pem(946684800, 978307199);

// The CA frame of a PEM with LF line ends, LF being its only byte to escape.
std::vector<std::uint8_t> CaFrame(const std::string& pem) {
  std::string record = "{\"mqttsca\":\"";
  for (char c : pem) record += c == '\n' ? std::string("\\n") : std::string(1, c);
  record += "\"}";
  const std::string frame = "\x1B\x1C\x1D\x05\x08\x0E" + std::string{char(record.size() >> 8)} +
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
  // Opens the dialog on `path`, ends it with `end`: its texts, Confirm's
  // state, its size and title face, and "open" when `end` did not end it.
  QString Send(const QString& path, const End& end) {
    chooser->path = path;
    QStringList shown;
    test::DriveNestedLoop(
        [&] { QTest::mouseClick(dialog->Page(1).caButton, Qt::LeftButton); }, test::ActiveModal,
        [&](QWidget* modal) {
          auto* ca = qobject_cast<CCaCertDlg*>(modal);
          const QList<QLabel*> labels = ca->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
          shown << ca->windowTitle() << labels[0]->text() << labels[1]->text();
          for (int id : {1201, 1202, 1203, 1204})
            shown << FindControl(ca, id)->property(id == 1202 ? "plainText" : "text").toString();
          shown << QString::number(FindControl(ca, 1203)->isEnabled())
                << QStringLiteral("%1x%2").arg(ca->width()).arg(ca->height())
                << labels[0]->font().families().value(0);
          end(ca);
          if (ca->isVisible()) shown << QStringLiteral("open");
        });
    return shown.join(u'|');
  }

  ScriptedChooser* chooser = nullptr;
  test::FifoDevice node;
  QTemporaryDir dir;
};

// The dialog's size at the dpi of the test's screen.
QString SizeAt(int dpi) { return QString::fromLatin1(dpi == 144 ? "870x600" : "580x400"); }

TEST_F(CaCertDlgTest, FromTheButtonToTheDevice) {
  dialog->SetStatus(u"before", 0x374151);
  dialog->OnCommand(dialog->Page(1).caId, kBnClicked);  // no file chosen: nothing happens
  EXPECT_EQ(chooser->filters, QStringLiteral("CA Certificate PEM (*.pem);;All Files (*)"));
  EXPECT_EQ(Status(), QStringLiteral("before"));
  const QString path = File("ca.pem", kValid), big = File("big.pem", std::string(4097, 'A'));
  const End refused = [](CCaCertDlg* ca) {
    Click(1203)(ca);         // disabled,
    ca->OnCommand(1203, 0);  // and the command ignored too: the dialog stays
    if (ca->isVisible()) Key(Qt::Key_Escape)(ca);
  };
  // The summaries are the config library's; their ends show which one is shown.
  const QString passed = QStringLiteral("to write via USB.");
  const struct {
    QString path, summaryEnd;
    End end;
    const std::string* sent;
  } cases[] = {
      {path, passed, Click(1203), &kValid},
      {File("old.pem", kExpired), QStringLiteral("if the device accepts it."), Click(1203),
       &kExpired},
      {big, QStringLiteral("select a valid PEM certificate."), refused, nullptr},
      {path, passed, Key(Qt::Key_Return), nullptr},
      {path, passed, Key(Qt::Key_Escape), nullptr},
      {path, passed, [](CCaCertDlg* ca) { ca->close(); }, nullptr},
      {path, passed, Click(1204), nullptr},
  };
  for (const auto& c : cases) {
    dialog->SetStatus(u"before", 0x374151);
    QStringList shown = Send(c.path, c.end).split(u'|');
    EXPECT_TRUE(shown.value(4).endsWith(c.summaryEnd)) << shown.value(4).toStdString();
    shown.removeAt(4);
    EXPECT_EQ(shown.join(u'|'),
              QStringLiteral("Custom CA Certificate (Optional)|Confirm CA "
                             "Certificate Write|File path:|%1|Confirm & "
                             "Send|Cancel|%2|%3|Segoe UI")
                  .arg(c.path, c.path == big ? u"0" : u"1", SizeAt(dialog->Dpi())));
    EXPECT_EQ(node.Drain(), c.sent ? CaFrame(*c.sent) : std::vector<std::uint8_t>{});
    EXPECT_EQ(Status(),
              QString::fromUtf16(c.sent ? u"✔  CA certificate sent via USB." : u"before"));
    EXPECT_EQ(dialog->StatusColor(), c.sent ? 0x15803Du : 0x374151u);
    EXPECT_TRUE(dialog->Page(1).caButton->isEnabled());
  }
}

TEST_F(CaCertDlgTest, BothLanguagesADeviceThatTakesNothingAndAnUnplug) {
  const QString path = File("ca.pem", kValid);
  const char16_t* statuses[2][3] = {
      {u"⚠  Enable TLS first.", u"✔  CA certificate sent via USB.",
       u"✖  Failed to send CA certificate."},
      {u"⚠  请先启用 TLS。", u"✔  CA 证书已通过 USB 发送。", u"✖  CA 证书发送失败。"}};
  for (int chinese : {0, 1}) {
    Choose(kIdLanguageCombo, chinese);
    Tls(0);
    dialog->OnCommand(dialog->Page(1).caId, kBnClicked);
    EXPECT_EQ(chooser->opened, 2 * chinese);  // no chooser; two sends per language
    EXPECT_EQ(Status(), QString::fromUtf16(statuses[chinese][0]));
    Tls(1);
    const QStringList shown = Send(path, Click(1203)).split(u'|');
    EXPECT_EQ(Status(), QString::fromUtf16(statuses[chinese][1]));
    node.Drain();
    node.FillUp();
    QElapsedTimer clock;
    Send(path, [&](CCaCertDlg* ca) { clock.start(), Click(1203)(ca); });
    EXPECT_GE(clock.elapsed(), 800) << "the write did not wait for the device";
    EXPECT_EQ(Status(), QString::fromUtf16(statuses[chinese][2]));
    EXPECT_EQ(dialog->StatusColor(), 0xB91C1Cu);
    EXPECT_TRUE(dialog->IsConnected() && dialog->Page(1).caButton->isEnabled());
    node.Drain();
    if (!chinese) continue;
    EXPECT_EQ(
        shown.mid(0, 3).join(u'|') + shown.mid(5).join(u'|'),
        QStringLiteral("自定义 CA 证书（选配）|确认写入 CA 证书|文件路径：确认并发送|取消|1|%1|"
                       "Microsoft YaHei UI")
            .arg(SizeAt(dialog->Dpi())));
    EXPECT_TRUE(shown.value(4).startsWith(QStringLiteral("大小： ")));
  }
  // Unplugged while the dialog is open (the poll runs on under it): the send is refused.
  Send(path, [&](CCaCertDlg* ca) {
    printers->entries.clear();
    timers->Advance(1000);  // the next poll
    Click(1203)(ca);
  });
  EXPECT_EQ(Status(), QStringLiteral("⚠  请先选择 USB 设备并点击连接。"));
  EXPECT_TRUE(node.Drain().empty());
  EXPECT_FALSE(dialog->Page(1).caButton->isEnabled()) << "the pages stay locked";
}

}  // namespace
}  // namespace qm
