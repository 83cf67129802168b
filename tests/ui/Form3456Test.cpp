#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "FormPrompts.h"
#include "core/app/UiText.h"
#include "ui/dialogs/Form3.h"
#include "ui/dialogs/Form4.h"
#include "ui/dialogs/Form5.h"
#include "ui/dialogs/Form6.h"

namespace termika {
namespace {

const UiText& japanese() {
  static const UiText t = UiText::load(UiText::Language::Japanese);
  return t;
}
const UiText& english() {
  static const UiText t = UiText::load(UiText::Language::English);
  return t;
}

template <typename T>
T* child(QObject& parent, const char* name) {
  T* found = parent.findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

TEST(Form3, ShowsTheCountAndCannotBeClosedDuringTheTransfer) {
  Form3 form(japanese());
  form.show();
  form.startTransfer();
  auto* bar = child<QProgressBar>(form, "ProgressBar1");
  auto* cancel = child<QPushButton>(form, "Command1");
  EXPECT_EQ(form.windowTitle(), QStringLiteral("ダウンロード"));
  EXPECT_FALSE(cancel->isEnabled());
  form.setExpected(250);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("ダウンロード\u3000(0/250)"));
  form.setReceived(100);
  EXPECT_EQ(bar->maximum(), 250);
  EXPECT_EQ(bar->value(), 100);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("ダウンロード\u3000(100/250)"));

  EXPECT_FALSE(form.close());
  EXPECT_TRUE(form.isVisible());
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_TRUE(form.isVisible());

  form.finishTransfer();
  EXPECT_TRUE(form.close());
  EXPECT_FALSE(form.isVisible());
  Form3 english3(english());
  english3.startTransfer();
  english3.setExpected(15000);
  english3.setReceived(15000);
  EXPECT_EQ(english3.windowTitle(), QStringLiteral("Download\u3000(15000/15000)"));
}

TEST(Form4, HardwareLineOnlyWhenAVersionIsKnown) {
  const struct {
    const UiText& texts;
    const char* version;
    bool hardwareShown;
    const char* hardware;
    const char* application;
    const char* caption;
  } cases[] = {
      {japanese(), "", false, "", "ｱﾌﾟﾘｹｰｼｮﾝ Ver.1.06", "バージョン"},
      {japanese(), "1.05", true, "ﾊｰﾄﾞｳｪｱ    Ver.1.05", "ｱﾌﾟﾘｹｰｼｮﾝ Ver.1.06", "バージョン"},
      {english(), "2.10", true, "Hardware    Ver.2.10", "Application Ver.1.06", "Version"},
  };
  for (const auto& c : cases) {
    Form4 form(c.texts, QStringLiteral("QM120-RH"), QString::fromUtf8(c.version));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(child<QLabel>(form, "Label3")->text(), QStringLiteral("QM120-RH"));
    auto* hardware = child<QLabel>(form, "Label4");
    EXPECT_EQ(!hardware->isHidden(), c.hardwareShown) << c.version;
    if (c.hardwareShown) {
      EXPECT_EQ(hardware->text(), QString::fromUtf8(c.hardware));
    }
    EXPECT_EQ(child<QLabel>(form, "Label5")->text(), QString::fromUtf8(c.application));
    EXPECT_TRUE(child<QLabel>(form, "Label2")->isHidden());
    EXPECT_EQ(child<QLabel>(form, "Label1")->text(), c.texts[262]);
    child<QPushButton>(form, "Command_ok")->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
  }
}

TEST(Form5, PortListAndButtonFollowTheConnection) {
  Form5 closed(japanese(), 7, false);
  auto* combo = child<QComboBox>(closed, "Combo1");
  ASSERT_EQ(combo->count(), 16);
  EXPECT_EQ(combo->itemText(0), QStringLiteral("1"));
  EXPECT_EQ(combo->itemText(15), QStringLiteral("16"));
  EXPECT_TRUE(combo->isEnabled());
  EXPECT_EQ(closed.windowTitle() + '|' + captions(closed, "Combo1 Command3 Command1"),
            QStringLiteral("通信|7|通信開始|キャンセル"));
  Form5 open(english(), 3, true);
  EXPECT_FALSE(child<QComboBox>(open, "Combo1")->isEnabled());
  EXPECT_EQ(open.windowTitle() + '|' + captions(open, "Command3 Label1"),
            QStringLiteral("Communication|Offline|Port_No"));
}

TEST(Form5, ConnectWaitsForTheSearchAndClosesOnlyOnSuccess) {
  Form5 form(japanese(), 1, false);
  QSignalSpy connectSpy(&form, &Form5::connectRequested);
  child<QComboBox>(form, "Combo1")->setCurrentIndex(4);
  EXPECT_EQ(form.chosenPort(), 5);
  form.show();
  child<QPushButton>(form, "Command3")->click();
  ASSERT_EQ(connectSpy.size(), 1);
  EXPECT_EQ(connectSpy.at(0).at(0).toInt(), 5);
  EXPECT_FALSE(form.isEnabled());
  form.discoveryProgress(5, 1);
  EXPECT_EQ(child<QLabel>(form, "Label2")->text(), QStringLiteral("ポート番号 5 (2)"));
  form.Command3_Click();  // a second press while searching does nothing
  EXPECT_EQ(connectSpy.size(), 1);
  form.reject();
  EXPECT_TRUE(form.isVisible());

  form.discoveryFinished(false);
  EXPECT_TRUE(form.isEnabled());
  EXPECT_TRUE(form.isVisible());
  form.Command3_Click();
  form.discoveryFinished(true);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(Form5, OfflineAsksForADisconnectAndCancelOnlyCloses) {
  Form5 open(japanese(), 2, true);
  QSignalSpy disconnectSpy(&open, &Form5::disconnectRequested);
  QSignalSpy connectSpy(&open, &Form5::connectRequested);
  child<QPushButton>(open, "Command3")->click();
  EXPECT_EQ(disconnectSpy.size(), 1);
  EXPECT_EQ(connectSpy.size(), 0);

  Form5 closed(japanese(), 2, false);
  QSignalSpy none(&closed, &Form5::connectRequested);
  child<QPushButton>(closed, "Command1")->click();
  EXPECT_EQ(none.size(), 0);
  EXPECT_EQ(closed.result(), QDialog::Rejected);
}

TEST(Form6, TicksWithTheClockAndAsksOncePerPress) {
  QDateTime now(QDate(2024, 12, 31), QTime(23, 59, 58));
  Form6 form(
      japanese(), [&now] { return now; }, std::chrono::milliseconds(2));
  auto* label = child<QLabel>(form, "Label2");
  EXPECT_EQ(label->text(), QStringLiteral("2024/12/31 23:59:58"));
  EXPECT_EQ(child<QTimer>(form, "tokei")->interval(), 2);
  now = now.addSecs(61);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return label->text() == QStringLiteral("2025/01/01 00:00:59"); }, 1000));

  EXPECT_EQ(form.windowTitle() + '|' + captions(form, "Label1"),
            QStringLiteral("時計設定|現在の日時"));
  QSignalSpy spy(&form, &Form6::setClockRequested);
  form.setLinkBusy(true);
  form.Command1_Click();
  EXPECT_EQ(spy.size(), 0);
  form.setLinkBusy(false);
  child<QPushButton>(form, "Command1")->click();
  EXPECT_EQ(spy.size(), 1);
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(Form6, EnglishTexts) {
  Form6 form(english(), {}, std::chrono::milliseconds(200));
  EXPECT_EQ(form.windowTitle() + '|' + captions(form, "Label1 Command1"),
            QStringLiteral("Clock setting|Present date|Set"));
}

}  // namespace
}  // namespace termika
