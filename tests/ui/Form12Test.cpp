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

#include "FormPrompts.h"
#include "core/app/UiText.h"
#include "ui/dialogs/Form12.h"

namespace termika {
namespace {

RecordingPreset loggerPreset(int interval = 45, const char* model = "QM120-RH") {
  RecordingPreset p;
  p.LoggerName = QStringLiteral("LG01");
  p.Loop = true;
  p.UpperAlarm = {30, 0, 128};
  p.LowerAlarm = {10, 0, 0};
  p.IntervalSeconds = interval;
  p.Model = QString::fromUtf8(model);
  return p;
}

struct RecordingDialog {
  UiText texts;
  FormPrompts prompts;
  QDateTime now;
  Form12 dialog;
  std::vector<LogStartRequest> requests;

  explicit RecordingDialog(const RecordingPreset& preset = loggerPreset(),
                           QDateTime clock = QDateTime(QDate(2025, 1, 31), QTime(10, 30, 0)),
                           UiText::Language language = UiText::Language::Japanese)
      : texts(UiText::load(language)),
        now(clock),
        dialog(texts, preset, prompts, [this] { return now; }) {
    QObject::connect(&dialog, &Form12::startRequested,
                     [this](const LogStartRequest& request) { requests.push_back(request); });
  }
  template <typename T>
  T* child(const char* name) {
    T* found = dialog.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QString label(const char* name) { return child<QLabel>(name)->text(); }
};

TEST(Form12, OpensWithTheLoggersSettings) {
  RecordingDialog d;
  EXPECT_EQ(d.child<QLineEdit>("Text1")->text(), QStringLiteral("LG01"));
  EXPECT_TRUE(d.child<QRadioButton>("Option2")->isChecked());
  EXPECT_FALSE(d.child<QRadioButton>("Option1")->isChecked());
  EXPECT_TRUE(d.child<QRadioButton>("Option5")->isChecked());
  auto* combo = d.child<QComboBox>("Combo2");
  EXPECT_FALSE(combo->isEditable());
  EXPECT_EQ(combo->count(), 58);
  EXPECT_EQ(combo->currentText(), QStringLiteral("45"));
  EXPECT_EQ(d.label("Label8"), QStringLiteral("秒"));
  EXPECT_EQ(d.child<QScrollBar>("VScroll1")->value(), 30);
  EXPECT_EQ(d.child<QScrollBar>("VScroll2")->value(), 10);
  EXPECT_EQ(d.label("Label1"), QStringLiteral("30℃"));
  EXPECT_EQ(d.label("Label2"), QStringLiteral("10℃"));
  EXPECT_TRUE(d.child<QRadioButton>("Option3")->isChecked());
  EXPECT_TRUE(d.child<QRadioButton>("Option8")->isChecked());
  EXPECT_FALSE(d.child<QCheckBox>("Check1")->isChecked());
  EXPECT_EQ(d.label("Label5"), QStringLiteral("----年--月--日"));
  EXPECT_EQ(d.label("Label6"), QStringLiteral("--時"));
  EXPECT_EQ(d.label("Label7"), QStringLiteral("--分"));
  EXPECT_FALSE(d.child<QScrollBar>("VScroll3")->isEnabled());
  EXPECT_EQ(d.child<QPushButton>("Command1")->text(), QStringLiteral("記録開始"));
  EXPECT_EQ(d.dialog.windowTitle(), QStringLiteral("記録開始"));
}

TEST(Form12, IntervalsTheListCannotShowOpenInMinutes) {
  for (const int interval : {90, 14460}) {
    RecordingDialog d(loggerPreset(interval));
    EXPECT_TRUE(d.child<QRadioButton>("Option6")->isChecked()) << interval;
    EXPECT_EQ(d.child<QComboBox>("Combo2")->currentText(), QStringLiteral("60")) << interval;
    EXPECT_EQ(d.child<QComboBox>("Combo2")->count(), 240);
  }
  RecordingDialog d(loggerPreset(14400));
  EXPECT_EQ(d.child<QComboBox>("Combo2")->currentText(), QStringLiteral("240"));
}

TEST(Form12, AlarmFrameFollowsTheConnectedModel) {
  RecordingDialog qm120(loggerPreset(45, "QM120-RH"));
  EXPECT_FALSE(qm120.child<QGroupBox>("Frame4")->isHidden());
  RecordingDialog qm100(loggerPreset(45, "QM100-RH"));
  EXPECT_TRUE(qm100.child<QGroupBox>("Frame4")->isHidden());
}

TEST(Form12, UnitSwitchRestoresEachUnitsLastValue) {
  RecordingDialog d;
  auto* combo = d.child<QComboBox>("Combo2");
  combo->setCurrentText(QStringLiteral("12"));
  d.child<QRadioButton>("Option6")->click();
  EXPECT_EQ(combo->currentText(), QStringLiteral("60"));
  EXPECT_EQ(d.label("Label8"), QStringLiteral("分"));
  combo->setCurrentText(QStringLiteral("5"));
  d.child<QRadioButton>("Option5")->click();
  EXPECT_EQ(combo->currentText(), QStringLiteral("12"));
  d.child<QRadioButton>("Option6")->click();
  EXPECT_EQ(combo->currentText(), QStringLiteral("5"));
}

TEST(Form12, RaisingTheLowerLimitPushesTheUpperOne) {
  RecordingDialog d;
  d.child<QScrollBar>("VScroll2")->setValue(30);
  EXPECT_EQ(d.child<QScrollBar>("VScroll1")->value(), 31);
  EXPECT_EQ(d.label("Label1"), QStringLiteral("31℃"));
  EXPECT_EQ(d.label("Label2"), QStringLiteral("30℃"));
  d.child<QScrollBar>("VScroll1")->setValue(-19);
  EXPECT_EQ(d.child<QScrollBar>("VScroll2")->value(), -20);
  EXPECT_EQ(d.child<QScrollBar>("VScroll1")->minimum(), -19);
  EXPECT_EQ(d.child<QScrollBar>("VScroll1")->maximum(), 70);
  EXPECT_EQ(d.child<QScrollBar>("VScroll2")->minimum(), -20);
  EXPECT_EQ(d.child<QScrollBar>("VScroll2")->maximum(), 69);
}

TEST(Form12, ReservationScrollsShowDateHourAndMinuteAndWrap) {
  RecordingDialog d;
  d.child<QCheckBox>("Check1")->click();
  EXPECT_EQ(d.child<QPushButton>("Command1")->text(), QStringLiteral("予約登録"));
  EXPECT_EQ(d.label("Label5"), QStringLiteral("2025年01月31日"));
  EXPECT_EQ(d.label("Label6"), QStringLiteral("10時"));
  EXPECT_EQ(d.label("Label7"), QStringLiteral("31分"));
  EXPECT_EQ(d.child<QScrollBar>("VScroll3")->maximum(), 58);
  d.child<QScrollBar>("VScroll4")->setValue(-1);
  EXPECT_EQ(d.child<QScrollBar>("VScroll4")->value(), 23);
  EXPECT_EQ(d.label("Label6"), QStringLiteral("23時"));
  d.child<QScrollBar>("VScroll4")->setValue(24);
  EXPECT_EQ(d.label("Label6"), QStringLiteral("00時"));
  d.child<QScrollBar>("VScroll5")->setValue(60);
  EXPECT_EQ(d.label("Label7"), QStringLiteral("00分"));
  d.child<QScrollBar>("VScroll3")->setValue(1);
  EXPECT_EQ(d.label("Label5"), QStringLiteral("2025年02月01日"));
  d.child<QCheckBox>("Check1")->click();
  EXPECT_EQ(d.label("Label5"), QStringLiteral("----年--月--日"));
  EXPECT_EQ(d.child<QPushButton>("Command1")->text(), QStringLiteral("記録開始"));
}

TEST(Form12, JustBeforeMidnightTheDefaultIsTomorrow) {
  RecordingDialog d(loggerPreset(), QDateTime(QDate(2025, 3, 14), QTime(23, 59, 30)));
  d.child<QCheckBox>("Check1")->click();
  EXPECT_EQ(d.label("Label5"), QStringLiteral("2025年03月15日"));
  EXPECT_EQ(d.label("Label6"), QStringLiteral("00時"));
  EXPECT_EQ(d.label("Label7"), QStringLiteral("00分"));
  d.child<QPushButton>("Command1")->click();
  ASSERT_EQ(d.requests.size(), 1u);
  EXPECT_EQ(d.requests[0].ReservedStart, (LogStartRequest::Reservation{15, 0, 0}));
}

TEST(Form12, ReservationThatWouldStartEarlierIsRefused) {
  RecordingDialog d;  // Jan 31 10:30
  d.child<QCheckBox>("Check1")->click();
  d.child<QScrollBar>("VScroll3")->setValue(29);  // Mar 1: day 1 comes first on Feb 1
  EXPECT_EQ(d.label("Label5"), QStringLiteral("2025年03月01日"));
  d.child<QPushButton>("Command1")->click();
  ASSERT_EQ(d.prompts.shown.size(), 1u);
  EXPECT_EQ(d.prompts.shown[0].title, QStringLiteral("QM100-RH"));
  EXPECT_EQ(d.prompts.shown[0].message, QStringLiteral("予約時間に誤りがあります"));
  EXPECT_TRUE(d.requests.empty());
  EXPECT_NE(d.dialog.result(), QDialog::Accepted);
  // The reservation starts over from one minute after now.
  EXPECT_TRUE(d.child<QCheckBox>("Check1")->isChecked());
  EXPECT_EQ(d.label("Label5"), QStringLiteral("2025年01月31日"));
  EXPECT_EQ(d.label("Label7"), QStringLiteral("31分"));
}

TEST(Form12, ReservationInThePastIsRefused) {
  RecordingDialog d;
  d.child<QCheckBox>("Check1")->click();
  d.child<QScrollBar>("VScroll4")->setValue(9);
  d.child<QPushButton>("Command1")->click();
  EXPECT_EQ(d.prompts.shown.size(), 1u);
  EXPECT_TRUE(d.requests.empty());
}

TEST(Form12, NameIsCheckedOnFocusLossAndAgainAtStart) {
  RecordingDialog d;
  auto* text1 = d.child<QLineEdit>("Text1");
  text1->setText(QStringLiteral("A:B"));
  QFocusEvent out(QEvent::FocusOut);
  QCoreApplication::sendEvent(text1, &out);
  ASSERT_EQ(d.prompts.shown.size(), 1u);
  EXPECT_EQ(d.prompts.shown[0].title, QStringLiteral("QM120-RH"));
  EXPECT_EQ(d.prompts.shown[0].message,
            QStringLiteral("認識名称には次の文字は使えません\r\r           \\ / : * ? \" < > |"));
  EXPECT_EQ(text1->text(), QStringLiteral("LG01"));

  // Typed and confirmed without leaving the field.
  text1->setText(QStringLiteral("ﾃｽﾄ温"));
  d.child<QPushButton>("Command1")->click();
  ASSERT_EQ(d.prompts.shown.size(), 2u);
  EXPECT_EQ(d.prompts.shown[1].message,
            QStringLiteral("認識名称には次の文字は使えません\r\r           温"));
  EXPECT_EQ(text1->text(), QStringLiteral("LG01"));
  EXPECT_TRUE(d.requests.empty());
}

TEST(Form12, StartHandsOnTheChosenValues) {
  RecordingDialog d;
  d.child<QLineEdit>("Text1")->setText(QStringLiteral("T1"));
  d.child<QRadioButton>("Option1")->click();
  d.child<QRadioButton>("Option6")->click();
  d.child<QComboBox>("Combo2")->setCurrentText(QStringLiteral("15"));
  d.child<QScrollBar>("VScroll1")->setValue(35);
  d.child<QScrollBar>("VScroll2")->setValue(-5);
  d.child<QRadioButton>("Option4")->click();
  d.child<QRadioButton>("Option7")->click();
  d.child<QPushButton>("Command1")->click();
  ASSERT_EQ(d.requests.size(), 1u);
  LogStartRequest want;
  want.Name = QStringLiteral("  T1");
  want.Loop = false;
  want.IntervalUnit = 131;
  want.IntervalValue = 15;
  want.UpperLimit = 35;
  want.UpperEnabled = false;
  want.LowerLimit = -5;
  want.LowerEnabled = true;
  want.Model = QStringLiteral("QM120-RH");
  EXPECT_EQ(d.requests[0], want);
  EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
}

TEST(Form12, ReservedStartCarriesDayHourAndMinute) {
  RecordingDialog d;  // Jan 31 10:30
  d.child<QCheckBox>("Check1")->click();
  d.child<QScrollBar>("VScroll3")->setValue(57);  // Mar 29: Feb has no 29th
  d.child<QScrollBar>("VScroll4")->setValue(6);
  d.child<QScrollBar>("VScroll5")->setValue(5);
  d.child<QPushButton>("Command1")->click();
  ASSERT_EQ(d.requests.size(), 1u);
  EXPECT_EQ(d.requests[0].ReservedStart, (LogStartRequest::Reservation{29, 6, 5}));
  EXPECT_EQ(d.requests[0].IntervalUnit, 130);
  EXPECT_EQ(d.requests[0].IntervalValue, 45);
}

TEST(Form12, CancelAndBusyLinkSendNothing) {
  RecordingDialog d;
  d.dialog.setLinkBusy(true);
  d.dialog.Command1_Click();
  EXPECT_TRUE(d.requests.empty());
  d.child<QPushButton>("Command2")->click();
  EXPECT_TRUE(d.requests.empty());
  EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
}

TEST(Form12, EnglishTexts) {
  RecordingDialog d(loggerPreset(), QDateTime(QDate(2025, 1, 31), QTime(10, 30, 0)),
                    UiText::Language::English);
  EXPECT_EQ(d.dialog.windowTitle(), QStringLiteral("Recording Setting"));
  EXPECT_EQ(d.child<QGroupBox>("Frame1")->title(), QStringLiteral("Recognition name"));
  EXPECT_EQ(d.child<QRadioButton>("Option1")->text(), QStringLiteral("One Time"));
  EXPECT_EQ(d.child<QRadioButton>("Option2")->text(), QStringLiteral("Loop"));
  EXPECT_EQ(d.child<QRadioButton>("Option6")->text(), QStringLiteral("Min"));
  EXPECT_EQ(d.child<QRadioButton>("Option5")->text(), QStringLiteral("Sec"));
  EXPECT_EQ(d.child<QGroupBox>("Frame4")->title(), QStringLiteral("Alarm"));
  EXPECT_EQ(d.label("Label3"), QStringLiteral("Upper bound temperature"));
  EXPECT_EQ(d.label("Label1"), QStringLiteral("30°C"));
  EXPECT_EQ(d.child<QCheckBox>("Check1")->text(),
            QStringLiteral("The record beginning date is reserved. "));
  EXPECT_EQ(d.child<QPushButton>("Command1")->text(), QStringLiteral("Record Start"));
  EXPECT_EQ(d.child<QPushButton>("Command2")->text(), QStringLiteral("Cancel"));
  d.child<QCheckBox>("Check1")->click();
  EXPECT_EQ(d.child<QPushButton>("Command1")->text(), QStringLiteral("Reservation"));
  EXPECT_EQ(d.label("Label5"), QStringLiteral("2025/01/31"));
  EXPECT_EQ(d.label("Label6"), QStringLiteral("10"));
  EXPECT_EQ(d.label("Label7"), QStringLiteral("31"));
}

}  // namespace
}  // namespace termika
