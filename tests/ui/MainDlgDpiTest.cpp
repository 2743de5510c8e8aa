// SPDX-License-Identifier: MIT
// The main window moved to a screen of another dpi: fonts, minimum size and
// layout follow. Runs on an offscreen desktop of two screens (96 and 144 dpi).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "look/MainLayout.h"
#include "ui/CMainDlg.h"
#include "ui/LayoutExpectations.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using namespace std::chrono_literals;

TEST(MainDlgDpi, MovingToAScreenOfAnotherDpiRebuildsFontsAndLayout) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  ASSERT_EQ(screens.size(), 2) << "needs the two-screen offscreen desktop";
  CMainDlg dialog(nullptr, std::make_unique<test::FakeDeviceLister>(std::make_shared<test::FakePrinters>()));
  dialog.show();
  ASSERT_TRUE(test::WaitUntil([&] { return dialog.windowHandle() != nullptr && dialog.isVisible(); }, 5s));
  QScreen* const home = dialog.windowHandle()->screen();
  QScreen* const away = screens[0] == home ? screens[1] : screens[0];
  const int homeDpi = qRound(home->logicalDotsPerInch());
  const int awayDpi = qRound(away->logicalDotsPerInch());
  ASSERT_NE(homeDpi, awayDpi);
  ASSERT_EQ(dialog.Dpi(), homeDpi);
  const Size opened = MainInitialSize(homeDpi);
  EXPECT_EQ(dialog.size(), QSize(opened.width, opened.height));
  const auto textHeight = [&] { return QFontMetrics(dialog.Control(kIdUsbCombo)->font(), &dialog).height(); };
  const int homeTextHeight = textHeight();
  test::ExpectLayoutFollowsRules(dialog);

  for (const auto& [screen, dpi] : {std::pair{away, awayDpi}, std::pair{home, homeDpi}}) {
    SCOPED_TRACE(dpi);
    dialog.windowHandle()->setScreen(screen);
    ASSERT_TRUE(test::WaitUntil([&, target = dpi] { return dialog.Dpi() == target; }, 5s));
    QApplication::processEvents();
    // Fonts are made again for the new dpi: the same points, other pixels.
    const QFont normal = dialog.Control(kIdUsbCombo)->font();
    EXPECT_DOUBLE_EQ(normal.pointSizeF(), 9.5);
    if (dpi > homeDpi) {
      EXPECT_GT(textHeight(), homeTextHeight);
    } else if (dpi < homeDpi) {
      EXPECT_LT(textHeight(), homeTextHeight);
    } else {
      EXPECT_EQ(textHeight(), homeTextHeight);
    }
    // The window keeps its size in 96-dpi units.
    const Size opened96 = MainInitialSize(dpi);
    EXPECT_EQ(dialog.size(), QSize(opened96.width, opened96.height));
    const Size minimum = MainMinimumSize(dpi);
    EXPECT_EQ(dialog.minimumSize(), QSize(minimum.width, minimum.height));
    EXPECT_GE(dialog.width(), minimum.width);
    EXPECT_GE(dialog.height(), minimum.height);
    EXPECT_EQ(dialog.Control(kIdStatus)->height(), Scale(36, dpi));
    test::ExpectLayoutFollowsRules(dialog);
  }
}

}  // namespace
}  // namespace qm
