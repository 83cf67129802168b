#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

#include "DialogTestSupport.h"
#include "core/base/Translations.h"
#include "core/base/UiText.h"
#include "ui/dialogs/RecordingSettingsDialog.h"
#include "ui/dialogs/UpDownBar.h"

namespace termika {
namespace {

RecordingPreset loggerPreset(int interval = 45, const char* model = "QM120-RH") {
  RecordingPreset p;
  p.loggerName = QStringLiteral("LG01");
  p.loop = true;
  p.upperAlarm = {30, 0, 128};
  p.lowerAlarm = {10, 0, 0};
  p.intervalSeconds = interval;
  p.model = QString::fromUtf8(model);
  return p;
}

// The dialog opened on Jan 31 10:30 unless told otherwise; its requests are kept.
struct RecordingDialog {
  UiText texts;
  ScriptedPrompts prompts;
  QDateTime now;
  RecordingSettingsDialog dialog;
  std::vector<LogStartRequest> requests;

  explicit RecordingDialog(const RecordingPreset& preset = loggerPreset(),
                           QDateTime clock = QDateTime(QDate(2025, 1, 31), QTime(10, 30, 0)),
                           UiText::Language language = UiText::Language::Japanese)
      : texts(UiText::load(language)),
        now(clock),
        dialog(texts, preset, prompts, [this] { return now; }) {
    QObject::connect(&dialog, &RecordingSettingsDialog::startRequested,
                     [this](const LogStartRequest& request) { requests.push_back(request); });
  }
  const RecordingSettingsDialog::Controls& ui() const { return dialog.controls(); }
  QString label(const std::vector<const QObject*>& objects) { return captions(objects); }
  QString range(const UpDownBar* bar) {
    return QStringLiteral("%1..%2").arg(bar->lowest()).arg(bar->highest());
  }
};

TEST(RecordingSettingsDialog, OpensWithTheLoggersSettings) {
  RecordingDialog d;
  EXPECT_EQ(d.label({&d.dialog, d.ui().nameEdit, d.ui().intervalCombo, d.ui().intervalUnitLabel,
                     d.ui().upperLimitLabel, d.ui().lowerLimitLabel, d.ui().reserveDateLabel,
                     d.ui().reserveHourLabel, d.ui().reserveMinuteLabel, d.ui().startButton}),
            QStringLiteral("記録開始|LG01|45|秒|30℃|10℃|----年--月--日|--時|--分|記録開始"));
  const auto& c = d.ui();
  EXPECT_TRUE(c.loopRadio->isChecked() && c.secondsRadio->isChecked() && c.upperOn->isChecked() &&
              c.lowerOff->isChecked());
  EXPECT_FALSE(c.oneTimeRadio->isChecked() || c.reserveCheck->isChecked());
  EXPECT_FALSE(d.ui().intervalCombo->isEditable());
  EXPECT_EQ(d.ui().intervalCombo->count(), 58);
  EXPECT_EQ(d.ui().upperLimitBar->number(), 30);
  EXPECT_EQ(d.ui().lowerLimitBar->number(), 10);
  EXPECT_FALSE(d.ui().intervalNote->isVisibleTo(&d.dialog));
  EXPECT_FALSE(d.ui().reserveDayBar->isEnabled());
}

TEST(RecordingSettingsDialog, IntervalsTheListCannotShowOpenInMinutesAndAlarmsFollowTheModel) {
  for (const auto& [interval, shown] : {std::pair{90, "60"}, {14460, "60"}, {14400, "240"}}) {
    RecordingDialog d(loggerPreset(interval, "QM100-RH"));
    EXPECT_TRUE(d.ui().minutesRadio->isChecked()) << interval;
    EXPECT_EQ(d.label({d.ui().intervalCombo}), QString::fromUtf8(shown)) << interval;
    EXPECT_EQ(d.ui().intervalCombo->count(), 240);
    EXPECT_TRUE(d.ui().alarmFrame->isHidden());
  }
  RecordingDialog qm120(loggerPreset(45, "QM120-RH"));
  EXPECT_FALSE(qm120.ui().alarmFrame->isHidden());
}

// The upper arrow of every up/down bar raises its value and the thumb stands higher for a
// higher value; a logger interval of 1 s opens at 2 s with a note beside the list.
TEST(RecordingSettingsDialog, UpperArrowsRaiseValuesAndAnUnlistedIntervalIsTold) {
  RecordingDialog d;
  d.ui().reserveCheck->click();
  d.dialog.show();
  const auto& c = d.ui();
  for (UpDownBar* b :
       {c.upperLimitBar, c.lowerLimitBar, c.reserveDayBar, c.reserveHourBar, c.reserveMinuteBar}) {
    b->setNumber(b->lowest() + 1);
    const auto at = [b](QStyle::SubControl part) {
      QStyleOptionSlider option;
      option.initFrom(b);
      option.orientation = Qt::Vertical;
      option.minimum = b->minimum();
      option.maximum = b->maximum();
      option.sliderPosition = option.sliderValue = b->value();
      option.singleStep = b->singleStep();
      option.pageStep = b->pageStep();
      return b->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, b);
    };
    const int before = b->number();
    const int thumbBefore = at(QStyle::SC_ScrollBarSlider).center().y();
    QTest::mouseClick(b, Qt::LeftButton, {}, at(QStyle::SC_ScrollBarSubLine).center());
    EXPECT_EQ(b->number(), before + 1) << b->lowest();
    EXPECT_LE(at(QStyle::SC_ScrollBarSlider).center().y(), thumbBefore) << b->lowest();
    QTest::mouseClick(b, Qt::LeftButton, {}, at(QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(b->number(), before) << b->lowest();
  }
  const Translations japanese(UiText::Language::Japanese);
  RecordingDialog oneSecond(loggerPreset(1));
  EXPECT_EQ(oneSecond.label({oneSecond.ui().intervalCombo, oneSecond.ui().intervalUnitLabel,
                             oneSecond.ui().intervalNote}),
            QStringLiteral("2|秒|ロガーの記録間隔 1 秒はこの一覧にありません。"));
}

TEST(RecordingSettingsDialog, RaisingTheLowerLimitPushesTheUpperOne) {
  RecordingDialog d;
  d.ui().lowerLimitBar->setNumber(30);
  EXPECT_EQ(d.ui().upperLimitBar->number(), 31);
  EXPECT_EQ(d.label({d.ui().upperLimitLabel, d.ui().lowerLimitLabel}), QStringLiteral("31℃|30℃"));
  d.ui().upperLimitBar->setNumber(-19);
  EXPECT_EQ(d.ui().lowerLimitBar->number(), -20);
  EXPECT_EQ(d.range(d.ui().upperLimitBar) + ' ' + d.range(d.ui().lowerLimitBar),
            QStringLiteral("-19..70 -20..69"));
}

TEST(RecordingSettingsDialog, ReservationScrollsShowDateHourAndMinuteAndWrap) {
  RecordingDialog d;
  d.ui().reserveCheck->click();
  EXPECT_EQ(d.label({d.ui().startButton, d.ui().reserveDateLabel, d.ui().reserveHourLabel,
                     d.ui().reserveMinuteLabel}),
            QStringLiteral("予約登録|2025年01月31日|10時|31分"));
  EXPECT_EQ(d.ui().reserveDayBar->highest(), 58);
  d.ui().reserveHourBar->setNumber(-1);
  EXPECT_EQ(d.ui().reserveHourBar->number(), 23);
  EXPECT_EQ(d.label({d.ui().reserveHourLabel}), QStringLiteral("23時"));
  d.ui().reserveHourBar->setNumber(24);
  d.ui().reserveMinuteBar->setNumber(60);
  d.ui().reserveDayBar->setNumber(1);
  EXPECT_EQ(d.label({d.ui().reserveDateLabel, d.ui().reserveHourLabel, d.ui().reserveMinuteLabel}),
            QStringLiteral("2025年02月01日|00時|00分"));
  d.ui().reserveCheck->click();
  EXPECT_EQ(d.label({d.ui().reserveDateLabel, d.ui().startButton}),
            QStringLiteral("----年--月--日|記録開始"));
}

TEST(RecordingSettingsDialog, ReservationThatWouldStartEarlierOrInThePastIsRefused) {
  for (const auto& [bar, value] : {std::pair{&RecordingSettingsDialog::Controls::reserveDayBar, 29},
                                   {&RecordingSettingsDialog::Controls::reserveHourBar, 9}}) {
    RecordingDialog d;  // Jan 31 10:30; Mar 1 would start on Feb 1, 9:31 is gone
    d.ui().reserveCheck->click();
    (d.ui().*bar)->setNumber(value);
    d.ui().startButton->click();
    ASSERT_EQ(d.prompts.calls.size(), 1u);
    // The title keeps the text these refusals always had.
    EXPECT_EQ(d.prompts.calls[0].title, QStringLiteral("QM100-RH"));
    EXPECT_EQ(d.prompts.calls[0].message, QStringLiteral("予約時間に誤りがあります"));
    EXPECT_TRUE(d.requests.empty());
    EXPECT_NE(d.dialog.result(), QDialog::Accepted);
    // The reservation starts over from one minute after now.
    EXPECT_TRUE(d.ui().reserveCheck->isChecked());
    EXPECT_EQ(
        d.label({d.ui().reserveDateLabel, d.ui().reserveHourLabel, d.ui().reserveMinuteLabel}),
        QStringLiteral("2025年01月31日|10時|31分"));
  }
}

TEST(RecordingSettingsDialog, NameIsCheckedOnFocusLossAndAgainAtStart) {
  RecordingDialog d;
  auto* text1 = d.ui().nameEdit;
  text1->setText(QStringLiteral("A:B"));
  QFocusEvent out(QEvent::FocusOut);
  QCoreApplication::sendEvent(text1, &out);
  ASSERT_EQ(d.prompts.calls.size(), 1u);
  EXPECT_EQ(d.prompts.calls[0].title, QStringLiteral("QM120-RH"));
  EXPECT_EQ(d.prompts.calls[0].message,
            QStringLiteral("認識名称には次の文字は使えません\r\r           \\ / : * ? \" < > |"));
  EXPECT_EQ(text1->text(), QStringLiteral("LG01"));
  // Typed and confirmed without leaving the field.
  text1->setText(QStringLiteral("ﾃｽﾄ温"));
  d.ui().startButton->click();
  ASSERT_EQ(d.prompts.calls.size(), 2u);
  EXPECT_EQ(d.prompts.calls[1].message,
            QStringLiteral("認識名称には次の文字は使えません\r\r           温"));
  EXPECT_EQ(text1->text(), QStringLiteral("LG01"));
  EXPECT_TRUE(d.requests.empty());
}

TEST(RecordingSettingsDialog, StartHandsOnTheChosenValuesAndTheReservedDayHourAndMinute) {
  RecordingDialog d;
  d.ui().nameEdit->setText(QStringLiteral("T1"));
  for (QAbstractButton* option : std::initializer_list<QAbstractButton*>{
           d.ui().oneTimeRadio, d.ui().minutesRadio, d.ui().upperOff, d.ui().lowerOn})
    option->click();
  d.ui().intervalCombo->setCurrentText(QStringLiteral("15"));
  d.ui().upperLimitBar->setNumber(35);
  d.ui().lowerLimitBar->setNumber(-5);
  d.ui().startButton->click();
  ASSERT_EQ(d.requests.size(), 1u);
  EXPECT_EQ(d.requests[0],
            (LogStartRequest{QStringLiteral("  T1"), false, IntervalUnit::Minutes, 15, 35, false,
                             -5, true, QStringLiteral("QM120-RH"), std::nullopt}));
  EXPECT_EQ(d.dialog.result(), QDialog::Accepted);

  RecordingDialog r;  // Jan 31 10:30
  r.ui().reserveCheck->click();
  r.ui().reserveDayBar->setNumber(57);  // Mar 29: Feb has no 29th
  r.ui().reserveHourBar->setNumber(6);
  r.ui().reserveMinuteBar->setNumber(5);
  r.ui().startButton->click();
  ASSERT_EQ(r.requests.size(), 1u);
  EXPECT_EQ(r.requests[0], (LogStartRequest{QStringLiteral("LG01"), true, IntervalUnit::Seconds, 45,
                                            30, true, 10, false, QStringLiteral("QM120-RH"),
                                            LogStartRequest::Reservation{29, 6, 5}}));

  // Just before midnight the default reservation is tomorrow 00:00.
  RecordingDialog late(loggerPreset(), QDateTime(QDate(2025, 3, 14), QTime(23, 59, 30)));
  late.ui().reserveCheck->click();
  EXPECT_EQ(late.label({late.ui().reserveDateLabel, late.ui().reserveHourLabel,
                        late.ui().reserveMinuteLabel}),
            QStringLiteral("2025年03月15日|00時|00分"));
  late.ui().startButton->click();
  ASSERT_EQ(late.requests.size(), 1u);
  EXPECT_EQ(late.requests[0].reservedStart, (LogStartRequest::Reservation{15, 0, 0}));
}

TEST(RecordingSettingsDialog, CancelAndBusyLinkSendNothing) {
  RecordingDialog d;
  d.dialog.setLinkBusy(true);
  d.dialog.confirm();
  EXPECT_TRUE(d.requests.empty());
  d.ui().cancelButton->click();
  EXPECT_TRUE(d.requests.empty());
  EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace termika
