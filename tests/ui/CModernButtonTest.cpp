// SPDX-License-Identifier: MIT
#include "ui/CModernButton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using test::Rgb24;

struct Shown {
  QWidget host;
  CModernButton* button = new CModernButton(&host);
  QFont font{QStringLiteral("Noto Sans"), 10};

  explicit Shown(bool primary) {
    button->SetPrimary(primary);
    button->setText(QStringLiteral("WWWW"));
    button->SetDrawFont(&font);
    button->setGeometry(20, 20, 200, 40);
    host.show();
    EXPECT_TRUE(test::WaitUntil([&] { return button->isVisible(); }, std::chrono::seconds(5)));
  }
  QRgb Fill() const { return Rgb24(button->grab().toImage(), 12, 20); }  // off caption, corners
};

// The fill of each state (primary style), the caption white.
TEST(CModernButton, FillPerState) {
  Shown f(true);
  EXPECT_TRUE(test::Draws(f.button->grab().toImage(), 0xFFFFFF, QRect(60, 10, 80, 20)));
  const auto moveTo = [&](int x) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 20), f.button->mapToGlobal(QPointF(x, 20)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f.button, &move);
    QApplication::processEvents();
  };
  moveTo(30);
  EXPECT_TRUE(f.button->IsHover());
  EXPECT_EQ(f.Fill(), 0x0550AEu);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(f.button, &leave);
  QApplication::processEvents();
  EXPECT_FALSE(f.button->IsHover());
  EXPECT_EQ(f.Fill(), 0x0969DAu);
  f.button->setDown(true);
  EXPECT_EQ(f.Fill(), 0x03367Au);
  f.button->setDown(false);
  moveTo(40);  // disabled under the mouse: keeps the hover flag, draws disabled
  f.button->setEnabled(false);
  EXPECT_TRUE(f.button->IsHover());
  EXPECT_EQ(f.Fill(), 0x94C2EAu);
}

// Focus from the mouse draws no rectangle; after keyboard focus a dotted one
// 3 px inside the edge inverts every other pixel, on both fills.
TEST(CModernButtonFocus, DottedRectangleInvertsEveryOtherPixelOnBothFills) {
  for (const auto& [primary, fill, inverted] :
       {std::tuple{true, 0x0969DAu, 0xF69625u}, std::tuple{false, 0xF6F8FAu, 0x090705u}}) {
    Shown f(primary);
    f.host.activateWindow();
    f.button->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::WaitUntil([&] { return f.button->hasFocus(); }, std::chrono::seconds(5)));
    EXPECT_FALSE(test::Draws(f.button->grab().toImage(), inverted)) << primary;
    f.host.setAttribute(Qt::WA_KeyboardFocusChange, true);
    f.button->setFocus(Qt::TabFocusReason);
    f.button->update();
    QApplication::processEvents();
    const QImage image = f.button->grab().toImage();
    // The outline (x 3..196, y 3..36; corners aside) in a checkerboard of
    // inverted pixels; the pixels just inside keep the fill.
    const int parity = Rgb24(image, 6, 3) == inverted ? 1 : 0;  // 6 + 3 is odd
    const auto outline = [&](int x, int y) { return (x + y) % 2 == parity ? inverted : fill; };
    for (int x = 6; x <= 193; ++x) {
      for (int y : {3, 36}) EXPECT_EQ(Rgb24(image, x, y), outline(x, y)) << x << "," << y;
      EXPECT_EQ(Rgb24(image, x, 4), fill);
    }
    for (int y = 6; y <= 33; ++y) {
      for (int x : {3, 196}) EXPECT_EQ(Rgb24(image, x, y), outline(x, y)) << x << "," << y;
      EXPECT_EQ(Rgb24(image, 4, y), fill);
    }
  }
}

}  // namespace
}  // namespace qm
