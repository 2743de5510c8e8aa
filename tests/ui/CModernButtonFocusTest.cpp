// SPDX-License-Identifier: MIT
// The focus rectangle of the flat button: dotted, inverting what lies under it.
#include <gtest/gtest.h>

#include <QWidget>

#include "ui/CModernButton.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

TEST(CModernButtonFocus, DottedRectangleInvertsEveryOtherPixelOnBothFills) {
  for (const auto& [primary, fill, inverted] :
       {std::tuple{true, 0x0969DAu, 0xF69625u}, std::tuple{false, 0xF6F8FAu, 0x090705u}}) {
    QWidget host;
    auto* button = new CModernButton(&host);
    button->SetPrimary(primary);
    button->setText(QStringLiteral("Write"));
    button->setGeometry(20, 20, 200, 40);
    host.show();
    host.activateWindow();
    host.setAttribute(Qt::WA_KeyboardFocusChange, true);
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(test::WaitUntil([&] { return button->hasFocus(); }, std::chrono::seconds(5)));
    const QImage image = button->grab().toImage();
    test::MaybeSaveShot(image.scaled(image.size() * 4),
                        primary ? QStringLiteral("focus-primary") : QStringLiteral("focus-secondary"));
    // The outline 3 px inside the edge (x 3..196, y 3..36; corners aside) in
    // a checkerboard of inverted pixels; the pixels just inside keep the fill.
    const int parity = test::Rgb24(image, 6, 3) == inverted ? 1 : 0;  // 6 + 3 is odd
    const auto pixel = [&](int x, int y) { return test::Rgb24(image, x, y); };
    const auto outline = [&](int x, int y) { return (x + y) % 2 == parity ? inverted : fill; };
    for (int x = 6; x <= 193; ++x) {
      EXPECT_EQ(pixel(x, 3), outline(x, 3));
      EXPECT_EQ(pixel(x, 36), outline(x, 36));
      EXPECT_EQ(pixel(x, 4), fill);
    }
    for (int y = 6; y <= 33; ++y) {
      EXPECT_EQ(pixel(3, y), outline(3, y));
      EXPECT_EQ(pixel(196, y), outline(196, y));
      EXPECT_EQ(pixel(4, y), fill);
    }
  }
}

}  // namespace
}  // namespace qm
