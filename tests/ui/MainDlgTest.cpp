// SPDX-License-Identifier: MIT
// The main window as built, and moved between a 96- and a 144-dpi screen (MainDlgDpi).
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using namespace std::chrono_literals;

class MainDlgTest : public test::ShownMainDlg {};

QString Face(const QWidget* widget) { return widget->font().families().value(0); }

// The program's own timers: interval, single shot, precise, running.
QString Timers(const QObject& window) {
  QStringList shown;
  for (const QString& name : {QStringLiteral("timer1"), QStringLiteral("timer2")}) {
    const QTimer* t = window.findChild<QTimer*>(name, Qt::FindDirectChildrenOnly);
    shown << (t ? QString::asprintf("%d %d %d %d", t->interval(), t->isSingleShot(),
                                    t->timerType() == Qt::PreciseTimer, t->isActive())
                : name + QStringLiteral(" missing"));
  }
  return shown.join(u'|');
}

TEST_F(MainDlgTest, LockedPagesShowPageZeroWithGreyLabelsAndMissingRowsReadEmpty) {
  for (int p = 0; p < 5; ++p) {
    for (const auto& field : dialog->Page(p).fields) {
      QWidget* input = field->combo ? static_cast<QWidget*>(field->combo) : field->edit;
      EXPECT_EQ(input->isVisible() + field->label->isVisible(), 2 * (p == 0)) << p;
      EXPECT_FALSE(input->isEnabled()) << p;
    }
    EXPECT_EQ(dialog->Page(p).writeButton->isVisible(), p == 0);
    EXPECT_FALSE(dialog->Page(p).caButton && dialog->Page(p).caButton->isVisible());
  }
  const QImage image = dialog->grab().toImage();  // grey, not the normal text colour
  const QRect label = dialog->Page(0).fields[0]->label->geometry();
  EXPECT_TRUE(test::Draws(image, 0x9CA3AF, label) && !test::Draws(image, 0x374151, label));
  test::FindField(dialog->Page(2), u"productKey")->edit->setText(QStringLiteral("  pk  "));
  std::u16string ports;  // each page's port row starts at 1883
  for (int p = 0; p < 5; ++p) ports += dialog->GetFieldText(p, u"port") + u'|';
  EXPECT_EQ(dialog->GetFieldText(2, u"productKey") + ports, u"  pk  1883|1883|1883|1883|1883|");
  EXPECT_EQ(dialog->GetFieldText(1, u"url") + dialog->GetFieldText(7, u"port"), u"");
  EXPECT_EQ(dialog->GetFieldComboSel(0, u"tls"), 0);
}

// One size and one pixel per band at the test's dpi (96 or 144); the faces asked for first. Runs
// again under a Chinese system language: Chinese faces, English texts.
TEST_F(MainDlgTest, SizeBandsAndFacesAtItsDpiAndSystemLanguage) {
  const bool dense = dialog->Dpi() == 144;
  ASSERT_TRUE(dense || dialog->Dpi() == 96) << dialog->Dpi();
  EXPECT_EQ(dialog->size(), dense ? QSize(1500, 1140) : QSize(1000, 760));
  const QImage image = dialog->grab().toImage();
  const std::pair<int, Rgb> bands[] = {
      {3, 0x0F3460}, {dense ? 81 : 54, 0x0969DA}, {dense ? 1062 : 708, 0xF8F9FB}};
  for (const auto& [y, colour] : bands) EXPECT_EQ(test::Rgb24(image, 500, y), colour) << y;
  const bool zh = QLocale::system().language() == QLocale::Chinese;
  const QString yahei = QStringLiteral("Microsoft YaHei UI");
  EXPECT_EQ(Face(dialog->Control(kIdUsbCombo)), zh ? yahei : QStringLiteral("Segoe UI"));
  EXPECT_EQ(Face(dialog->Control(kIdStatus)), zh ? yahei : QStringLiteral("Segoe UI Semibold"));
  EXPECT_EQ(dialog->Control(kIdConnectButton)->property("text"), QStringLiteral("Connect"));
}

// The program's own window: the device poll every second from the first show, the unlock once
// five seconds after its start, never early; Esc, Enter and the close box end the modal run.
TEST_F(MainDlgTest, ProgramTimersAndTheEndsOfTheModalRun) {
  const std::pair<std::function<void(CMainDlg&)>, int> cases[] = {
      {[](CMainDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
      {[](CMainDlg& d) { QTest::keyClick(&d, Qt::Key_Return); }, QDialog::Accepted},
      {[](CMainDlg& d) { d.close(); }, QDialog::Rejected}};
  for (const auto& [act, result] : cases) {
    QWidget owner;  // the window is always a top-level one
    CMainDlg modal(&owner, std::make_unique<test::FakeDeviceLister>(printers));
    EXPECT_EQ(modal.parentWidget(), nullptr);
    QString timers = Timers(modal) + u'/';
    int code = -1;
    EXPECT_TRUE(test::DriveNestedLoop([&] { code = modal.exec(); }, test::ActiveModal,
                                      [&](QWidget*) { timers += Timers(modal), act(modal); }));
    EXPECT_EQ(code, result);
    EXPECT_EQ(timers, QStringLiteral("5000 1 1 0|1000 0 0 0/5000 1 1 0|1000 0 0 1"));
  }
  dialog->close();
  QDirIterator files(qEnvironmentVariable("HOME"), QDir::Files | QDir::Hidden | QDir::System,
                     QDirIterator::Subdirectories);  // nothing under the user's folders
  while (files.hasNext())
    EXPECT_TRUE(files.next().contains(u"/runtime/")) << files.filePath().toStdString();
}

TEST(MainDlgDpi, SizeFontsAndLayoutFollowTheScreen) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  ASSERT_EQ(screens.size(), 2) << "needs the two-screen offscreen desktop";
  CMainDlg dialog(nullptr, std::make_unique<test::FakeDeviceLister>());
  dialog.show();
  ASSERT_TRUE(test::WaitUntil([&] { return dialog.windowHandle() && dialog.isVisible(); }, 5s));
  QScreen* normal = screens[0]->logicalDotsPerInch() < 100 ? screens[0] : screens[1];
  QScreen* dense = normal == screens[0] ? screens[1] : screens[0];
  dialog.windowHandle()->setScreen(normal);
  ASSERT_TRUE(test::WaitUntil([&] { return dialog.Dpi() == 96; }, 5s));
  QWidget* const combo = dialog.Control(kIdUsbCombo);
  // Chinese chosen: the fonts keep their face until the next dpi change.
  auto* language = qobject_cast<QComboBox*>(dialog.Control(kIdLanguageCombo));
  language->setCurrentIndex(1);
  emit language->activated(1);
  ASSERT_TRUE(dialog.IsChinese());
  EXPECT_EQ(Face(combo), QStringLiteral("Segoe UI"));
  dialog.resize(1003, 761);  // sizes that do not divide evenly: each length rounded on its own
  QApplication::processEvents();
  const std::tuple<QScreen*, int, QSize, QSize, int> steps[] = {
      {dense, 144, {1505, 1142}, {1290, 1050}, 54}, {normal, 96, {1003, 761}, {860, 700}, 36}};
  for (const auto& [screen, dpi, size, minimum, statusHeight] : steps) {
    dialog.windowHandle()->setScreen(screen);
    ASSERT_TRUE(test::WaitUntil([&, dpi = dpi] { return dialog.Dpi() == dpi; }, 5s));
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), size);
    EXPECT_EQ(dialog.minimumSize(), minimum);
    EXPECT_EQ(dialog.Control(kIdStatus)->height(), statusHeight);
    EXPECT_EQ(Face(combo) + Face(dialog.Control(kIdStatus)),
              QStringLiteral("Microsoft YaHei UIMicrosoft YaHei UI"));
    EXPECT_DOUBLE_EQ(combo->font().pointSizeF(), 9.5);
  }
}

}  // namespace
}  // namespace qm
