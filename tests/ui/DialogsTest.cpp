// Each dialog on its own: what it shows, refuses and sends, and the window's message boxes.

#include "UiTestSupport.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/ClockDialog.h"
#include "ui/dialogs/LoggerNameDialog.h"
#include "ui/dialogs/PortSettingsDialog.h"
#include "ui/dialogs/RecordingSettingsDialog.h"
#include "ui/dialogs/UpDownBar.h"

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
  EXPECT_TRUE(form.isVisible() && cancels.size() == 1) << cancels.size();
  form.showStopping(120);
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_FALSE(form.controls().cancelButton->isEnabled() || cancels.size() != 1);
  form.finishTransfer();
  EXPECT_TRUE(form.close() && !form.isVisible());
}

TEST(AboutDialog, HardwareLineOnlyWhenAVersionIsKnown) {
  // Language, version, then caption, model, hardware (when shown) and application.
  const std::tuple<UiText::Language, const char*, const char*> cases[] = {
      {UiText::Language::Japanese, "", "バージョン|QM120-RH|ｱﾌﾟﾘｹｰｼｮﾝ Ver.1.06"},
      {UiText::Language::English, "2.10",
       "Version|QM120-RH|Hardware    Ver.2.10|Application Ver.1.06"}};
  for (const auto& [language, version, shown] : cases) {
    AboutDialog form(texts(language), QStringLiteral("QM120-RH"), QString::fromUtf8(version));
    const AboutDialog::Controls& ui = form.controls();
    std::vector<const QObject*> labels{&form, ui.modelLabel, ui.applicationLabel};
    if (!ui.hardwareLabel->isHidden()) labels.insert(labels.begin() + 2, ui.hardwareLabel);
    EXPECT_EQ(captions(labels), QString::fromUtf8(shown));
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
  EXPECT_EQ(std::tuple(c.portCombo->itemText(0), c.portCombo->count(), c.portCombo->currentText(),
                       c.portCombo->isEnabled()),
            std::tuple(QStringLiteral("1"), 16, QStringLiteral("7"), true));
  c.portCombo->setCurrentIndex(4);
  form.show();
  c.connectButton->click();
  form.discoveryProgress(5, 1);
  EXPECT_TRUE(c.progress->text() == QStringLiteral("ポート番号 5 (2)") && !form.isEnabled());
  form.connectOrDisconnect();
  form.reject();
  EXPECT_TRUE(form.isVisible());
  for (const bool found : {false, true}) {
    form.show();
    form.connectOrDisconnect();
    form.discoveryFinished(found);
    EXPECT_TRUE(!form.isVisible() &&
                form.result() == (found ? QDialog::Accepted : QDialog::Rejected))
        << found;
  }
  ASSERT_EQ(connects.size(), 2);  // the first press and the last
  EXPECT_EQ(connects.at(0).at(0).toInt(), 5);

  PortSettingsDialog open(texts(UiText::Language::English), 3, true);
  QSignalSpy disconnects(&open, &PortSettingsDialog::disconnectRequested);
  QSignalSpy none(&open, &PortSettingsDialog::connectRequested);
  EXPECT_TRUE(!open.controls().portCombo->isEnabled() &&
              open.controls().connectButton->text() == QStringLiteral("Offline"));
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
  EXPECT_TRUE(spy.size() == 1 && form.result() == QDialog::Accepted) << spy.size();
}

// A double-byte name is refused and the old one comes back (which names: NameRules); a short name
// is sent padded by the button or Enter, but not while the link is busy.
TEST(LoggerNameDialog, RefusesBadNamesAndSendsAShortOnePadded) {
  // The dialog for logger OLD1 of a QM120-RH; the names it hands on are kept.
  ScriptedPrompts prompts;
  LoggerNameDialog dialog(texts(), QStringLiteral("OLD1"), QStringLiteral("QM120-RH"), prompts);
  QLineEdit* edit = dialog.controls().nameEdit;
  QPushButton* ok = dialog.controls().okButton;
  QStringList chosen;
  QObject::connect(&dialog, &LoggerNameDialog::nameChosen,
                   [&chosen](const QString& name) { chosen << name; });
  dialog.show();
  edit->setText(QStringLiteral("名前"));
  ok->click();
  EXPECT_EQ(edit->text(), QStringLiteral("OLD1"));
  EXPECT_EQ(
      messagesShown(prompts),
      QStringList(QStringLiteral("QM120-RH|認識名称には次の文字は使えません\r\r           名 前")));
  dialog.setLinkBusy(true);
  dialog.confirm();
  EXPECT_FALSE(ok->isEnabled() || !chosen.isEmpty() || dialog.result() == QDialog::Accepted);
  dialog.setLinkBusy(false);
  edit->clear();
  QTest::keyClicks(edit, QStringLiteral("XYZUV"));  // the field takes four at most
  EXPECT_EQ(edit->text(), QStringLiteral("XYZU"));
  edit->setText(QStringLiteral("XY"));
  QTest::keyClick(edit, Qt::Key_Return);
  edit->setText(QStringLiteral("AB"));
  ok->click();
  EXPECT_EQ(chosen, (QStringList{QStringLiteral("  XY"), QStringLiteral("  AB")}));
  EXPECT_EQ(prompts.calls.size(), 1u);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// Only an explicit Yes acts (closing the box is No); an empty title is the model's name, and
// the carriage returns of the old messages break lines.
TEST(MainWindowPrompts, QuestionsActOnlyOnYesAndBoxesShowTitleAndLines) {
  AppState state;
  state.modelName = QStringLiteral("QM120-RH");
  QWidget parent;
  MessageBoxPrompts prompts(&parent, state);
  QString seen;  // title, text and buttons of the last box
  for (const auto& [button, yes] : {std::pair{QMessageBox::Yes, true},
                                    {QMessageBox::No, false},
                                    {QMessageBox::Escape, false}}) {  // Escape: the box is closed
    answerNextBox(&seen, [button](QMessageBox& box) { return box.button(button); });
    EXPECT_EQ(prompts.ask(QString(), QStringLiteral("A\r\rB\r\nC")), yes) << button;
    EXPECT_EQ(seen.section(u'|', 0, 1), QStringLiteral("QM120-RH|A\n\nB\nC"));
  }
  answerNextBox(&seen, [](QMessageBox& box) { return box.button(QMessageBox::Ok); });
  prompts.info(QStringLiteral("Download"), QStringLiteral("D"));
  EXPECT_EQ(seen.section(u'|', 0, 1), QStringLiteral("Download|D"));
}

using Controls = RecordingSettingsDialog::Controls;

// The dialog for logger LG01 (loop, upper limit 30 °C on, lower 10 °C off) opened on Jan 31
// 10:30; the requests it sends are kept.
struct RecordingDialog {
  ScriptedPrompts prompts;
  RecordingSettingsDialog dialog;
  const Controls& c = dialog.controls();
  std::vector<LogStartRequest> requests;

  explicit RecordingDialog(int interval = 45, const char* model = "QM120-RH")
      : dialog(texts(), {QStringLiteral("LG01"), true, {30, 0, 128}, {10, 0, 0}, interval, model},
               prompts, [] { return QDateTime(QDate(2025, 1, 31), QTime(10, 30)); }) {
    QObject::connect(&dialog, &RecordingSettingsDialog::startRequested,
                     [this](const LogStartRequest& r) { requests.push_back(r); });
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

// An interval the list lacks opens elsewhere (here in minutes at the last minutes value; the
// rule: RecordingSettings.PreselectsFromWhatTheLoggerReported) and the note says so; only the
// alarm model shows its limits. The flags: seconds,
// minutes, limits shown, loop, upper on, lower off, reservation on or its day bar enabled.
TEST(RecordingSettingsDialog, OpensWithTheLoggersSettings) {
  const std::pair<int, const char*> cases[] = {
      {45, "45|秒||1011110"}, {90, "60|分|ロガーの記録間隔 90 秒はこの一覧にありません。|0101110"}};
  const Translations japanese(UiText::Language::Japanese);  // for the note
  for (const auto& [interval, shown] : cases) {
    RecordingDialog d(interval, interval == 90 ? "QM100-RH" : "QM120-RH");
    const Controls& c = d.c;
    QString flags;
    for (const bool on :
         {c.secondsRadio->isChecked(), c.minutesRadio->isChecked(), !c.alarmFrame->isHidden(),
          c.loopRadio->isChecked(), c.upperOn->isChecked(), c.lowerOff->isChecked(),
          c.reserveCheck->isChecked() || c.reserveDayBar->isEnabled()})
      flags += on ? u'1' : u'0';
    EXPECT_EQ(captions({c.intervalCombo, c.intervalUnitLabel, c.intervalNote}) + u'|' + flags,
              QString::fromUtf8(shown));
    c.cancelButton->click();  // sends nothing
    EXPECT_TRUE(d.requests.empty() && d.dialog.result() == QDialog::Rejected);
  }
}

// Each bar's number goes through the settings back to every bar and label: the limits push each
// other, hour and minute wrap round, the day runs up to Mar 30 (the arithmetic and its ends:
// RecordingSettingsTest). Each upper arrow raises its number and the thumb stands higher; the
// lower arrow lowers it.
TEST(RecordingSettingsDialog, BarsShowTheirNumbersPushWrapAndRiseUpwards) {
  RecordingDialog d;
  d.c.reserveCheck->click();
  const std::tuple<UpDownBar * Controls::*, int, const char*> steps[] = {
      {nullptr, 0, "30 10 0 10 31 30℃|10℃|2025年01月31日|10時|31分|予約登録"},
      {&Controls::lowerLimitBar, 30, "31 30 0 10 31 31℃|30℃|2025年01月31日|10時|31分|予約登録"},
      {&Controls::reserveHourBar, -1, "31 30 0 23 31 31℃|30℃|2025年01月31日|23時|31分|予約登録"},
      {&Controls::reserveMinuteBar, 60, "31 30 0 23 0 31℃|30℃|2025年01月31日|23時|00分|予約登録"},
      {&Controls::reserveDayBar, 99, "31 30 58 23 0 31℃|30℃|2025年03月30日|23時|00分|予約登録"}};
  for (const auto& [bar, number, shown] : steps) {
    if (bar != nullptr) (d.c.*bar)->setNumber(number);
    EXPECT_EQ(d.shown(), QString::fromUtf8(shown)) << number;
  }
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
  d.c.reserveCheck->click();
  EXPECT_EQ(captions({d.c.reserveDateLabel, d.c.reserveHourLabel, d.c.startButton}),
            QStringLiteral("----年--月--日|--時|記録開始"));
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
  d.c.startButton->click();  // still reserving ("予約登録"), from one minute after now
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
  EXPECT_TRUE(d.requests.empty() && d.dialog.result() != QDialog::Accepted);

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
