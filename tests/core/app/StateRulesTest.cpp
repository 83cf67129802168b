#include <gtest/gtest.h>

#include <vector>

#include "core/app/StateRules.h"
#include "core/data/DayTime.h"
#include "core/model/AppState.h"

namespace termika {
namespace {

using enum Control;
using enum RunState;
using Colour = PanelColour;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

const UiText& japanese() {
  static const UiText kT = UiText::load(UiText::Language::Japanese);
  return kT;
}

const ControlList kAlarmLabels{UpperAlarm, UpperAlarmCaption, LowerAlarmCaption, LowerAlarm};

// A QM120-RH that recorded since 2024-05-01 10:00:00, 400 bytes, 60 s, with an upper alarm of
// 30 °C on and the lower one off; 300 s is set for the next recording, and a reservation (shown
// only while one is pending) for day 5, 07:03.
struct Fixture {
  LoggerStatus status;
  StateInputs in;
  Fixture(bool connected, RunState runState) {
    status.recordingStart = toDaySerial({2024, 5, 1, 10, 0, 0});
    status.usedMemory = 400;
    status.recordedInterval = 60;
    status.intervalSetting = 300;
    status.upperAlarm = {30, 0, 128};
    status.reservationDay = 5;
    status.reservationHour = 7;
    status.reservationMinute = 3;
    in.connected = connected;
    in.portNumber = 3;
    in.runState = runState;
    in.modelName = QStringLiteral("QM120-RH");
    in.status = &status;
    in.texts = &japanese();
  }
  MainWindowState run() const { return mainWindowStateFor(in); }
};

// The texts of the controls joined by "|", "?" for one left unset (a stale text would stay).
QString textsOf(const MainWindowState& s, const ControlList& controls) {
  QStringList out;
  for (Control control : controls) out << s.of(control).text.value_or(QStringLiteral("?"));
  return out.join(u'|');
}

// The rows of the state table: which controls each state enables and disables, and the texts of
// the record button, the recording state and the continuous button.
TEST(StateRules, EnablingAndTextsFollowTheRowOfTheTable) {
  const std::tuple<bool, RunState, const char*> rows[] = {
      {false, Idle, "記録開始|----|連続測定"},       {true, Idle, "記録開始|記録停止|連続測定"},
      {true, Continuous, "記録開始|記録停止|停止"},  {true, Reserved, "予約取消|予約中|連続測定"},
      {true, Recording, "記録停止|記録中|連続測定"}, {true, Idle, "記録開始|記録停止|連続測定"}};
  // A column per row: not connected, idle, continuous, reserved, recording and downloading, when
  // nothing may switch, print, open or save the sets. 1 enabled, 0 disabled (and set, so that a
  // stale state is cleared), "." not the row's concern.
  const std::pair<Control, const char*> enabling[] = {
      {BaudCombo, "100..."},       {PortCombo, "10000."},          {FileMenu, "1.111."},
      {DisplayMenu, "110110"},     {LogViewMenu, "1..11."},        {RealTimeViewMenu, "11.00."},
      {SetChoice, "11...0"},       {LogSetRadio, "110110"},        {RealTimeSetRadio, "1.100."},
      {FileSetRadio, "1.0110"},    {DumpRadio, "111110"},          {InitButton, "011..0"},
      {ClockItem, "010000"},       {MeasureOnceButton, "010000"},  {ContinuousButton, "011000"},
      {RecordButton, "010110"},    {SaveRealTimeButton, "..0..."}, {PrintRealTimeButton, "..0..0"},
      {PrintFileButton, ".....0"}, {DownloadModeMenu, ".....0"},   {TemperatureWidthBar, ".....0"}};
  for (size_t row = 0; row < std::size(rows); ++row) {
    SCOPED_TRACE(row);
    const auto& [connected, runState, texts] = rows[row];
    Fixture f(connected, runState);
    f.in.downloading = row == 5;
    f.in.setCounts = {0, 4, 3};
    const MainWindowState s = f.run();
    if (f.in.downloading) {
      EXPECT_EQ(textsOf(s, {LiveTemperature, LiveHumidity, LiveTime}), "||");
    }
    for (const auto& [control, states] : enabling) {
      if (states[row] == '.') continue;
      EXPECT_EQ(s.isEnabled(control), states[row] == '1') << int(control);
      EXPECT_TRUE(s.of(control).enabled.has_value()) << int(control);
    }
    EXPECT_EQ(textsOf(s, {RecordButton, RecordingState, ContinuousButton}), u(texts));
  }
}

TEST(StateRules, PanelDescribesTheConnectedLoggerAndIsEmptiedWithoutOneOrWithoutInputs) {
  const MainWindowState off = Fixture(false, Idle).run();
  EXPECT_EQ(std::tuple(off.windowCaption, off.modelName, off.connectPictureOn, off.stopLink),
            std::tuple(u("[Termika] 温湿度ロガー "), u("Termika"), false, true));
  EXPECT_EQ(textsOf(off, {LiveTime, LiveTemperature, LiveHumidity, UpperAlarm, LowerAlarm,
                          BatteryIndicator, LoggerClock}),
            "||||||");
  EXPECT_EQ(off.of(BatteryVoltage).background, Colour::ButtonFace);
  EXPECT_EQ(off.of(StopNotice).background, Colour::ButtonFace);

  Fixture withFile(true, Idle);
  withFile.in.fileSetFile = u("R101_130501_100000.csv");
  for (const auto& [shown, caption] :
       {std::pair{kLogSet, "[Termika] 温湿度ロガー QM120-RH"},
        {kFileSet, "[Termika] 温湿度ロガー QM120-RH - R101_130501_100000.csv"}}) {
    withFile.in.currentSet = shown;
    EXPECT_EQ(withFile.run().windowCaption, u(caption));
  }
  const MainWindowState on = Fixture(true, Idle).run();
  EXPECT_TRUE(on.connectPictureOn && !on.stopLink);
  EXPECT_EQ(on.statusBarText, u("通信中\u3000ポート3"));
  EXPECT_EQ(textsOf(on, {RecordingStart, RecordingMode, UpperAlarm, LowerAlarm, RecordedPoints,
                         IntervalSeconds, IntervalText, StopNotice}),
            u("2024/05/01 10:00:00|ワンタイム|30 ℃|OFF|100 点|60|1 分|"));
  for (const char* model : {"QM120-RH", "QM100-RH", "QM200-RHA", ""}) {  // only one has alarms
    Fixture f(true, Idle);
    f.in.modelName = u(model);
    const MainWindowState s = f.run();
    for (Control label : kAlarmLabels)
      EXPECT_EQ(s.of(label).visible, std::optional(QByteArray(model) == "QM120-RH"))
          << model << int(label);
  }
  for (const ControlState& control : mainWindowStateFor(StateInputs{}).controls)
    EXPECT_EQ(control, ControlState{});
}

TEST(StateRules, PanelTextsFollowTheLoggersStatusAndBatteryIsComparedRoundedToTwoDecimals) {
  const ControlList noStart{RecordingStart, RecordingMode, UpperAlarm, LowerAlarm};
  const ControlList points{RecordedPoints, RecordingMode};
  const ControlList battery{BatteryIndicator, LoggerClock};
  // The state, the controls and their texts after a change to the fixture's status.
  const std::tuple<RunState, ControlList, const char*, void (*)(LoggerStatus&)> cases[] = {
      // The battery answer of the connect and the logger's clock as last read.
      {Recording, battery, "正常|", [](LoggerStatus&) {}},
      {Recording, battery, "低下|2024/05/01 10:00:05",
       [](LoggerStatus& s) {
         s.batteryLow = true;
         s.deviceClock = toDaySerial({2024, 5, 1, 10, 0, 5});
       }},
      // Points are whole four-byte records; a wrapped loop memory is full, a wrap without loop
      // mode is none.
      {Recording, points, "2 点|ワンタイム", [](LoggerStatus& s) { s.usedMemory = 10; }},
      {Recording, points, "15000 点|ループ",
       [](LoggerStatus& s) {
         s.usedMemory = 40;
         s.loopMode = 1;
         s.memoryWrapped = 2;
       }},
      {Recording, points, "10 点|ワンタイム",
       [](LoggerStatus& s) {
         s.usedMemory = 40;
         s.memoryWrapped = 2;
       }},
      {Idle, {StopNotice}, "電圧低下により終了", [](LoggerStatus& s) { s.stopReason = "Stop"; }},
      // A reservation shows its start, no points and the interval held for it, and clears the
      // low-voltage notice.
      {Reserved,
       {RecordingStart, RecordedPoints, IntervalText, StopNotice},
       "05日07時03分 記録開始|0 点|5 分|",
       [](LoggerStatus& s) { s.stopReason = "Stop"; }},
      {Recording, noStart, "----/--/-- --:--:--|||",
       [](LoggerStatus& s) {
         s.recordingStart = toDaySerial({1999, 12, 31, 23, 59, 59});
       }},
      {Recording, noStart, "----/--/-- --:--:--|||",
       [](LoggerStatus& s) { s.recordingStart.reset(); }},
  };
  for (const auto& [runState, controls, texts, change] : cases) {
    SCOPED_TRACE(texts);
    Fixture f(true, runState);
    change(f.status);
    const MainWindowState s = f.run();
    EXPECT_EQ(textsOf(s, controls), u(texts));
    // Only the stopped logger shows the low-voltage end.
    EXPECT_EQ(s.of(StopNotice).background, runState == Idle ? Colour::Red : Colour::ButtonFace);
    EXPECT_EQ(s.of(BatteryIndicator).foreground, f.status.batteryLow ? Colour::Red : Colour::Black);
  }
  // Volts and battery status: the text, its colour and whether a recording may start.
  const std::tuple<std::optional<double>, const char*, const char*, Colour, bool> batteries[] = {
      {774 * 3.3 / 1023, "", "2.50 V", Colour::ButtonFace, true},  // 2.4967 rounds up
      {773 * 3.3 / 1023, "", "ＮＧ 2.49 V", Colour::Red, false},   // 2.4935
      {3.1, "Error", "ＮＧ 3.10 V", Colour::Red, false},
      {std::nullopt, "", "----", Colour::ButtonFace, false},
      {std::nullopt, "Error", "----", Colour::Red, false},
  };
  for (const auto& [volts, status, text, colour, allowsRecording] : batteries) {
    Fixture f(true, Idle);
    f.status.batteryVoltage = volts;
    f.status.batteryStatus = u(status);
    const MainWindowState s = f.run();
    EXPECT_EQ(s.textOf(BatteryVoltage), u(text));
    EXPECT_EQ(std::pair(s.of(BatteryVoltage).background, batteryAllowsRecording(f.status)),
              std::pair(std::optional(colour), allowsRecording))
        << text;
  }
}

TEST(StateRules, TailEnablesByTheCountsOfTheSetsAndShowsTheCurrentSetInItsMode) {
  // Continuous measuring disables the fit button and the real-time buttons itself: the counts
  // decide last.
  const ControlList navigation{TemperatureHalfSpanBar, FitButton, TimeZoomOut};
  const ControlList realSave{SaveRealTimeItem, SaveRealTimeButton};
  const ControlList logSave{SaveLogItem, PrintLogButton};
  // State, set counts and the current set: navigation, real-time save, log save, file print and
  // print enabled.
  const std::tuple<RunState, std::array<int, 3>, int, bool, bool, bool, bool, bool> cases[] = {
      {Idle, {0, 0, 0}, 0, false, false, false, false, false},
      {Idle, {5, 0, 0}, 0, true, false, true, false, true},
      {Idle, {5, 0, 0}, 2, false, false, true, false, false},
      {Idle, {0, 7, 3}, 1, true, true, false, true, true},
      {Continuous, {0, 7, 0}, 1, true, false, false, false, true},
      {Recording, {0, 7, 9}, 2, true, true, false, true, true},
  };
  for (const auto& [runState, counts, current, navigates, realSaves, logSaves, filePrint, print] :
       cases) {
    Fixture f(true, runState);
    f.in.setCounts = counts;
    f.in.currentSet = current;
    const MainWindowState s = f.run();
    for (const auto& [list, enabled] :
         {std::pair{&navigation, navigates}, {&realSave, realSaves}, {&logSave, logSaves}}) {
      for (Control control : *list)
        EXPECT_EQ(s.isEnabled(control), enabled) << int(runState) << " " << int(control);
    }
    EXPECT_EQ(std::pair(s.isEnabled(PrintFileButton), s.isEnabled(PrintItem)),
              std::pair(filePrint, print));
  }
  // The current set and the view mode: the set's caption and the dump list shown.
  const std::tuple<int, int, const char*, std::optional<Control>> shown[] = {
      {0, 0, "ログ", std::nullopt},
      {1, 1, "リアルタイム", RealTimeDumpList},
      {2, 1, "ファイル", FileDumpList}};
  for (const auto& [set, mode, label, shownList] : shown) {
    Fixture f(true, Idle);
    f.in.currentSet = set;
    f.in.viewMode = mode;
    const MainWindowState s = f.run();
    for (Control list : {LogDumpList, RealTimeDumpList, FileDumpList})
      EXPECT_EQ(s.isVisible(list), list == shownList) << int(list);
    EXPECT_EQ(s.textOf(ShownSetCaption), u(label));
    EXPECT_EQ(std::pair(s.isVisible(TemperatureGraph), s.isVisible(HumidityGraph)),
              std::pair(mode == 0, mode == 0));
  }
}

}  // namespace
}  // namespace termika
