// SPDX-License-Identifier: MIT
// The main window as built: controls, look, layout and ending.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/ElidedLabel.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using test::Rgb24;

class MainDlgTest : public test::ShownMainDlg {};

QRect RectOf(const QWidget* w) { return w->geometry(); }

TEST(MainDlgConstruction, CreatesNoControlsUntilShown) {
  QWidget parent;
  CMainDlg dialog(&parent, std::make_unique<test::FakeDeviceLister>(std::make_shared<test::FakePrinters>()));
  EXPECT_EQ(dialog.parentWidget(), nullptr);  // always a top-level window
  EXPECT_FALSE(dialog.IsInitialized());
  EXPECT_EQ(dialog.Control(kIdTab), nullptr);
  EXPECT_EQ(dialog.StatusColor(), 0x374151u);
}

TEST_F(MainDlgTest, HeaderTextsAndMissingRows) {
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quillmark  V16"));
  auto* tab = qobject_cast<QTabBar*>(dialog->Control(kIdTab));
  ASSERT_EQ(tab->count(), 5);
  EXPECT_EQ(tab->tabText(2), QStringLiteral("  Printer Tencent Cloud  "));
  auto* language = qobject_cast<QComboBox*>(dialog->Control(kIdLanguageCombo));
  EXPECT_EQ(language->itemText(1), QString::fromUtf16(u"中文"));
  EXPECT_EQ(dialog->Control(kIdSimulatorButton)->property("text"), QStringLiteral("MQTT Simulator"));
  EXPECT_EQ(dialog->Control(kIdConnectButton)->property("text"), QStringLiteral("Connect"));
  // A missing row reads as an empty text or index 0; typed text as typed.
  EXPECT_EQ(dialog->GetFieldComboSel(0, u"tls"), 0);
  EXPECT_EQ(dialog->GetFieldText(1, u"url"), u"");
  EXPECT_EQ(dialog->GetFieldText(7, u"port"), u"");
  EXPECT_EQ(dialog->GetFieldText(2, u"port"), u"1883");
  test::FindField(dialog->Page(2), u"productKey")->edit->setText(QStringLiteral("  pk  "));
  EXPECT_EQ(dialog->GetFieldText(2, u"productKey"), u"  pk  ");
}

TEST_F(MainDlgTest, LockedPagesShowPageZeroWithGreyLabels) {
  for (int p = 0; p < 5; ++p) {
    for (const auto& field : dialog->Page(p).fields) {
      QWidget* input = field->combo ? static_cast<QWidget*>(field->combo) : field->edit;
      EXPECT_EQ(input->isVisible(), p == 0) << p;
      EXPECT_FALSE(input->isEnabled()) << p;
      EXPECT_EQ(field->label->isVisible(), p == 0) << p;
    }
    EXPECT_EQ(dialog->Page(p).writeButton->isVisible(), p == 0);
    if (dialog->Page(p).caButton) {
      EXPECT_FALSE(dialog->Page(p).caButton->isVisible());
    }
  }
  // The drawn label is grey: its darkest pixel is the locked colour.
  const QImage image = dialog->grab().toImage();
  const QRect label = dialog->Page(0).fields[0]->label->geometry();
  const auto lightness = [](QRgb c) { return qRed(c) + qGreen(c) + qBlue(c); };
  QRgb darkest = 0xFFFFFF;
  for (int x = label.left(); x <= label.right(); ++x) {
    for (int y = label.top(); y <= label.bottom(); ++y) {
      if (lightness(Rgb24(image, x, y)) < lightness(darkest)) darkest = Rgb24(image, x, y);
    }
  }
  EXPECT_EQ(darkest, 0x9CA3AFu);
}

// The window opens at 1000 x 760 (96 dpi units), paints its bands and puts
// its controls where the layout rules say; runs at 96 and at 144 dpi.
TEST_F(MainDlgTest, SizeBandsAndPlacesAtItsDpi) {
  struct Expect {
    int dpi;
    QSize size, minimum;
    int accentTop, headerEnd, separator, band;
    QRect status, usbCombo, connect;
  };
  const Expect table[] = {
      {96, {1000, 760}, {860, 700}, 54, 56, 706, 708, {12, 712, 472, 36}, {532, 717, 360, 26},
       {900, 716, 88, 28}},
      {144, {1500, 1140}, {1290, 1050}, 81, 84, 1059, 1062, {18, 1068, 708, 54}, {798, 1075, 540, 39},
       {1350, 1074, 132, 42}},
  };
  const Expect* e = nullptr;
  for (const Expect& row : table) e = row.dpi == dialog->Dpi() ? &row : e;
  ASSERT_NE(e, nullptr) << dialog->Dpi();
  EXPECT_EQ(dialog->size(), e->size);
  EXPECT_EQ(dialog->minimumSize(), e->minimum);
  const QImage image = dialog->grab().toImage();
  test::MaybeSaveShot(image, QStringLiteral("main-en-%1dpi").arg(e->dpi));
  const int mid = e->size.width() / 2;
  EXPECT_EQ(Rgb24(image, 3, 3), 0x0F3460u);
  EXPECT_EQ(Rgb24(image, mid, e->accentTop - 1), 0x0F3460u);
  EXPECT_EQ(Rgb24(image, mid, e->accentTop), 0x0969DAu);
  EXPECT_EQ(Rgb24(image, mid, e->headerEnd - 1), 0x0969DAu);
  EXPECT_EQ(Rgb24(image, mid, e->headerEnd), 0xF5F7FAu);
  EXPECT_EQ(Rgb24(image, mid, e->separator), 0xD1D5DBu);
  EXPECT_EQ(Rgb24(image, 5, e->band - 1), 0xF5F7FAu);
  EXPECT_EQ(Rgb24(image, 5, e->band), 0xF8F9FBu);
  EXPECT_EQ(RectOf(dialog->Control(kIdStatus)), e->status);
  EXPECT_EQ(RectOf(dialog->Control(kIdUsbCombo)), e->usbCombo);
  EXPECT_EQ(RectOf(dialog->Control(kIdConnectButton)), e->connect);
  dialog->resize(100, 100);  // below the minimum the window does not go
  QApplication::processEvents();
  EXPECT_EQ(dialog->size(), e->minimum);
}

TEST_F(MainDlgTest, FontsAskForTheNamedFacesFirst) {
  const bool chineseSystem = QLocale::system().language() == QLocale::Chinese;
  EXPECT_EQ(dialog->Control(kIdUsbCombo)->font().families().value(0),
            chineseSystem ? QStringLiteral("Microsoft YaHei UI") : QStringLiteral("Segoe UI"));
  EXPECT_EQ(dialog->Control(kIdStatus)->font().families().value(0),
            chineseSystem ? QStringLiteral("Microsoft YaHei UI") : QStringLiteral("Segoe UI Semibold"));
  EXPECT_DOUBLE_EQ(dialog->Control(kIdUsbCombo)->font().pointSizeF(), 9.5);
  // The texts stay English whatever the system language.
  EXPECT_EQ(dialog->Control(kIdConnectButton)->property("text").toString(), QStringLiteral("Connect"));
}

TEST_F(MainDlgTest, EscEnterAndTheCloseBoxEndTheModalRun) {
  const std::pair<std::function<void(CMainDlg&)>, int> cases[] = {
      {[](CMainDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
      {[](CMainDlg& d) { QTest::keyClick(&d, Qt::Key_Return); }, QDialog::Accepted},
      {[](CMainDlg& d) { d.close(); }, QDialog::Rejected},
  };
  for (const auto& [act, result] : cases) {
    CMainDlg modal(nullptr, std::make_unique<test::FakeDeviceLister>(printers));
    QTimer::singleShot(200, &modal, [&] { act(modal); });
    QTimer::singleShot(20000, &modal, [&] { modal.done(99); });
    EXPECT_EQ(modal.exec(), result);
  }
  dialog->close();
  QStringList written;  // nothing under the user's folders
  for (const QString& file : test::FilesUnderScratchHome()) {
    if (!file.contains(QStringLiteral("/runtime/"))) written << file;
  }
  EXPECT_TRUE(written.isEmpty()) << written.join(QStringLiteral(", ")).toStdString();
}

}  // namespace
}  // namespace qm
