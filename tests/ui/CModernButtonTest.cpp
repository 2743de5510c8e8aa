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
  void Send(QEvent&& event) const {
    QApplication::sendEvent(button, &event);
    QApplication::processEvents();
  }
  QImage Image() const { return button->grab().toImage(); }
};

// The fill of each state (primary style) off the caption and the corners;
// disabled under the mouse, the button keeps its hover flag.
TEST(CModernButton, FillPerState) {
  Shown f(true);
  EXPECT_TRUE(test::Draws(f.Image(), 0xFFFFFF, QRect(60, 10, 80, 20)));  // the caption
  const auto move = [&f](int x) {
    f.Send(QMouseEvent(QEvent::MouseMove, QPointF(x, 20), f.button->mapToGlobal(QPointF(x, 20)),
                       Qt::NoButton, Qt::NoButton, Qt::NoModifier));
  };
  const std::tuple<std::function<void()>, bool, QRgb> steps[] = {
      {[&] { move(30); }, true, 0x0550AE},
      {[&] { f.Send(QEvent(QEvent::Leave)); }, false, 0x0969DA},
      {[&] { f.button->setDown(true); }, false, 0x03367A},
      {[&] { f.button->setDown(false), move(40), f.button->setEnabled(false); }, true, 0x94C2EA}};
  for (const auto& [act, hover, fill] : steps) {
    act();
    EXPECT_EQ(f.button->IsHover(), hover);
    EXPECT_EQ(Rgb24(f.Image(), 12, 20), fill);
  }
}

// Focus from the mouse draws no rectangle; after keyboard focus a dotted one
// 3 px inside the edge (x 3..196, y 3..36; corners aside) inverts every other
// pixel, on both fills, and the pixels just inside keep the fill.
TEST(CModernButtonFocus, DottedRectangleInvertsEveryOtherPixelOnBothFills) {
  for (const auto& [primary, fill, inverted] :
       {std::tuple{true, 0x0969DAu, 0xF69625u}, std::tuple{false, 0xF6F8FAu, 0x090705u}}) {
    Shown f(primary);
    f.host.activateWindow();
    f.button->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::WaitUntil([&] { return f.button->hasFocus(); }, std::chrono::seconds(5)));
    EXPECT_FALSE(test::Draws(f.Image(), inverted)) << primary;
    f.host.setAttribute(Qt::WA_KeyboardFocusChange, true);
    f.button->setFocus(Qt::TabFocusReason);
    f.button->update();
    QApplication::processEvents();
    const QImage image = f.Image();
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
