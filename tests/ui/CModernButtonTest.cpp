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
  int paints = 0;

  Shown(bool primary, const QString& caption) {
    button->SetPrimary(primary);
    button->setText(caption);
    button->SetDrawFont(&font);
    button->setGeometry(20, 20, 200, 40);
    host.show();
    EXPECT_TRUE(test::WaitUntil([&] { return button->isVisible(); }, std::chrono::seconds(5)));
  }
  QImage Grab() const { return button->grab().toImage(); }
};

TEST(CModernButton, PaintsFillAndTextColours) {
  for (const auto& [primary, enabled, fill, text] : {std::tuple{true, true, 0x03367Au, 0xFFFFFFu},
                                                     std::tuple{false, false, 0xF3F4F6u, 0x8C959Fu}}) {
    Shown f(primary, QStringLiteral("WWWW"));
    f.button->setEnabled(enabled);
    f.button->setDown(true);
    const QImage image = f.Grab();
    EXPECT_EQ(Rgb24(image, 12, 20), fill) << primary;  // away from caption and corners
    EXPECT_EQ(Rgb24(image, 188, 20), fill);
    EXPECT_TRUE(test::Draws(image, text, QRect(60, 10, 80, 20))) << "caption colour missing";
  }
}

TEST(CModernButton, HoverRepaintsOnceOnEnterAndOnceOnLeave) {
  Shown f(true, QStringLiteral("Go"));
  struct PaintCounter final : QObject {
    int* paints;
    explicit PaintCounter(int* p) : paints(p) {}
    bool eventFilter(QObject*, QEvent* event) override {
      *paints += event->type() == QEvent::Paint;
      return false;
    }
  } counter(&f.paints);
  f.button->installEventFilter(&counter);
  const auto moveTo = [&](int x) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 20), f.button->mapToGlobal(QPointF(x, 20)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f.button, &move);
    QApplication::processEvents();
  };
  QApplication::processEvents();
  f.paints = 0;
  for (int x = 30; x < 150; x += 10) moveTo(x);
  EXPECT_TRUE(f.button->IsHover());
  EXPECT_EQ(f.paints, 1);
  EXPECT_EQ(Rgb24(f.Grab(), 12, 20), 0x0550AEu);
  f.paints = 0;
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(f.button, &leave);
  QApplication::processEvents();
  EXPECT_FALSE(f.button->IsHover());
  EXPECT_EQ(f.paints, 1);
  EXPECT_EQ(Rgb24(f.Grab(), 12, 20), 0x0969DAu);
  moveTo(40);  // disabled under the mouse: keeps the hover flag, draws disabled
  f.button->setEnabled(false);
  EXPECT_TRUE(f.button->IsHover());
  EXPECT_EQ(Rgb24(f.Grab(), 12, 20), 0x94C2EAu);
}

// Focus from the mouse draws no rectangle; after keyboard focus a dotted one
// 3 px inside the edge inverts every other pixel, on both fills.
TEST(CModernButtonFocus, DottedRectangleInvertsEveryOtherPixelOnBothFills) {
  for (const auto& [primary, fill, inverted] :
       {std::tuple{true, 0x0969DAu, 0xF69625u}, std::tuple{false, 0xF6F8FAu, 0x090705u}}) {
    Shown f(primary, QStringLiteral("Write"));
    f.host.activateWindow();
    f.button->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::WaitUntil([&] { return f.button->hasFocus(); }, std::chrono::seconds(5)));
    EXPECT_FALSE(test::Draws(f.Grab(), inverted)) << primary;
    f.host.setAttribute(Qt::WA_KeyboardFocusChange, true);
    f.button->setFocus(Qt::TabFocusReason);
    f.button->update();
    QApplication::processEvents();
    const QImage image = f.Grab();
    test::MaybeSaveShot(image.scaled(image.size() * 4), QStringLiteral("focus-%1").arg(primary));
    // The outline (x 3..196, y 3..36; corners aside) in a checkerboard of
    // inverted pixels; the pixels just inside keep the fill.
    const int parity = Rgb24(image, 6, 3) == inverted ? 1 : 0;  // 6 + 3 is odd
    const auto outline = [&](int x, int y) { return (x + y) % 2 == parity ? inverted : fill; };
    for (int x = 6; x <= 193; ++x) {
      EXPECT_EQ(Rgb24(image, x, 3), outline(x, 3));
      EXPECT_EQ(Rgb24(image, x, 36), outline(x, 36));
      EXPECT_EQ(Rgb24(image, x, 4), fill);
    }
    for (int y = 6; y <= 33; ++y) {
      EXPECT_EQ(Rgb24(image, 3, y), outline(3, y));
      EXPECT_EQ(Rgb24(image, 196, y), outline(196, y));
      EXPECT_EQ(Rgb24(image, 4, y), fill);
    }
  }
}

}  // namespace
}  // namespace qm
