// SPDX-License-Identifier: MIT
// Layout checks of the main window against the layout rules.
#include "ui/LayoutExpectations.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "look/MainLayout.h"
#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/ElidedLabel.h"
#include "ui/TextMeasure.h"

namespace qm::test {
namespace {

Rect RectOf(const QWidget* w) { return Rect{w->x(), w->y(), w->width(), w->height()}; }

}  // namespace

void ExpectLayoutFollowsRules(CMainDlg& dialog) {
  const int dpi = dialog.Dpi();
  const QFont normal = dialog.Control(kIdUsbCombo)->font();
  const QFont semibold = dialog.Control(kIdStatus)->font();
  MainTextWidths texts;
  texts.languageLabel = MeasureTextWidth(&dialog, normal, QStringLiteral("Language:"));
  texts.simulatorCaption = MeasureTextWidth(&dialog, semibold, QStringLiteral("MQTT Simulator"));
  texts.usbLabel = MeasureTextWidth(&dialog, normal, QStringLiteral("USB:"));
  texts.connectCaption = MeasureTextWidth(&dialog, semibold, QStringLiteral("Connect"));
  const auto expected = ComputeMainLayout(dpi, Size{dialog.width(), dialog.height()}, texts);
  ASSERT_TRUE(expected.has_value());
  EXPECT_EQ(RectOf(dialog.Control(kIdStatus)), expected->status);
  EXPECT_EQ(RectOf(dialog.Control(kIdUsbCombo)), expected->usbCombo);
  EXPECT_EQ(RectOf(dialog.Control(kIdConnectButton)), expected->connectButton);
  EXPECT_EQ(RectOf(dialog.Control(kIdLanguageCombo)), expected->languageCombo);
  EXPECT_EQ(RectOf(dialog.Control(kIdSimulatorButton)), expected->simulatorButton);
  EXPECT_EQ(dialog.Control(kIdTab)->geometry().topLeft(), QPoint(expected->tab.x, expected->tab.y));
  EXPECT_EQ(dialog.PageCard().bottom(), expected->tab.bottom());

  const PageState& page = dialog.Page(dialog.CurrentPage());
  PageLayoutInput input;
  input.page = PageRectangle(dialog.PageCard(), dpi);
  for (const auto& field : page.fields) {
    const RowKind kind = field->prefix ? RowKind::PrefixedEdit : field->combo ? RowKind::Combo : RowKind::Edit;
    input.rows.push_back({kind, MeasureTextWidth(&dialog, normal, field->label->text())});
  }
  input.writeCaptionWidth = MeasureTextWidth(&dialog, semibold, page.writeButton->text());
  input.hasSelfTest = page.hasSelfTest;
  if (page.hasSelfTest) input.selfTestCaptionWidth = MeasureTextWidth(&dialog, semibold, page.selfTestButton->text());
  const auto rows = ComputePageLayout(dpi, input);
  ASSERT_TRUE(rows.has_value());
  for (std::size_t i = 0; i < page.fields.size(); ++i) {
    const FieldSpec& field = *page.fields[i];
    EXPECT_EQ(RectOf(field.label), rows->rows[i].label) << i;
    EXPECT_EQ(RectOf(field.combo ? static_cast<QWidget*>(field.combo) : field.edit), rows->rows[i].input) << i;
    if (field.prefix) {
      EXPECT_EQ(RectOf(field.prefix), rows->rows[i].prefix) << i;
    }
  }
  EXPECT_EQ(RectOf(page.writeButton), rows->writeButton);
  if (page.hasSelfTest) {
    EXPECT_EQ(RectOf(page.selfTestButton), rows->selfTestButton);
  }
}

}  // namespace qm::test
