// SPDX-License-Identifier: MIT
#include "ui/CModernButton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QMouseEvent>
#include <QWidget>

#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using test::Rgb24;

// Counts the paints a widget receives.
class PaintCounter final : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

struct Fixture {
  QWidget host;
  CModernButton* button = new CModernButton(&host);
  QFont font{QStringLiteral("Noto Sans"), 10};

  Fixture(bool primary, const QString& caption) {
    button->SetPrimary(primary);
    button->setText(caption);
    button->SetDrawFont(&font);
    host.resize(300, 100);
    button->setGeometry(20, 20, 200, 40);
    host.show();
    test::WaitUntil([&] { return button->isVisible(); }, std::chrono::seconds(5));
  }
  QImage Grab() { return button->grab().toImage(); }
  void MoveMouseTo(int x) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 20), button->mapToGlobal(QPointF(x, 20)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
  }
};

TEST(CModernButton, PaintsFillBorderAndTextColours) {
  struct Case {
    bool primary;
    bool enabled;
    bool down;
    QRgb fill;
    QRgb text;
  };
  const Case cases[] = {
      {true, true, true, 0x03367A, 0xFFFFFF},
      {false, false, false, 0xF3F4F6, 0x8C959F},
  };
  for (const Case& c : cases) {
    Fixture f(c.primary, QStringLiteral("WWWW"));
    f.button->setEnabled(c.enabled);
    f.button->setDown(c.down);
    const QImage image = f.Grab();
    ASSERT_EQ(image.width(), 200);
    // Inside, away from the caption and the rounded corners: the fill.
    EXPECT_EQ(Rgb24(image, 12, 20), c.fill) << c.primary << c.enabled << c.down;
    EXPECT_EQ(Rgb24(image, 188, 20), c.fill);
    // The caption is drawn in the text colour somewhere in the middle.
    EXPECT_TRUE(test::Draws(image, c.text, QRect(60, 10, 80, 20))) << "caption colour missing";
  }
}

TEST(CModernButton, HoverRepaintsOnceOnEnterAndOnceOnLeave) {
  Fixture f(true, QStringLiteral("Go"));
  PaintCounter counter;
  f.button->installEventFilter(&counter);
  QApplication::processEvents();
  counter.paints = 0;

  for (int x = 30; x < 150; x += 10) {
    f.MoveMouseTo(x);
    QApplication::processEvents();
  }
  EXPECT_TRUE(f.button->IsHover());
  EXPECT_EQ(counter.paints, 1);
  EXPECT_EQ(Rgb24(f.Grab(), 12, 20), 0x0550AEu);

  counter.paints = 0;
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(f.button, &leave);
  QApplication::processEvents();
  EXPECT_FALSE(f.button->IsHover());
  EXPECT_EQ(counter.paints, 1);
  EXPECT_EQ(Rgb24(f.Grab(), 12, 20), 0x0969DAu);

  // Disabled under the mouse: keeps the hover flag, draws disabled.
  f.MoveMouseTo(40);
  f.button->setEnabled(false);
  EXPECT_TRUE(f.button->IsHover());
  EXPECT_EQ(Rgb24(f.Grab(), 12, 20), 0x94C2EAu);
}

TEST(CModernButton, FocusRectangleOnlyAfterKeyboardFocus) {
  Fixture f(false, QString());
  f.host.activateWindow();
  f.button->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  const QImage withoutCues = f.Grab();
  // Three pixels inside the edge nothing but the fill while cues are hidden.
  for (int x = 20; x < 180; x += 7) EXPECT_EQ(Rgb24(withoutCues, x, 3), 0xF6F8FAu);

  f.host.setAttribute(Qt::WA_KeyboardFocusChange, true);
  f.button->update();
  QApplication::processEvents();
  const QImage withCues = f.Grab();
  int marked = 0;
  for (int x = 20; x < 180; ++x) marked += Rgb24(withCues, x, 3) != 0xF6F8FAu ? 1 : 0;
  EXPECT_GT(marked, 20) << "focus rectangle missing at 3 px inside";
  for (int x = 20; x < 180; x += 7) EXPECT_EQ(Rgb24(withCues, x, 1), 0xF6F8FAu);
}

}  // namespace
}  // namespace qm
