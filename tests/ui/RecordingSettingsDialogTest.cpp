#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
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
  template <typename T>
  T* child(const char* name) {
    T* found = dialog.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QString label(const char* names) { return captions(dialog, names); }
  UpDownBar* bar(const char* name) { return child<UpDownBar>(name); }
  void set(const char* name, int value) { bar(name)->setNumber(value); }
  void click(const char* name) { child<QAbstractButton>(name)->click(); }
  bool checked(const char* name) { return child<QAbstractButton>(name)->isChecked(); }
  QString range(const char* name) {
    return QStringLiteral("%1..%2").arg(bar(name)->lowest()).arg(bar(name)->highest());
  }
};

TEST(RecordingSettingsDialog, OpensWithTheLoggersSettings) {
  RecordingDialog d;
  EXPECT_EQ(d.label("RecordingSettingsDialog Text1 Combo2 Label8 Label1 Label2 Label5 Label6 "
                    "Label7 Command1"),
            QStringLiteral("記録開始|LG01|45|秒|30℃|10℃|----年--月--日|--時|--分|記録開始"));
  for (const char* on : {"Option2", "Option5", "Option3", "Option8"}) EXPECT_TRUE(d.checked(on));
  for (const char* off : {"Option1", "Check1"}) EXPECT_FALSE(d.checked(off));
  EXPECT_FALSE(d.child<QComboBox>("Combo2")->isEditable());
  EXPECT_EQ(d.child<QComboBox>("Combo2")->count(), 58);
  EXPECT_EQ(d.bar("VScroll1")->number(), 30);
  EXPECT_EQ(d.bar("VScroll2")->number(), 10);
  EXPECT_FALSE(d.child<QLabel>("IntervalNote")->isVisibleTo(&d.dialog));
  EXPECT_FALSE(d.bar("VScroll3")->isEnabled());
}

TEST(RecordingSettingsDialog, IntervalsTheListCannotShowOpenInMinutesAndAlarmsFollowTheModel) {
  for (const auto& [interval, shown] : {std::pair{90, "60"}, {14460, "60"}, {14400, "240"}}) {
    RecordingDialog d(loggerPreset(interval, "QM100-RH"));
    EXPECT_TRUE(d.checked("Option6")) << interval;
    EXPECT_EQ(d.label("Combo2"), QString::fromUtf8(shown)) << interval;
    EXPECT_EQ(d.child<QComboBox>("Combo2")->count(), 240);
    EXPECT_TRUE(d.child<QGroupBox>("Frame4")->isHidden());
  }
  RecordingDialog qm120(loggerPreset(45, "QM120-RH"));
  EXPECT_FALSE(qm120.child<QGroupBox>("Frame4")->isHidden());
}

TEST(RecordingSettingsDialog, UnitSwitchRestoresEachUnitsLastValue) {
  RecordingDialog d;
  auto* combo = d.child<QComboBox>("Combo2");
  combo->setCurrentText(QStringLiteral("12"));
  d.click("Option6");
  EXPECT_EQ(d.label("Combo2 Label8"), QStringLiteral("60|分"));
  combo->setCurrentText(QStringLiteral("5"));
  d.click("Option5");
  EXPECT_EQ(combo->currentText(), QStringLiteral("12"));
  d.click("Option6");
  EXPECT_EQ(combo->currentText(), QStringLiteral("5"));
}

// The upper arrow of every up/down bar raises its value and the thumb stands higher for a
// higher value; a logger interval of 1 s opens at 2 s with a note beside the list.
TEST(RecordingSettingsDialog, UpperArrowsRaiseValuesAndAnUnlistedIntervalIsTold) {
  RecordingDialog d;
  d.click("Check1");
  d.dialog.show();
  for (const char* name : {"VScroll1", "VScroll2", "VScroll3", "VScroll4", "VScroll5"}) {
    UpDownBar* b = d.bar(name);
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
    EXPECT_EQ(b->number(), before + 1) << name;
    EXPECT_LE(at(QStyle::SC_ScrollBarSlider).center().y(), thumbBefore) << name;
    QTest::mouseClick(b, Qt::LeftButton, {}, at(QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(b->number(), before) << name;
  }
  const Translations japanese(UiText::Language::Japanese);
  RecordingDialog oneSecond(loggerPreset(1));
  EXPECT_EQ(oneSecond.label("Combo2 Label8 IntervalNote"),
            QStringLiteral("2|秒|ロガーの記録間隔 1 秒はこの一覧にありません。"));
}

TEST(RecordingSettingsDialog, RaisingTheLowerLimitPushesTheUpperOne) {
  RecordingDialog d;
  d.set("VScroll2", 30);
  EXPECT_EQ(d.bar("VScroll1")->number(), 31);
  EXPECT_EQ(d.label("Label1 Label2"), QStringLiteral("31℃|30℃"));
  d.set("VScroll1", -19);
  EXPECT_EQ(d.bar("VScroll2")->number(), -20);
  EXPECT_EQ(d.range("VScroll1") + ' ' + d.range("VScroll2"), QStringLiteral("-19..70 -20..69"));
}

TEST(RecordingSettingsDialog, ReservationScrollsShowDateHourAndMinuteAndWrap) {
  RecordingDialog d;
  d.click("Check1");
  EXPECT_EQ(d.label("Command1 Label5 Label6 Label7"),
            QStringLiteral("予約登録|2025年01月31日|10時|31分"));
  EXPECT_EQ(d.bar("VScroll3")->highest(), 58);
  d.set("VScroll4", -1);
  EXPECT_EQ(d.bar("VScroll4")->number(), 23);
  EXPECT_EQ(d.label("Label6"), QStringLiteral("23時"));
  d.set("VScroll4", 24);
  d.set("VScroll5", 60);
  d.set("VScroll3", 1);
  EXPECT_EQ(d.label("Label5 Label6 Label7"), QStringLiteral("2025年02月01日|00時|00分"));
  d.click("Check1");
  EXPECT_EQ(d.label("Label5 Command1"), QStringLiteral("----年--月--日|記録開始"));
}

TEST(RecordingSettingsDialog, ReservationThatWouldStartEarlierOrInThePastIsRefused) {
  for (const auto& [bar, value] : {std::pair{"VScroll3", 29}, {"VScroll4", 9}}) {
    RecordingDialog d;  // Jan 31 10:30; Mar 1 would start on Feb 1, 9:31 is gone
    d.click("Check1");
    d.set(bar, value);
    d.click("Command1");
    ASSERT_EQ(d.prompts.calls.size(), 1u);
    // The title keeps the text these refusals always had.
    EXPECT_EQ(d.prompts.calls[0].title, QStringLiteral("QM100-RH"));
    EXPECT_EQ(d.prompts.calls[0].message, QStringLiteral("予約時間に誤りがあります"));
    EXPECT_TRUE(d.requests.empty());
    EXPECT_NE(d.dialog.result(), QDialog::Accepted);
    // The reservation starts over from one minute after now.
    EXPECT_TRUE(d.checked("Check1"));
    EXPECT_EQ(d.label("Label5 Label6 Label7"), QStringLiteral("2025年01月31日|10時|31分"));
  }
}

TEST(RecordingSettingsDialog, NameIsCheckedOnFocusLossAndAgainAtStart) {
  RecordingDialog d;
  auto* text1 = d.child<QLineEdit>("Text1");
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
  d.click("Command1");
  ASSERT_EQ(d.prompts.calls.size(), 2u);
  EXPECT_EQ(d.prompts.calls[1].message,
            QStringLiteral("認識名称には次の文字は使えません\r\r           温"));
  EXPECT_EQ(text1->text(), QStringLiteral("LG01"));
  EXPECT_TRUE(d.requests.empty());
}

TEST(RecordingSettingsDialog, StartHandsOnTheChosenValuesAndTheReservedDayHourAndMinute) {
  RecordingDialog d;
  d.child<QLineEdit>("Text1")->setText(QStringLiteral("T1"));
  for (const char* option : {"Option1", "Option6", "Option4", "Option7"}) d.click(option);
  d.child<QComboBox>("Combo2")->setCurrentText(QStringLiteral("15"));
  d.set("VScroll1", 35);
  d.set("VScroll2", -5);
  d.click("Command1");
  ASSERT_EQ(d.requests.size(), 1u);
  EXPECT_EQ(d.requests[0],
            (LogStartRequest{QStringLiteral("  T1"), false, IntervalUnit::Minutes, 15, 35, false,
                             -5, true, QStringLiteral("QM120-RH"), std::nullopt}));
  EXPECT_EQ(d.dialog.result(), QDialog::Accepted);

  RecordingDialog r;  // Jan 31 10:30
  r.click("Check1");
  r.set("VScroll3", 57);  // Mar 29: Feb has no 29th
  r.set("VScroll4", 6);
  r.set("VScroll5", 5);
  r.click("Command1");
  ASSERT_EQ(r.requests.size(), 1u);
  EXPECT_EQ(r.requests[0], (LogStartRequest{QStringLiteral("LG01"), true, IntervalUnit::Seconds, 45,
                                            30, true, 10, false, QStringLiteral("QM120-RH"),
                                            LogStartRequest::Reservation{29, 6, 5}}));

  // Just before midnight the default reservation is tomorrow 00:00.
  RecordingDialog late(loggerPreset(), QDateTime(QDate(2025, 3, 14), QTime(23, 59, 30)));
  late.click("Check1");
  EXPECT_EQ(late.label("Label5 Label6 Label7"), QStringLiteral("2025年03月15日|00時|00分"));
  late.click("Command1");
  ASSERT_EQ(late.requests.size(), 1u);
  EXPECT_EQ(late.requests[0].reservedStart, (LogStartRequest::Reservation{15, 0, 0}));
}

TEST(RecordingSettingsDialog, CancelAndBusyLinkSendNothing) {
  RecordingDialog d;
  d.dialog.setLinkBusy(true);
  d.dialog.confirm();
  EXPECT_TRUE(d.requests.empty());
  d.click("Command2");
  EXPECT_TRUE(d.requests.empty());
  EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
}

TEST(RecordingSettingsDialog, EnglishTexts) {
  RecordingDialog d(loggerPreset(), QDateTime(QDate(2025, 1, 31), QTime(10, 30, 0)),
                    UiText::Language::English);
  EXPECT_EQ(d.label("RecordingSettingsDialog Frame1 Option1 Option2 Option6 Option5 Frame4 Label3 "
                    "Label1 Command1 "
                    "Command2 Check1"),
            QStringLiteral("Recording Setting|Recognition name|One Time|Loop|Min|Sec|Alarm|"
                           "Upper bound temperature|30°C|Record Start|Cancel|"
                           "The record beginning date is reserved. "));
  d.click("Check1");
  EXPECT_EQ(d.label("Command1 Label5 Label6 Label7"),
            QStringLiteral("Reservation|2025/01/31|10|31"));
}

}  // namespace
}  // namespace termika
