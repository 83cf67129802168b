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
  static const UiText kTexts[] = {UiText::load(UiText::Language::Japanese),
                                  UiText::load(UiText::Language::English)};
  return kTexts[language == UiText::Language::English];
}

TEST(DownloadProgressDialog, CountsOnlyForwardAndEveryCloseDuringTheTransferAsksToCancelOnce) {
  DownloadProgressDialog form(texts());
  QSignalSpy cancels(&form, &DownloadProgressDialog::cancelRequested);
  form.show();
  form.startTransfer();
  const QProgressBar* bar = form.controls().progress;
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
    ui.okButton->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
  }
}

// Closed, the list holds ports 1..16 and Connect sends the chosen one, then waits for the search
// (a second press and closing do nothing) and closes whether it found the logger or not.
// Open, the list is locked and Offline asks for a disconnect.
TEST(PortSettingsDialog, ConnectWaitsForTheSearchAndOfflineDisconnects) {
  PortSettingsDialog form(texts(), 7, false);
  QSignalSpy connects(&form, &PortSettingsDialog::connectRequested);
  const PortSettingsDialog::Controls& c = form.controls();
  EXPECT_EQ(QStringLiteral("%1..%2 %3 ")
                    .arg(c.portCombo->itemText(0), c.portCombo->itemText(c.portCombo->count() - 1),
                         c.portCombo->currentText()) +
                QString::number(c.portCombo->isEnabled()),
            QStringLiteral("1..16 7 1"));
  c.portCombo->setCurrentIndex(4);
  form.show();
  c.connectButton->click();
  form.discoveryProgress(5, 1);
  EXPECT_EQ(c.progress->text(), QStringLiteral("ポート番号 5 (2)"));
  EXPECT_FALSE(form.isEnabled());
  form.connectOrDisconnect();
  form.reject();
  EXPECT_TRUE(form.isVisible());
  for (const bool found : {false, true}) {
    form.show();
    form.connectOrDisconnect();
    form.discoveryFinished(found);
    EXPECT_FALSE(form.isVisible()) << found;
    EXPECT_EQ(form.result(), found ? QDialog::Accepted : QDialog::Rejected);
  }
  ASSERT_EQ(connects.size(), 2);  // the first press and the last
  EXPECT_EQ(connects.at(0).at(0).toInt(), 5);

  PortSettingsDialog open(texts(UiText::Language::English), 3, true);
  QSignalSpy disconnects(&open, &PortSettingsDialog::disconnectRequested);
  QSignalSpy none(&open, &PortSettingsDialog::connectRequested);
  EXPECT_FALSE(open.controls().portCombo->isEnabled());
  EXPECT_EQ(open.controls().connectButton->text(), QStringLiteral("Offline"));
  open.controls().connectButton->click();
  open.controls().closeButton->click();
  EXPECT_EQ(std::pair(disconnects.size(), none.size()), (std::pair<qsizetype, qsizetype>(1, 0)));
  EXPECT_EQ(open.result(), QDialog::Rejected);
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
