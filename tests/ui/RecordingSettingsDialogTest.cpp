#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "DialogTestSupport.h"
#include "core/base/Translations.h"
#include "core/base/UiText.h"
#include "ui/dialogs/RecordingSettingsDialog.h"
#include "ui/dialogs/UpDownBar.h"

namespace termika {
namespace {

using Controls = RecordingSettingsDialog::Controls;

// The dialog for logger LG01 (loop, upper limit 30 °C on, lower 10 °C off) opened on Jan 31
// 10:30; the requests it sends are kept.
struct RecordingDialog {
  UiText texts = UiText::load(UiText::Language::Japanese);
  ScriptedPrompts prompts;
  RecordingSettingsDialog dialog;
  const Controls& c = dialog.controls();
  std::vector<LogStartRequest> requests;

  explicit RecordingDialog(int interval = 45, const char* model = "QM120-RH")
      : dialog(texts, preset(interval, model), prompts,
               [] { return QDateTime(QDate(2025, 1, 31), QTime(10, 30)); }) {
    QObject::connect(&dialog, &RecordingSettingsDialog::startRequested,
                     [this](const LogStartRequest& r) { requests.push_back(r); });
  }
  static RecordingPreset preset(int interval, const char* model) {
    return {QStringLiteral("LG01"), true, {30, 0, 128}, {10, 0, 0}, interval, model};
  }
  // The numbers of the limit, day, hour and minute bars, then what their labels and the start
  // button say.
  QString shown() const {
    QString numbers;
    for (const UpDownBar* bar :
         {c.upperLimitBar, c.lowerLimitBar, c.reserveDayBar, c.reserveHourBar, c.reserveMinuteBar})
      numbers += QString::number(bar->number()) + ' ';
    return numbers + captions({c.upperLimitLabel, c.lowerLimitLabel, c.reserveDateLabel,
                               c.reserveHourLabel, c.reserveMinuteLabel, c.startButton});
  }
};

// An interval the list lacks opens at the nearest one it holds, or in minutes at the last
// minutes value, and the note says so; only the alarm model shows its limits.
TEST(RecordingSettingsDialog, OpensWithTheLoggersSettings) {
  const struct {
    int interval;
    const char* model;
    const char* shown;  // list, unit, note
    int choices;
  } cases[] = {{45, "QM120-RH", "45|秒|", 58},
               {1, "QM120-RH", "2|秒|ロガーの記録間隔 1 秒はこの一覧にありません。", 58},
               {90, "QM100-RH", "60|分|ロガーの記録間隔 90 秒はこの一覧にありません。", 240}};
  const Translations japanese(UiText::Language::Japanese);  // for the note
  for (const auto& k : cases) {
    RecordingDialog d(k.interval, k.model);
    const Controls& c = d.c;
    EXPECT_EQ(captions({c.intervalCombo, c.intervalUnitLabel, c.intervalNote}),
              QString::fromUtf8(k.shown));
    EXPECT_EQ(c.intervalNote->isVisibleTo(&d.dialog), k.interval != 45);
    EXPECT_EQ(c.intervalCombo->count(), k.choices);
    EXPECT_TRUE((k.choices == 58 ? c.secondsRadio : c.minutesRadio)->isChecked());
    EXPECT_EQ(c.alarmFrame->isHidden(), k.interval == 90);
    EXPECT_EQ(captions({c.nameEdit, c.upperLimitLabel, c.lowerLimitLabel, c.reserveDateLabel,
                        c.reserveHourLabel, c.reserveMinuteLabel, c.startButton}),
              QStringLiteral("LG01|30℃|10℃|----年--月--日|--時|--分|記録開始"));
    EXPECT_TRUE(c.loopRadio->isChecked() && c.upperOn->isChecked() && c.lowerOff->isChecked());
    EXPECT_FALSE(c.reserveCheck->isChecked() || c.reserveDayBar->isEnabled());
    c.cancelButton->click();  // sends nothing
    EXPECT_TRUE(d.requests.empty() && d.dialog.result() == QDialog::Rejected);
  }
}

// Each bar's number goes through the settings back to every bar and label: the limits push each
// other (their ends: RecordingSettings.LimitsPushEachOtherAndStayInRange), hour and minute wrap
// round, the day runs up to Mar 30.
TEST(RecordingSettingsDialog, BarsShowTheirNumbersPushAndWrap) {
  RecordingDialog d;
  d.c.reserveCheck->click();
  const struct {
    UpDownBar* Controls::*bar;
    int number;
    const char* shown;
  } steps[] = {
      {nullptr, 0, "30 10 0 10 31 30℃|10℃|2025年01月31日|10時|31分|予約登録"},
      {&Controls::lowerLimitBar, 30, "31 30 0 10 31 31℃|30℃|2025年01月31日|10時|31分|予約登録"},
      {&Controls::reserveHourBar, -1, "31 30 0 23 31 31℃|30℃|2025年01月31日|23時|31分|予約登録"},
      {&Controls::reserveHourBar, 24, "31 30 0 0 31 31℃|30℃|2025年01月31日|00時|31分|予約登録"},
      {&Controls::reserveMinuteBar, 60, "31 30 0 0 0 31℃|30℃|2025年01月31日|00時|00分|予約登録"},
      {&Controls::reserveDayBar, 1, "31 30 1 0 0 31℃|30℃|2025年02月01日|00時|00分|予約登録"},
      {&Controls::reserveDayBar, 99, "31 30 58 0 0 31℃|30℃|2025年03月30日|00時|00分|予約登録"},
  };
  for (const auto& s : steps) {
    if (s.bar != nullptr) (d.c.*s.bar)->setNumber(s.number);
    EXPECT_EQ(d.shown(), QString::fromUtf8(s.shown)) << s.number;
  }
  d.c.reserveCheck->click();
  EXPECT_EQ(captions({d.c.reserveDateLabel, d.c.reserveHourLabel, d.c.startButton}),
            QStringLiteral("----年--月--日|--時|記録開始"));
}

// The upper arrow raises the number and the thumb stands higher; the lower arrow lowers it.
TEST(RecordingSettingsDialog, UpperArrowsRaiseTheNumbers) {
  RecordingDialog d;
  d.c.reserveCheck->click();
  d.dialog.show();
  for (UpDownBar* b : {d.c.upperLimitBar, d.c.lowerLimitBar, d.c.reserveDayBar, d.c.reserveHourBar,
                       d.c.reserveMinuteBar}) {
    b->setNumber(b->lowest() + 1);
    const auto at = [b](QStyle::SubControl part) { return scrollBarPart(*b, part).center(); };
    const int before = b->number();
    const int thumb = at(QStyle::SC_ScrollBarSlider).y();
    QTest::mouseClick(b, Qt::LeftButton, {}, at(QStyle::SC_ScrollBarSubLine));
    EXPECT_EQ(b->number(), before + 1) << b->lowest();
    EXPECT_LE(at(QStyle::SC_ScrollBarSlider).y(), thumb) << b->lowest();
    QTest::mouseClick(b, Qt::LeftButton, {}, at(QStyle::SC_ScrollBarAddLine));
    EXPECT_EQ(b->number(), before) << b->lowest();
  }
}

// Each refusal says why, sends nothing and keeps the dialog open: a reserved Mar 1 would start on
// Feb 1 (with the title this refusal always had; the reservation starts over from one minute after
// now), a forbidden name is refused on leaving the field and a double-byte one when confirmed
// without leaving it (both bring the logger's name back), and a busy link sends nothing. Then
// every control reaches the request; a reserved Mar 29 (February has no 29th) goes as day 29.
TEST(RecordingSettingsDialog, RefusalsSayWhyAndStartSendsTheChosenValues) {
  RecordingDialog d;
  d.c.reserveCheck->click();
  d.c.reserveDayBar->setNumber(29);
  d.c.startButton->click();
  EXPECT_TRUE(d.c.reserveCheck->isChecked());
  EXPECT_EQ(d.shown(), QStringLiteral("30 10 0 10 31 30℃|10℃|2025年01月31日|10時|31分|予約登録"));
  d.c.nameEdit->setText(QStringLiteral("A:B"));
  QFocusEvent out(QEvent::FocusOut);
  QCoreApplication::sendEvent(d.c.nameEdit, &out);
  EXPECT_EQ(d.c.nameEdit->text(), QStringLiteral("LG01"));
  d.c.nameEdit->setText(QStringLiteral("ﾃｽﾄ温"));
  d.c.startButton->click();
  EXPECT_EQ(d.c.nameEdit->text(), QStringLiteral("LG01"));
  const QString name = QStringLiteral("QM120-RH|認識名称には次の文字は使えません\r\r           ");
  EXPECT_EQ(messagesShown(d.prompts),
            (QStringList{QStringLiteral("QM100-RH|予約時間に誤りがあります"),
                         name + QStringLiteral("\\ / : * ? \" < > |"), name + u'温'}));
  d.dialog.setLinkBusy(true);
  d.dialog.confirm();
  EXPECT_TRUE(d.requests.empty());
  EXPECT_NE(d.dialog.result(), QDialog::Accepted);

  d.dialog.setLinkBusy(false);
  d.c.nameEdit->setText(QStringLiteral("T1"));
  for (QRadioButton* option : {d.c.oneTimeRadio, d.c.minutesRadio, d.c.upperOff, d.c.lowerOn})
    option->click();
  d.c.intervalCombo->setCurrentText(QStringLiteral("15"));
  for (const auto& [bar, number] : {std::pair{d.c.upperLimitBar, 35},
                                    {d.c.lowerLimitBar, -5},
                                    {d.c.reserveDayBar, 57},
                                    {d.c.reserveHourBar, 6},
                                    {d.c.reserveMinuteBar, 5}})
    bar->setNumber(number);
  d.c.startButton->click();
  const LogStartRequest sent{
      QStringLiteral("  T1"),     false,       IntervalUnit::Minutes, 15, 35, false, -5, true,
      QStringLiteral("QM120-RH"), {{29, 6, 5}}};
  EXPECT_EQ(d.requests, std::vector{sent});
  EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace termika
