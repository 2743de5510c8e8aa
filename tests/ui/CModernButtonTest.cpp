// SPDX-License-Identifier: MIT
#include "ui/CModernButton.h"

#include <gtest/gtest.h>

#include <QTest>

#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using test::Rgb24;

struct Shown {
  QWidget host;
  CModernButton* button = new CModernButton(&host);

  explicit Shown(bool primary) {
    button->SetPrimary(primary);
    button->setText(QStringLiteral("WWWW"));
    button->setGeometry(20, 20, 200, 40);
    host.show();
    EXPECT_TRUE(test::WaitUntil([&] { return button->isVisible(); }, std::chrono::seconds(5)));
  }
  QImage Image() const { return button->grab().toImage(); }
};

// Primary fill per state as the mouse comes and goes; disabled under the mouse it keeps hover.
TEST(CModernButton, FillPerState) {
  Shown f(true);
  EXPECT_TRUE(test::Draws(f.Image(), 0xFFFFFF, QRect(60, 10, 80, 20)));  // the caption
  QEvent leave(QEvent::Leave);
  const std::tuple<std::function<void()>, bool, QRgb> steps[] = {
      {[&] {
         QTest::mouseMove(f.button, {10, 20});
       },
       true, 0x0550AE},
      {[&] { QCoreApplication::sendEvent(f.button, &leave); }, false, 0x0969DA},
      {[&] { f.button->setDown(true); }, false, 0x03367A},
      {[&] {
         f.button->setDown(false), QTest::mouseMove(f.button, {30, 20});
       },
       true, 0x0550AE},
      {[&] { f.button->setEnabled(false); }, true, 0x94C2EA}};
  for (const auto& [act, hover, fill] : steps) {
    act();
    EXPECT_EQ(std::pair(f.button->IsHover(), Rgb24(f.Image(), 12, 20)), std::pair(hover, fill));
  }
}

// Keyboard focus only: every other pixel of x 3..196, y 3..36 inverted, corners aside.
TEST(CModernButtonFocus, DottedRectangleInvertsEveryOtherPixelOnBothFills) {
  for (const auto& [primary, fill, inverted] :
       {std::tuple{true, 0x0969DAu, 0xF69625u}, std::tuple{false, 0xF6F8FAu, 0x090705u}}) {
    Shown f(primary);
    f.host.activateWindow();
    f.button->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::WaitUntil([&] { return f.button->hasFocus(); }, std::chrono::seconds(5)));
    EXPECT_FALSE(test::Draws(f.Image(), inverted)) << primary;
    f.host.setAttribute(Qt::WA_KeyboardFocusChange, true);
    const QImage image = f.Image();
    const int parity = Rgb24(image, 6, 3) == inverted;  // 6 + 3 is odd
    std::string wrong;
    const auto check = [&](int x, int y) {
      if (Rgb24(image, x, y) != (x == 4 || y == 4 || (x + y) % 2 != parity ? fill : inverted))
        wrong += std::to_string(x) + "," + std::to_string(y) + " ";
    };
    for (int i = 6; i <= 193; ++i) check(i, 3), check(i, 36), check(i, 4);
    for (int i = 6; i <= 33; ++i) check(3, i), check(196, i), check(4, i);
    EXPECT_EQ(wrong, "") << primary;
  }
}

}  // namespace
}  // namespace qm
