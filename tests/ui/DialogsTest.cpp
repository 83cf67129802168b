#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "DialogTestSupport.h"
#include "core/base/UiText.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/ClockDialog.h"
#include "ui/dialogs/DownloadProgressDialog.h"
#include "ui/dialogs/PortSettingsDialog.h"

namespace termika {
namespace {

const UiText& texts(UiText::Language language = UiText::Language::Japanese) {
  static const UiText kJa = UiText::load(UiText::Language::Japanese);
  static const UiText kEn = UiText::load(UiText::Language::English);
  return language == UiText::Language::Japanese ? kJa : kEn;
}
const UiText& english() { return texts(UiText::Language::English); }

TEST(DownloadProgressDialog, CountsOnlyForwardAndEveryCloseDuringTheTransferAsksToCancelOnce) {
  DownloadProgressDialog form(texts());
  QSignalSpy cancels(&form, &DownloadProgressDialog::cancelRequested);
  form.show();
  form.startTransfer();
  const QProgressBar* bar = form.controls().progress;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("ダウンロード"));
  EXPECT_TRUE(form.controls().cancelButton->isEnabled());
  // Reported received/total, then the bar and the caption's count: the total
  // is taken once and a late report never moves the bar back.
  const std::pair<std::pair<int, int>, const char*> steps[] = {
      {{0, 250}, "0/250"},     {{100, 250}, "100/250"}, {{40, 250}, "100/250"},
      {{120, 300}, "120/250"}, {{0, 250}, "120/250"},   {{400, 250}, "250/250"}};
  for (const auto& [report, shown] : steps) {
    form.showProgress(report.first, report.second);
    EXPECT_EQ(QStringLiteral("%1/%2").arg(bar->value()).arg(bar->maximum()), shown);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("ダウンロード\u3000(%1)").arg(shown));
  }
  EXPECT_FALSE(form.close());  // the window's own close: no cancel
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(cancels.size(), 1);
  form.showStopping(120);
  EXPECT_FALSE(form.controls().cancelButton->isEnabled());
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_EQ(cancels.size(), 1);
  form.finishTransfer();
  EXPECT_TRUE(form.close());
  EXPECT_FALSE(form.isVisible());
}

TEST(AboutDialog, HardwareLineOnlyWhenAVersionIsKnown) {
  const struct {
    UiText::Language language;
    const char* version;
    const char* shown;  // caption, model, hardware (when shown), application
  } cases[] = {
      {UiText::Language::Japanese, "", "バージョン|QM120-RH|ｱﾌﾟﾘｹｰｼｮﾝ Ver.1.06"},
      {UiText::Language::Japanese, "1.05",
       "バージョン|QM120-RH|ﾊｰﾄﾞｳｪｱ    Ver.1.05|ｱﾌﾟﾘｹｰｼｮﾝ Ver.1.06"},
      {UiText::Language::English, "2.10",
       "Version|QM120-RH|Hardware    Ver.2.10|Application Ver.1.06"},
  };
  for (const auto& c : cases) {
    AboutDialog form(texts(c.language), QStringLiteral("QM120-RH"), QString::fromUtf8(c.version));
    const bool known = *c.version != '\0';
    const AboutDialog::Controls& ui = form.controls();
    EXPECT_EQ(!ui.hardwareLabel->isHidden(), known) << c.version;
    std::vector<const QObject*> shown{&form, ui.modelLabel, ui.hardwareLabel, ui.applicationLabel};
    if (!known) shown.erase(shown.begin() + 2);
    EXPECT_EQ(captions(shown), QString::fromUtf8(c.shown));
    EXPECT_TRUE(ui.addressLabel->isHidden());
    EXPECT_EQ(ui.makerLabel->text(), texts(c.language)[TextId::AboutCompany]);
    ui.okButton->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
  }
}

TEST(PortSettingsDialog, PortListAndButtonFollowTheConnection) {
  PortSettingsDialog closed(texts(), 7, false);
  const PortSettingsDialog::Controls& c = closed.controls();
  const QComboBox* combo = c.portCombo;
  EXPECT_EQ(QStringLiteral("%1..%2 (%3)")
                .arg(combo->itemText(0), combo->itemText(combo->count() - 1))
                .arg(combo->count()),
            QStringLiteral("1..16 (16)"));
  EXPECT_TRUE(combo->isEnabled());
  EXPECT_EQ(combo->currentText(), QStringLiteral("7"));
  PortSettingsDialog open(english(), 3, true);
  const PortSettingsDialog::Controls& o = open.controls();
  EXPECT_FALSE(o.portCombo->isEnabled());
  EXPECT_EQ(o.connectButton->text(), QStringLiteral("Offline"));
  // Offline asks for a disconnect; cancel only closes.
  QSignalSpy disconnectSpy(&open, &PortSettingsDialog::disconnectRequested);
  QSignalSpy connectSpy(&open, &PortSettingsDialog::connectRequested);
  o.connectButton->click();
  EXPECT_EQ(disconnectSpy.size(), 1);
  EXPECT_EQ(connectSpy.size(), 0);
  QSignalSpy none(&closed, &PortSettingsDialog::connectRequested);
  c.closeButton->click();
  EXPECT_EQ(none.size(), 0);
  EXPECT_EQ(closed.result(), QDialog::Rejected);
}

TEST(PortSettingsDialog, ConnectWaitsForTheSearchAndClosesWhenItEnds) {
  PortSettingsDialog form(texts(), 1, false);
  QSignalSpy connectSpy(&form, &PortSettingsDialog::connectRequested);
  form.controls().portCombo->setCurrentIndex(4);
  EXPECT_EQ(form.chosenPort(), 5);
  form.show();
  form.controls().connectButton->click();
  ASSERT_EQ(connectSpy.size(), 1);
  EXPECT_EQ(connectSpy.at(0).at(0).toInt(), 5);
  EXPECT_FALSE(form.isEnabled());
  form.discoveryProgress(5, 1);
  EXPECT_EQ(form.controls().progress->text(), QStringLiteral("ポート番号 5 (2)"));
  form.connectOrDisconnect();  // a second press while searching does nothing
  EXPECT_EQ(connectSpy.size(), 1);
  form.reject();
  EXPECT_TRUE(form.isVisible());
  // "Not found" has been said by the window: the dialog closes either way.
  for (const bool found : {false, true}) {
    form.show();
    form.connectOrDisconnect();
    form.discoveryFinished(found);
    EXPECT_FALSE(form.isVisible()) << found;
    EXPECT_EQ(form.result(), found ? QDialog::Accepted : QDialog::Rejected);
  }
}

TEST(ClockDialog, TicksWithTheClockAndAsksOncePerPress) {
  QDateTime now(QDate(2024, 12, 31), QTime(23, 59, 58));
  ClockDialog form(
      texts(), [&now] { return now; }, std::chrono::milliseconds(2));
  const QLabel* label = form.controls().time;
  EXPECT_EQ(label->text(), QStringLiteral("2024/12/31 23:59:58"));
  now = now.addSecs(61);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return label->text() == QStringLiteral("2025/01/01 00:00:59"); }, 1000));
  QSignalSpy spy(&form, &ClockDialog::setClockRequested);
  form.setLinkBusy(true);
  form.requestClockSet();
  EXPECT_EQ(spy.size(), 0);
  form.setLinkBusy(false);
  form.controls().setButton->click();
  EXPECT_EQ(spy.size(), 1);
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace termika
