// SPDX-License-Identifier: MIT
// The main window as built, and moved between a 96- and a 144-dpi screen (MainDlgDpi).

#include <QClipboard>
#include <QDirIterator>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using namespace Qt::StringLiterals;

using namespace std::chrono_literals;
using MainDlgTest = test::ShownMainDlg;
using MainDlgDpi = test::ShownMainDlg;

QString Face(const QWidget* widget) { return widget->font().families().value(0); }

// The program's own timers as "interval single-shot precise running|".
QString Timers(const QObject& window) {
  QString shown;
  for (int i : {1, 2})
    if (auto* t = window.findChild<QTimer*>(u"timer%1"_s.arg(i), Qt::FindDirectChildrenOnly))
      shown += QString::asprintf("%d %d %d %d|", t->interval(), t->isSingleShot(),
                                 t->timerType() == Qt::PreciseTimer, t->isActive());
  return shown;
}

// Size, bands and faces at the test's dpi (96 or 144), again under a Chinese system language
// (Chinese faces, English texts); the locked pages.
TEST_F(MainDlgTest, SizeBandsAndFacesAtItsDpiAndSystemLanguage) {
  const bool dense = dialog->Dpi() == 144, zh = QLocale::system().language() == QLocale::Chinese;
  ASSERT_TRUE(dense || dialog->Dpi() == 96) << dialog->Dpi();
  const QImage image = dialog->grab().toImage();
  const auto band = [&](int y) { return test::Rgb24(image, 500, y); };  // header, accent, status
  EXPECT_EQ(
      std::tuple(dialog->size(), band(3), band(dense ? 81 : 54), band(dense ? 1062 : 708)),
      std::tuple(dense ? QSize(1500, 1140) : QSize(1000, 760), 0x0F3460u, 0x0969DAu, 0xF8F9FBu));
  EXPECT_EQ(Face(dialog->Control(kIdUsbCombo)) + u'|' + Face(dialog->Control(kIdStatus)) + u'|' +
                dialog->Control(kIdConnectButton)->property("text").toString(),
            zh ? u"Microsoft YaHei UI|Microsoft YaHei UI|Connect"
               : u"Segoe UI|Segoe UI Semibold|Connect");
  // Locked: page 0 shown with grey labels; missing rows read empty.
  std::u16string ports;  // each page's port row starts at 1883
  for (int p = 0; p < 5; ++p) {
    const PageState& page = dialog->Page(p);
    for (const auto& f : page.fields) {
      QWidget* in = f->combo ? static_cast<QWidget*>(f->combo) : f->edit;
      EXPECT_EQ(in->isVisible() + f->label->isVisible() + 4 * in->isEnabled(), 2 * (p == 0));
    }
    EXPECT_EQ(page.writeButton->isVisible() + 2 * (page.caButton && page.caButton->isVisible()),
              p == 0);
    ports += dialog->GetFieldText(p, u"port") + u'|';
  }
  const QRect label = dialog->Page(0).fields[0]->label->geometry();
  EXPECT_TRUE(test::Draws(image, 0x9CA3AF, label) && !test::Draws(image, 0x374151, label));
  test::FindField(dialog->Page(2), u"productKey")->edit->setText(u"  pk  "_s);
  EXPECT_EQ(dialog->GetFieldText(2, u"productKey") + ports + dialog->GetFieldText(1, u"url") +
                dialog->GetFieldText(7, u"port"),
            u"  pk  1883|1883|1883|1883|1883|");
  EXPECT_EQ(dialog->GetFieldComboSel(0, u"tls"), 0);
}

// The device poll every second from the first show, the unlock once five seconds after its start,
// never early; Esc, Enter and the close box end the modal run; nothing under the user's folders.
TEST_F(MainDlgTest, ProgramTimersAndTheEndsOfTheModalRun) {
  const std::pair<std::function<void(CMainDlg&)>, int> cases[] = {
      {[](CMainDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
      {[](CMainDlg& d) { QTest::keyClick(&d, Qt::Key_Return); }, QDialog::Accepted},
      {[](CMainDlg& d) { d.close(); }, QDialog::Rejected}};
  for (const auto& [act, result] : cases) {
    QWidget owner;  // the window is always a top-level one
    CMainDlg modal(&owner, std::make_unique<test::FakeDeviceLister>());
    QString timers = Timers(modal) + u'/';
    int code = -1;
    EXPECT_TRUE(test::DriveNestedLoop([&] { code = modal.exec(); }, test::ActiveModal,
                                      [&](QWidget*) { timers += Timers(modal), act(modal); }));
    EXPECT_TRUE(code == result && modal.parentWidget() == nullptr) << code;
    EXPECT_EQ(timers, u"5000 1 1 0|1000 0 0 0|/5000 1 1 0|1000 0 0 1|"_s);
  }
  dialog->close();
  QDirIterator files(qEnvironmentVariable("HOME"), QDir::Files | QDir::Hidden | QDir::System,
                     QDirIterator::Subdirectories);
  while (files.hasNext())
    EXPECT_TRUE(files.next().contains(u"/runtime/")) << files.filePath().toStdString();
}

// Pasted as a terminal or a crafted file gives it: NUL, frame marker bytes, line ends, DEL, C1.
const QString kJunk =
    QString::fromUtf16(u"\0P\u001D\u001E\u001F\u001B\u001C\u001DK\r\n\t\u007F\u0085\u009Fx", 16);

void Paste(QLineEdit* edit, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  edit->setFocus(), QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

// Every edit takes by paste and drop only what typing takes; a topic MQTT forbids is refused on
// the status line, in Chinese too, and nothing is written.
TEST_F(MainDlgTest, PastedAndDroppedControlCharactersNeverReachTheDevice) {
  test::FifoDevice node;
  ASSERT_TRUE(Plug({{u"usb#vid_1234&pid_0a0b#S1#" + node.WidePath(), u"P", 0x1234, 0x0A0B}}));
  qobject_cast<QComboBox*>(dialog->Control(kIdUsbCombo))->setCurrentIndex(0);
  QTest::mouseClick(dialog->Control(kIdConnectButton), Qt::LeftButton);
  QString shown;  // pasted into the middle: the cursor stays behind what was pasted
  for (int page = 0; page < 5; ++page) {
    SelectTab(page);
    for (const auto& f : dialog->Page(page).fields) {
      if (f->edit == nullptr) continue;
      f->edit->setText(u"PQ"_s), f->edit->setCursorPosition(1), Paste(f->edit, kJunk);
      shown += f->edit->text() + QString::number(f->edit->cursorPosition()) + u'|';
    }
  }
  EXPECT_EQ(shown, u"PPKxQ4|"_s.repeated(34));
  const auto edit = [&](auto key) { return test::FindField(dialog->Page(0), key)->edit; };
  QMimeData dropped;
  dropped.setText(QString::fromUtf16(u"se\0cret", 7));
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  edit(u"deviceSecret")->clear(), QApplication::sendEvent(edit(u"deviceSecret"), &enter);
  QApplication::sendEvent(edit(u"deviceSecret"), &drop);  // the enter made it the target
  EXPECT_EQ(edit(u"deviceSecret")->text(), u"secret"_s);
  Choose(kIdLanguageCombo, 1), SelectTab(1);
  test::FindField(dialog->Page(1), u"port")->edit->setText(u"1883"_s);
  test::FindField(dialog->Page(1), u"subTopic")->edit->setText(u"a/#/b"_s);
  QTest::mouseClick(dialog->Page(1).writeButton, Qt::LeftButton);
  EXPECT_EQ(Status(), u"⚠  订阅主题不是有效的过滤器：# 只能作为最后一整级，+ 只能作为一整级。"_s);
  EXPECT_TRUE(node.Drain().empty());
}

// Chinese chosen at 96 dpi: the faces change with the next dpi change; each length rounded alone.
TEST_F(MainDlgDpi, SizeFontsAndLayoutFollowTheScreen) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  ASSERT_EQ(screens.size(), 2) << "needs the two-screen offscreen desktop";
  const bool first = screens[0]->logicalDotsPerInch() < 100;
  dialog->windowHandle()->setScreen(screens[first ? 0 : 1]);
  ASSERT_TRUE(test::WaitUntil([&] { return dialog->Dpi() == 96; }, 5s));
  QWidget *const combo = dialog->Control(kIdUsbCombo), *const status = dialog->Control(kIdStatus);
  Choose(kIdLanguageCombo, 1);
  ASSERT_TRUE(dialog->IsChinese() && Face(combo) == u"Segoe UI"_s);
  dialog->resize(1003, 761), QApplication::processEvents();
  const std::tuple<QScreen*, int, QSize, QSize, int> steps[] = {
      {screens[first ? 1 : 0], 144, {1505, 1142}, {1290, 1050}, 54},
      {screens[first ? 0 : 1], 96, {1003, 761}, {860, 700}, 36}};
  for (const auto& [screen, dpi, size, minimum, statusHeight] : steps) {
    dialog->windowHandle()->setScreen(screen);
    ASSERT_TRUE(test::WaitUntil([&, dpi = dpi] { return dialog->Dpi() == dpi; }, 5s));
    EXPECT_EQ(std::tuple(dialog->size(), dialog->minimumSize(), status->height()),
              std::tuple(size, minimum, statusHeight));
    EXPECT_EQ(
        Face(combo) + u'|' + Face(status) + u'|' + QString::number(combo->font().pointSizeF()),
        u"Microsoft YaHei UI|Microsoft YaHei UI|9.5"_s);
  }
}

}  // namespace
}  // namespace qm
