// SPDX-License-Identifier: MIT
// The main window moved to a screen of another dpi: size, fonts and layout
// follow. Runs on an offscreen desktop of two screens (96 and 144 dpi).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "ui/CMainDlg.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using namespace std::chrono_literals;

TEST(MainDlgDpi, SizeFontsAndLayoutFollowTheScreen) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  ASSERT_EQ(screens.size(), 2) << "needs the two-screen offscreen desktop";
  CMainDlg dialog(nullptr, std::make_unique<test::FakeDeviceLister>(std::make_shared<test::FakePrinters>()));
  dialog.show();
  ASSERT_TRUE(test::WaitUntil([&] { return dialog.windowHandle() != nullptr && dialog.isVisible(); }, 5s));
  QScreen* normal = screens[0]->logicalDotsPerInch() < 100 ? screens[0] : screens[1];
  QScreen* dense = normal == screens[0] ? screens[1] : screens[0];
  dialog.windowHandle()->setScreen(normal);
  ASSERT_TRUE(test::WaitUntil([&] { return dialog.Dpi() == 96; }, 5s));
  const auto font = [&] { return dialog.Control(kIdUsbCombo)->font(); };
  const int height96 = QFontMetrics(font(), &dialog).height();
  // Chinese chosen: the fonts keep their face until the next dpi change.
  auto* language = qobject_cast<QComboBox*>(dialog.Control(kIdLanguageCombo));
  language->setCurrentIndex(1);
  emit language->activated(1);
  ASSERT_TRUE(dialog.IsChinese());
  EXPECT_EQ(font().families().value(0), QStringLiteral("Segoe UI"));
  // Sizes that do not divide evenly: each length is rounded on its own.
  dialog.resize(1003, 761);
  QApplication::processEvents();
  struct Step {
    QScreen* screen;
    int dpi;
    QSize size, minimum;
    int statusHeight;
  };
  const Step steps[] = {{dense, 144, {1505, 1142}, {1290, 1050}, 54},
                        {normal, 96, {1003, 761}, {860, 700}, 36}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.dpi);
    dialog.windowHandle()->setScreen(s.screen);
    ASSERT_TRUE(test::WaitUntil([&] { return dialog.Dpi() == s.dpi; }, 5s));
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), s.size);
    EXPECT_EQ(dialog.minimumSize(), s.minimum);
    EXPECT_EQ(dialog.Control(kIdStatus)->height(), s.statusHeight);
    EXPECT_EQ(dialog.Control(kIdConnectButton)->geometry().right() + 1, s.size.width() - s.statusHeight / 3);
    EXPECT_EQ(font().families().value(0), QStringLiteral("Microsoft YaHei UI"));
    EXPECT_EQ(dialog.Control(kIdStatus)->font().families().value(0), QStringLiteral("Microsoft YaHei UI"));
    EXPECT_DOUBLE_EQ(font().pointSizeF(), 9.5);
    const int height = QFontMetrics(font(), &dialog).height();
    EXPECT_TRUE(s.dpi > 96 ? height > height96 : height <= height96 + 4) << height;
  }
}

}  // namespace
}  // namespace qm
