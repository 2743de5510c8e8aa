// SPDX-License-Identifier: MIT
#include "ui/CModernButton.h"

#include <QTest>

#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using test::Rgb24;

// Keyboard focus only: every other pixel of x 3..196, y 3..36 inverted, corners aside.
TEST(CModernButton, FocusRectangleInvertsEveryOtherPixelOnBothFills) {
  for (const auto& [primary, fill, inverted] :
       {std::tuple{true, 0x0969DAu, 0xF69625u}, std::tuple{false, 0xF6F8FAu, 0x090705u}}) {
    QWidget host;
    auto* button = new CModernButton(&host);
    button->SetPrimary(primary);
    button->setText(QStringLiteral("WWWW"));
    button->setGeometry(20, 20, 200, 40);
    host.show();
    host.activateWindow();
    button->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::WaitUntil([&] { return button->hasFocus(); }, std::chrono::seconds(5)));
    EXPECT_FALSE(test::Draws(button->grab().toImage(), inverted)) << primary;  // mouse focus
    host.setAttribute(Qt::WA_KeyboardFocusChange, true);
    const QImage image = button->grab().toImage();
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

// The mouse moved onto the button and off it again through the window: the hover fill comes
// with the first move over it and goes when the mouse leaves, for either style.
TEST(CModernButton, HoverLookComesWithTheMouseAndGoesWhenItLeaves) {
  for (const auto& [primary, normal, hover] :
       {std::tuple{true, 0x0969DAu, 0x0550AEu}, std::tuple{false, 0xF6F8FAu, 0xEAEEF2u}}) {
    QWidget host;
    host.resize(300, 100);
    auto* button = new CModernButton(&host);
    button->SetPrimary(primary);
    button->setGeometry(20, 20, 200, 40);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QTest::mouseMove(&host, {280, 90});
    std::vector<std::pair<bool, QRgb>> seen{
        {button->IsHover(), Rgb24(button->grab().toImage(), 12, 20)}};
    for (const QPoint at : {QPoint(40, 40), QPoint(120, 45), QPoint(280, 90)}) {
      QTest::mouseMove(&host, at);
      seen.emplace_back(button->IsHover(), Rgb24(button->grab().toImage(), 12, 20));
    }
    EXPECT_EQ(seen, (std::vector<std::pair<bool, QRgb>>{
                        {false, normal}, {true, hover}, {true, hover}, {false, normal}}))
        << primary;
  }
}

}  // namespace
}  // namespace qm
