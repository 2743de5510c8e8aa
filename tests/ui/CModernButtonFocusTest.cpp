// SPDX-License-Identifier: MIT
// The focus rectangle of the flat button: dotted, inverting what lies under it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "ui/CModernButton.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using test::Rgb24;

TEST(CModernButtonFocus, DottedRectangleInvertsEveryOtherPixelOnBothFills) {
  struct Case {
    bool primary;
    QRgb fill;
    QRgb inverted;
  };
  const Case cases[] = {{true, 0x0969DA, 0xF69625}, {false, 0xF6F8FA, 0x090705}};
  for (const Case& c : cases) {
    QWidget host;
    auto* button = new CModernButton(&host);
    button->SetPrimary(c.primary);
    button->setText(QStringLiteral("Write"));
    host.resize(240, 80);
    button->setGeometry(20, 20, 200, 40);
    host.show();
    host.activateWindow();
    host.setAttribute(Qt::WA_KeyboardFocusChange, true);
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(test::WaitUntil([&] { return button->hasFocus(); }, std::chrono::seconds(5)));
    const QImage image = button->grab().toImage();
    const QString shot = c.primary ? QStringLiteral("focus-primary") : QStringLiteral("focus-secondary");
    test::MaybeSaveShot(image.scaled(image.size() * 4), shot);
    // The outline 3 px inside the edge (x 3..196, y 3..36), corners aside:
    // one pixel in two inverted, in a checkerboard; the row and column inside
    // it keep the fill.
    const int parity = Rgb24(image, 6, 3) == c.inverted ? 1 : 0;  // 6 + 3 is odd
    auto expected = [&](int x, int y) { return (x + y) % 2 == parity ? c.inverted : c.fill; };
    for (int x = 6; x <= 193; ++x) {
      for (int y : {3, 36}) EXPECT_EQ(Rgb24(image, x, y), expected(x, y)) << x << "," << y;
      EXPECT_EQ(Rgb24(image, x, 4), c.fill) << x;
    }
    for (int y = 6; y <= 33; ++y) {
      for (int x : {3, 196}) EXPECT_EQ(Rgb24(image, x, y), expected(x, y)) << x << "," << y;
      EXPECT_EQ(Rgb24(image, 4, y), c.fill) << y;
    }
  }
}

}  // namespace
}  // namespace qm
