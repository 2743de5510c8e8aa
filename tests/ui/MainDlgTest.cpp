// SPDX-License-Identifier: MIT
// The main window as built: controls, ids, pages, look, layout and ending.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "look/MainLayout.h"
#include "ui/CMainDlg.h"
#include "ui/CModernButton.h"
#include "ui/ElidedLabel.h"
#include "ui/LayoutExpectations.h"
#include "ui/UiTestSupport.h"

namespace qm {
namespace {

using test::Rgb24;

struct Row {
  const char16_t* key;
  bool combo;
  const char16_t* labelEn;
  const char16_t* labelZh;
  const char16_t* text;  // default text, or the first item of a drop-down
  bool prefix;
};

const std::vector<Row> kAlibabaRows = {
    {u"productKey", false, u"ProductKey :", u"", u"", false},
    {u"deviceName", false, u"DeviceName :", u"", u"", false},
    {u"deviceSecret", false, u"DeviceSecret :", u"", u"", false},
    {u"url", false, u"Alibaba Cloud URL :", u"阿里云 URL：", u"", false},
    {u"port", false, u"MQTT port :", u"MQTT端口：", u"1883", false},
    {u"service", true, u"Instance type :", u"实例类型：", u"New instance", false},
    {u"subTopic", false, u"Subscribe topic :", u"订阅主题：", u"", true},
    {u"pubTopic", false, u"Publish topic :", u"发布主题：", u"", true},
};
const std::vector<Row> kSelfHostedRows = {
    {u"clientId", false, u"clientID / SN", u"", u"", false},
    {u"domain", false, u"domain / IP", u"", u"", false},
    {u"port", false, u"port", u"", u"1883", false},
    {u"username", false, u"username", u"", u"", false},
    {u"password", false, u"password", u"", u"", false},
    {u"subTopic", false, u"sub_topic", u"", u"", false},
    {u"pubTopic", false, u"pub_topic", u"", u"", false},
    {u"tls", true, u"TLS", u"TLS", u"Disable TLS", false},
    {u"cleanSession", true, u"Clean Session", u"", u"Clear offline messages", false},
};
const std::vector<Row> kTencentRows = {
    {u"productKey", false, u"ProductKey :", u"", u"", false},
    {u"deviceName", false, u"DeviceName :", u"", u"", false},
    {u"deviceSecret", false, u"DeviceSecret :", u"", u"", false},
    {u"port", false, u"MQTT port :", u"MQTT端口：", u"1883", false},
    {u"subTopic", false, u"Subscribe topic :", u"订阅主题：", u"", false},
    {u"pubTopic", false, u"Publish topic :", u"发布主题：", u"", false},
};

// The rows take the ids from firstId on, in display order; id 0: no such button.
struct PageExpect {
  const std::vector<Row>& rows;
  int firstId;
  int caId;
  int selfTestId;
  int writeId;
  bool cloudBox;
};

const PageExpect kPages[] = {
    {kAlibabaRows, 2000, 0, 2008, 2009, false}, {kSelfHostedRows, 2010, 2019, 2020, 2021, false},
    {kTencentRows, 2022, 0, 2028, 2029, false}, {kSelfHostedRows, 2030, 2039, 0, 2040, true},
    {kAlibabaRows, 2041, 0, 2049, 2050, true},
};

class MainDlgTest : public test::ShownMainDlg {};

TEST(MainDlgConstruction, CreatesNoControlsUntilShown) {
  CMainDlg dialog(nullptr, std::make_unique<test::FakeDeviceLister>(std::make_shared<test::FakePrinters>()));
  EXPECT_FALSE(dialog.IsInitialized());
  EXPECT_EQ(dialog.NextControlId(), 2000);
  EXPECT_EQ(dialog.Control(kIdTab), nullptr);
  EXPECT_TRUE(dialog.Page(0).fields.empty());
  EXPECT_EQ(dialog.StatusColor(), 0x374151u);
  EXPECT_FALSE(dialog.IsChinese());
  // Always a top-level window, whatever parent is passed.
  QWidget parent;
  CMainDlg child(&parent, std::make_unique<test::FakeDeviceLister>(std::make_shared<test::FakePrinters>()));
  EXPECT_EQ(child.parentWidget(), nullptr);
}

TEST_F(MainDlgTest, HeaderControlsCarryTheirIdsAndTexts) {
  EXPECT_TRUE(dialog->IsInitialized());
  EXPECT_EQ(dialog->NextControlId(), 2051);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quillmark  V16"));
  const QList<QSize> iconSizes = dialog->windowIcon().availableSizes();
  for (int side : {16, 32, 48, 256}) EXPECT_TRUE(iconSizes.contains(QSize(side, side))) << side;
  auto* tab = qobject_cast<QTabBar*>(dialog->Control(kIdTab));
  ASSERT_NE(tab, nullptr);
  ASSERT_EQ(tab->count(), 5);
  const QString tabs[] = {QStringLiteral("  Printer Alibaba Cloud  "), QStringLiteral("  Printer Self-hosted  "),
                          QStringLiteral("  Printer Tencent Cloud  "), QStringLiteral("  Box Self-hosted  "),
                          QStringLiteral("  Box Alibaba  ")};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tab->tabText(i), tabs[i]);
  EXPECT_EQ(tab->currentIndex(), 0);
  EXPECT_EQ(tab->focusPolicy(), Qt::NoFocus);
  EXPECT_NE(qobject_cast<ElidedLabel*>(dialog->Control(kIdStatus)), nullptr);
  auto* language = qobject_cast<QComboBox*>(dialog->Control(kIdLanguageCombo));
  ASSERT_NE(language, nullptr);
  EXPECT_EQ(language->count(), 2);
  EXPECT_EQ(language->itemText(0), QStringLiteral("English"));
  EXPECT_EQ(language->itemText(1), QString::fromUtf16(u"中文"));
  EXPECT_EQ(language->currentIndex(), 0);
  auto* simulator = qobject_cast<CModernButton*>(dialog->Control(kIdSimulatorButton));
  ASSERT_NE(simulator, nullptr);
  EXPECT_EQ(simulator->text(), QStringLiteral("MQTT Simulator"));
  EXPECT_FALSE(simulator->IsPrimary());
  EXPECT_NE(qobject_cast<QComboBox*>(dialog->Control(kIdUsbCombo)), nullptr);
  auto* connect = qobject_cast<CModernButton*>(dialog->Control(kIdConnectButton));
  ASSERT_NE(connect, nullptr);
  EXPECT_TRUE(connect->IsPrimary());
  EXPECT_EQ(connect->text(), QStringLiteral("Connect"));

  QStringList headerTexts;
  for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (ControlIdOf(child) == kIdHeaderStatic) headerTexts << qobject_cast<QLabel*>(child)->text();
  }
  EXPECT_EQ(headerTexts, (QStringList{QStringLiteral("  VARNO  Quillmark  V16"), QStringLiteral("Language:"),
                                      QStringLiteral("USB:")}));
}

TEST_F(MainDlgTest, PagesHoldEveryRowWithIdsDefaultsAndItems) {
  for (int p = 0; p < 5; ++p) {
    const PageExpect& expect = kPages[p];
    const PageState& page = dialog->Page(p);
    ASSERT_EQ(page.fields.size(), expect.rows.size()) << "page " << p;
    for (std::size_t r = 0; r < expect.rows.size(); ++r) {
      const Row& row = expect.rows[r];
      const FieldSpec& field = *page.fields[r];
      SCOPED_TRACE(testing::Message() << "page " << p << " row " << r);
      EXPECT_EQ(field.key, row.key);
      EXPECT_EQ(field.controlId, expect.firstId + static_cast<int>(r));
      EXPECT_EQ(ControlIdOf(field.combo ? static_cast<QWidget*>(field.combo) : field.edit), field.controlId);
      EXPECT_EQ(field.labelText.en, row.labelEn);
      EXPECT_EQ(field.labelText.zh, row.labelZh);
      EXPECT_EQ(field.label->text(), QString::fromUtf16(row.labelEn));
      EXPECT_EQ(ControlIdOf(field.label), 0xFFFF);
      EXPECT_EQ(field.prefix != nullptr, row.prefix);
      if (field.prefix != nullptr) {
        EXPECT_EQ(field.prefix->text(), QStringLiteral("/${ProductKey}/${DeviceName}/user/"));
        EXPECT_EQ(ControlIdOf(field.prefix), 0xFFFF);
      }
      ASSERT_EQ(field.combo != nullptr, row.combo);
      ASSERT_EQ(field.edit != nullptr, !row.combo);
      if (row.combo) {
        EXPECT_EQ(field.combo->currentIndex(), 0);
        EXPECT_EQ(field.combo->currentText(), QString::fromUtf16(row.text));
        EXPECT_EQ(dialog->GetFieldComboSel(p, row.key), 0);
      } else {
        EXPECT_EQ(field.edit->text(), QString::fromUtf16(row.text));
        EXPECT_EQ(field.edit->echoMode(), QLineEdit::Normal);
        EXPECT_EQ(dialog->GetFieldText(p, row.key), std::u16string(row.text));
      }
    }
    EXPECT_EQ(page.writeId, expect.writeId);
    EXPECT_EQ(page.writeButton->text(),
              expect.cloudBox ? QStringLiteral("Write to cloud box") : QStringLiteral("Write to printer"));
    EXPECT_TRUE(page.writeButton->IsPrimary());
    EXPECT_EQ(TabIndex(dialog->WriteButtonPages().at(expect.writeId)), p);
    EXPECT_EQ(page.hasSelfTest, expect.selfTestId != 0);
    EXPECT_EQ(page.selfTestId, expect.selfTestId);
    EXPECT_EQ(page.selfTestButton != nullptr, expect.selfTestId != 0);
    if (expect.selfTestId != 0) {
      EXPECT_EQ(TabIndex(dialog->SelfTestButtonPages().at(expect.selfTestId)), p);
      EXPECT_EQ(page.selfTestButton->text(), QStringLiteral("Self-test page"));
      EXPECT_FALSE(page.selfTestButton->IsPrimary());
    }
    EXPECT_EQ(page.hasCaButton, expect.caId != 0);
    EXPECT_EQ(page.caId, expect.caId);
    if (expect.caId != 0) {
      EXPECT_EQ(TabIndex(dialog->CaButtonPages().at(expect.caId)), p);
      EXPECT_EQ(page.caButton->text(), QStringLiteral("Custom CA Certificate (optional)"));
      EXPECT_EQ(page.caCaption.zh, u"自定义 CA 证书（选配）");
    }
    EXPECT_EQ(page.isCloudBox, expect.cloudBox);
  }
  EXPECT_EQ(dialog->WriteButtonPages().size(), 5u);
  EXPECT_EQ(dialog->SelfTestButtonPages().size(), 4u);
  EXPECT_EQ(dialog->CaButtonPages().size(), 2u);
  EXPECT_EQ(dialog->Page(2).description.zh, u"腾讯云 MQTT 参数配置");
  EXPECT_EQ(dialog->Page(1).tabTitle.zh, u"  打印机-自建 MQTT  ");
}

TEST_F(MainDlgTest, MissingRowsReadAsEmptyOrFirstItem) {
  EXPECT_EQ(dialog->GetFieldComboSel(0, u"tls"), 0);
  EXPECT_EQ(dialog->GetFieldComboSel(2, u"productKey"), 0);  // an edit row, not a drop-down
  EXPECT_EQ(dialog->GetFieldText(1, u"url"), u"");
  EXPECT_EQ(dialog->GetFieldText(1, u"tls"), u"");
  EXPECT_EQ(dialog->GetFieldText(7, u"port"), u"");
  // Typed text is read as typed, blanks included.
  dialog->Page(2).fields[0]->edit->setText(QStringLiteral("  pk  "));
  EXPECT_EQ(dialog->GetFieldText(2, u"productKey"), u"  pk  ");
  EXPECT_EQ(dialog->GetFieldText(0, u"productKey"), u"");
}

TEST_F(MainDlgTest, OnlyPageZeroIsShownLockedWithGreyLabelsAndNoCaButton) {
  EXPECT_FALSE(dialog->PagesEnabled());
  EXPECT_TRUE(dialog->Control(kIdTab)->isEnabled());
  for (int p = 0; p < 5; ++p) {
    SCOPED_TRACE(p);
    const PageState& page = dialog->Page(p);
    for (const auto& field : page.fields) {
      QWidget* input = field->combo ? static_cast<QWidget*>(field->combo) : field->edit;
      EXPECT_EQ(input->isVisible(), p == 0);
      EXPECT_FALSE(input->isEnabled());
      EXPECT_EQ(field->label->isVisible(), p == 0);
      EXPECT_TRUE(field->label->isEnabled());
      EXPECT_EQ(field->label->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, 0x9CA3AFu);
      if (field->prefix) {
        EXPECT_EQ(field->prefix->isVisible(), p == 0);
      }
    }
    EXPECT_EQ(page.writeButton->isVisible(), p == 0);
    EXPECT_FALSE(page.writeButton->isEnabled());
    if (page.selfTestButton) {
      EXPECT_EQ(page.selfTestButton->isVisible(), p == 0);
    }
    if (page.caButton) {
      EXPECT_FALSE(page.caButton->isVisible());
    }
  }
  // The drawn label really is grey: its darkest pixel is the locked colour.
  const QImage image = dialog->grab().toImage();
  const QRect label = dialog->Page(0).fields[0]->label->geometry();
  const auto lightness = [](QRgb c) { return qRed(c) + qGreen(c) + qBlue(c); };
  QRgb darkest = 0xFFFFFF;
  for (int x = label.left(); x <= label.right(); ++x) {
    for (int y = label.top(); y <= label.bottom(); ++y) {
      if (lightness(Rgb24(image, x, y)) < lightness(darkest)) darkest = Rgb24(image, x, y);
    }
  }
  EXPECT_EQ(darkest, 0x9CA3AFu);
}

TEST_F(MainDlgTest, OpensAtItsSizeWithTheMinimumAndPaintsTheBands) {
  const int dpi = dialog->Dpi();
  const auto S = [dpi](int v) { return Scale(v, dpi); };
  EXPECT_EQ(dialog->width(), S(1000));
  EXPECT_EQ(dialog->height(), S(760));
  EXPECT_EQ(dialog->minimumSize(), QSize(S(860), S(700)));
  const int w = dialog->width();
  const int h = dialog->height();
  const QImage image = dialog->grab().toImage();
  test::MaybeSaveShot(image, QStringLiteral("main-en-%1dpi").arg(dpi));
  EXPECT_EQ(Rgb24(image, 3, 3), 0x0F3460u);  // header band
  EXPECT_EQ(Rgb24(image, w / 2, S(20)), 0x0F3460u);
  EXPECT_EQ(Rgb24(image, w / 2, S(56) - S(2) - 1), 0x0F3460u);
  EXPECT_EQ(Rgb24(image, w / 2, S(56) - S(2)), 0x0969DAu);  // accent line
  EXPECT_EQ(Rgb24(image, w / 2, S(56) - 1), 0x0969DAu);
  EXPECT_EQ(Rgb24(image, w / 2, S(56)), 0xF5F7FAu);  // window background below
  const int separator = h - S(6) - S(36) - S(12);
  EXPECT_EQ(Rgb24(image, w / 2, separator), 0xD1D5DBu);
  EXPECT_EQ(Rgb24(image, w / 2, separator - 1), 0xF5F7FAu);
  EXPECT_EQ(Rgb24(image, 5, h - S(52)), 0xF8F9FBu);  // status band
  EXPECT_EQ(Rgb24(image, 5, h - S(52) - 1), 0xF5F7FAu);
  EXPECT_EQ(Rgb24(image, w - 5, h - 2), 0xF8F9FBu);
  const Rect card = dialog->PageCard();
  EXPECT_EQ(Rgb24(image, card.x, card.y + S(40)), 0xD1D5DBu);  // card outline
  EXPECT_EQ(Rgb24(image, card.x + S(5), card.bottom() - S(5)), 0xFFFFFFu);
}

TEST_F(MainDlgTest, ControlsSitWhereTheLayoutRulesPutThem) {
  const int dpi = dialog->Dpi();
  const auto S = [dpi](int v) { return Scale(v, dpi); };
  for (const QSize size : {QSize(S(1000), S(760)), QSize(S(860), S(700)), QSize(S(1400), S(900))}) {
    dialog->resize(size);
    QApplication::processEvents();
    ASSERT_EQ(dialog->size(), size);
    test::ExpectLayoutFollowsRules(*dialog);
  }
  dialog->resize(S(860), S(700));
  QApplication::processEvents();
  test::MaybeSaveShot(dialog->grab().toImage(), QStringLiteral("main-en-minimum-%1dpi").arg(dpi));
  // Below the minimum the window does not go.
  dialog->resize(S(500), S(400));
  QApplication::processEvents();
  EXPECT_EQ(dialog->size(), QSize(S(860), S(700)));
}

TEST_F(MainDlgTest, FontsAskForTheNamedFacesFirst) {
  const QFont normal = dialog->Control(kIdUsbCombo)->font();
  const QFont semibold = dialog->Control(kIdStatus)->font();
  const bool chineseSystem = QLocale::system().language() == QLocale::Chinese;
  EXPECT_EQ(normal.families().value(0),
            chineseSystem ? QStringLiteral("Microsoft YaHei UI") : QStringLiteral("Segoe UI"));
  EXPECT_EQ(semibold.families().value(0),
            chineseSystem ? QStringLiteral("Microsoft YaHei UI") : QStringLiteral("Segoe UI Semibold"));
  EXPECT_DOUBLE_EQ(normal.pointSizeF(), 9.5);
  // The texts stay English whatever the system language.
  EXPECT_EQ(dialog->Control(kIdConnectButton)->property("text").toString(), QStringLiteral("Connect"));
}

TEST_F(MainDlgTest, EscEnterAndTheCloseBoxEndTheModalRun) {
  struct Case {
    std::function<void(CMainDlg&)> act;
    int result;
  };
  const Case cases[] = {
      {[](CMainDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
      {[](CMainDlg& d) { QTest::keyClick(&d, Qt::Key_Return); }, QDialog::Accepted},
      {[](CMainDlg& d) { d.close(); }, QDialog::Rejected},
  };
  for (const Case& c : cases) {
    auto printers = std::make_shared<test::FakePrinters>();
    CMainDlg modal(nullptr, std::make_unique<test::FakeDeviceLister>(printers));
    QTimer::singleShot(200, &modal, [&] { c.act(modal); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &modal, [&] { modal.done(99); });
    watchdog.start(20000);
    EXPECT_EQ(modal.exec(), c.result);
    EXPECT_FALSE(modal.isVisible());
  }
}

TEST_F(MainDlgTest, NothingIsWrittenUnderTheUsersFolders) {
  dialog->close();
  QApplication::processEvents();
  QStringList written;
  for (const QString& file : test::FilesUnderScratchHome()) {
    if (!file.contains(QStringLiteral("/runtime/"))) written << file;
  }
  EXPECT_TRUE(written.isEmpty()) << written.join(QStringLiteral(", ")).toStdString();
}

}  // namespace
}  // namespace qm
