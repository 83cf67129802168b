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

// A QM120-RH that recorded since 2024-05-01 10:00:00, 400 bytes, 60 s, with an
// upper alarm of 30 °C on and the lower one off, at 3.00 V; 300 s is set for
// the next recording, and a reservation (shown only while one is pending) for
// day 5, 07:03.
struct Fixture {
  LoggerStatus status;
  StateInputs in;
  Fixture(bool connected, RunState runState) {
    status.loggerName = QStringLiteral("AB12");
    status.recordingStart = toDaySerial({2024, 5, 1, 10, 0, 0});
    status.usedMemory = 400;
    status.recordedInterval = 60;
    status.intervalSetting = 300;
    status.upperAlarm = {30, 0, 128};
    status.lowerAlarm = {-5, 0, 0};
    status.batteryVoltage = 3.0;
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

using ControlTexts = std::vector<std::pair<Control, const char*>>;

// Each control's text; an empty text must still be set, so that a stale one is
// cleared.
void expectTexts(const MainWindowState& s, const ControlTexts& texts) {
  for (const auto& [control, text] : texts) {
    EXPECT_TRUE(s.of(control).text.has_value()) << int(control);
    EXPECT_EQ(s.textOf(control), u(text)) << int(control);
  }
}

// One row of the state table: controls enabled / disabled and the texts of
// the record button, the recording state and the continuous button.
TEST(StateRules, EnablingAndTextsFollowTheRowOfTheTable) {
  struct Row {
    bool connected;
    RunState runState;
    ControlList enabled, disabled;
    const char* texts;  // record button|recording state|continuous button
    bool downloading = false;
  };
  // Recording and a pending reservation lock the same controls.
  const ControlList busyOn{StatusUpdateButton, RecordButton, FileMenu,    DisplayMenu,  ToolMenu,
                           OpenCsvItem,        SaveMenu,     LogViewMenu, FileViewMenu, LogSetRadio,
                           FileSetRadio,       GraphRadio,   DumpRadio};
  const ControlList busyOff{RealTimeViewMenu, RealTimeSetRadio, MeasureOnceButton,
                            ContinuousButton, DownloadButton,   NameButton,
                            ClockItem,        LoggerNameItem,   PortCombo};
  const Row rows[] = {
      {false,
       Idle,
       {BaudCombo, ModelCombo, PortCombo, FileMenu, DisplayMenu, ToolMenu, OpenCsvItem, SaveMenu,
        LogViewMenu, RealTimeViewMenu, FileViewMenu, SetChoice, ViewChoice, LogSetRadio,
        RealTimeSetRadio, FileSetRadio, GraphRadio, DumpRadio},
       {InitButton, ClockItem, LoggerNameItem, MeasureOnceButton, ContinuousButton, RecordButton,
        DownloadButton, StatusUpdateButton, NameButton, SpacingSecondsRadio, SpacingMinutesRadio,
        SpacingCombo},
       "記録開始|----|連続測定"},
      {true,
       Idle,
       {InitButton,          MeasureOnceButton,  ContinuousButton, RecordButton,
        DownloadButton,      StatusUpdateButton, NameButton,       SpacingSecondsRadio,
        SpacingMinutesRadio, LogSetRadio,        DumpRadio,        SpacingCombo,
        DisplayMenu,         OpenCsvItem,        SaveMenu,         RealTimeViewMenu,
        ClockItem,           LoggerNameItem,     SetChoice,        ViewChoice},
       {BaudCombo, ModelCombo, PortCombo},
       "記録開始|記録停止|連続測定"},
      {true,
       Continuous,
       {ContinuousButton, FileMenu, ToolMenu, RealTimeSetRadio, GraphRadio, DumpRadio, InitButton},
       {LogSetRadio, FileSetRadio, SaveRealTimeButton, PrintRealTimeButton, SaveRealTimeItem,
        MeasureOnceButton, RecordButton, DownloadButton, StatusUpdateButton, DisplayMenu,
        OpenCsvItem, SaveMenu, ClockItem, LoggerNameItem, BaudCombo, PortCombo},
       "記録開始|記録停止|停止"},
      {true, Reserved, busyOn, busyOff, "予約取消|予約中|連続測定"},
      {true, Recording, busyOn, busyOff, "記録停止|記録中|連続測定"},
      // Nothing may switch, print, open or save the sets while a download fills
      // the log set.
      {true,
       Idle,
       {},
       {LogSetRadio,        FileSetRadio,     GraphRadio,
        DumpRadio,          SetChoice,        DisplayMenu,
        LogGraphItem,       RealTimeDumpItem, PrintItem,
        OpenCsvItem,        SaveMenu,         SaveRealTimeItem,
        OpenCsvButton,      SaveLogButton,    PrintRealTimeButton,
        PrintFileButton,    DownloadModeMenu, FastDownloadItem,
        SlowDownloadItem,   DownloadButton,   MeasureOnceButton,
        ContinuousButton,   RecordButton,     StatusUpdateButton,
        NameButton,         InitButton,       ClockItem,
        TemperatureWidthBar},
       "記録開始|記録停止|連続測定",
       true},
  };
  for (const Row& c : rows) {
    SCOPED_TRACE(c.texts);
    Fixture f(c.connected, c.runState);
    f.in.downloading = c.downloading;
    f.in.setCounts = {0, 4, 3};
    const MainWindowState s = f.run();
    if (c.downloading) expectTexts(s, {{LiveTemperature, ""}, {LiveHumidity, ""}, {LiveTime, ""}});
    for (Control control : c.enabled) EXPECT_TRUE(s.isEnabled(control)) << int(control);
    for (Control control : c.disabled) {
      EXPECT_FALSE(s.isEnabled(control)) << int(control);
      EXPECT_TRUE(s.of(control).enabled.has_value()) << int(control);
    }
    EXPECT_EQ(s.textOf(RecordButton) + u'|' + s.textOf(RecordingState) + u'|' +
                  s.textOf(ContinuousButton),
              u(c.texts));
  }
}

TEST(StateRules, PanelDescribesTheConnectedLoggerAndIsEmptiedWithoutOne) {
  const MainWindowState off = Fixture(false, Idle).run();
  EXPECT_EQ(off.windowCaption, u("[Termika] 温湿度ロガー "));
  EXPECT_EQ(off.modelName, u("Termika"));
  EXPECT_TRUE(!off.connectPictureOn && off.stopLink);
  expectTexts(off, {{LiveTime, ""},
                    {LiveTemperature, ""},
                    {LiveHumidity, ""},
                    {UpperAlarm, ""},
                    {LowerAlarm, ""},
                    {BatteryIndicator, ""},
                    {LoggerClock, ""}});
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
  expectTexts(on, {{RecordingStart, "2024/05/01 10:00:00"},
                   {RecordingMode, "ワンタイム"},
                   {UpperAlarm, "30 ℃"},
                   {LowerAlarm, "OFF"},
                   {RecordedPoints, "100 点"},
                   {IntervalSeconds, "60"},
                   {IntervalText, "1 分"},
                   {StopNotice, ""}});
  for (Control label : kAlarmLabels) EXPECT_TRUE(on.isVisible(label)) << int(label);
}

TEST(StateRules, PanelTextsFollowTheLoggersStatus) {
  const ControlTexts noStart{{RecordingStart, "----/--/-- --:--:--"},
                             {RecordingMode, ""},
                             {UpperAlarm, ""},
                             {LowerAlarm, ""}};
  const struct Case {
    ControlTexts texts;
    RunState runState = Recording;
    int used = 400, loop = 0, wrapped = 0;
    const char* stop = "";
    std::optional<double> start = toDaySerial({2024, 5, 1, 10, 0, 0});
    Colour label8 = Colour::ButtonFace;
    bool batteryLow = false;
    std::optional<double> clock = std::nullopt;
  } cases[] = {
      // The battery answer of the connect and the logger's clock as last read.
      {.texts = {{BatteryIndicator, "正常"}, {LoggerClock, ""}}},
      {.texts = {{BatteryIndicator, "低下"}, {LoggerClock, "2024/05/01 10:00:05"}},
       .batteryLow = true,
       .clock = toDaySerial({2024, 5, 1, 10, 0, 5})},
      // Points are whole four-byte records; a wrapped loop memory is full, a
      // wrap without loop
      // mode is none.
      {.texts = {{RecordedPoints, "2 点"}, {RecordingMode, "ワンタイム"}}, .used = 10},
      {.texts = {{RecordedPoints, "15000 点"}, {RecordingMode, "ループ"}},
       .used = 40,
       .loop = 1,
       .wrapped = 2},
      {.texts = {{RecordedPoints, "10 点"}, {RecordingMode, "ワンタイム"}},
       .used = 40,
       .wrapped = 2},
      {.texts = {{StopNotice, "電圧低下により終了"}},
       .runState = Idle,
       .stop = "Stop",
       .label8 = Colour::Red},
      // A reservation shows its start, no points and the interval held for it,
      // and clears the
      // low-voltage notice.
      {.texts = {{RecordingStart, "05日07時03分 記録開始"},
                 {RecordedPoints, "0 点"},
                 {IntervalText, "5 分"},
                 {StopNotice, ""}},
       .runState = Reserved,
       .stop = "Stop"},
      {.texts = noStart, .start = toDaySerial({1999, 12, 31, 23, 59, 59})},
      {.texts = noStart, .start = std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.texts[0].second);
    Fixture f(true, c.runState);
    f.status.usedMemory = c.used;
    f.status.loopMode = static_cast<std::uint8_t>(c.loop);
    f.status.memoryWrapped = static_cast<std::uint8_t>(c.wrapped);
    f.status.stopReason = u(c.stop);
    f.status.recordingStart = c.start;
    f.status.batteryLow = c.batteryLow;
    f.status.deviceClock = c.clock;
    const MainWindowState s = f.run();
    expectTexts(s, c.texts);
    EXPECT_EQ(s.of(StopNotice).background, c.label8);
    EXPECT_EQ(s.of(BatteryIndicator).foreground, c.batteryLow ? Colour::Red : Colour::Black);
  }
}

TEST(StateRules, BatteryIsComparedRoundedToTwoDecimals) {
  const struct {
    std::optional<double> volts;
    const char *status, *text;
    Colour colour;
    bool allowsRecording;
  } cases[] = {
      {774 * 3.3 / 1023, "", "2.50 V", Colour::ButtonFace, true},  // 2.4967 rounds up
      {773 * 3.3 / 1023, "", "ＮＧ 2.49 V", Colour::Red, false},   // 2.4935
      {2.5, "", "2.50 V", Colour::ButtonFace, true},
      {3.1, "Error", "ＮＧ 3.10 V", Colour::Red, false},
      {std::nullopt, "", "----", Colour::ButtonFace, false},
      {std::nullopt, "Error", "----", Colour::Red, false},
  };
  for (const auto& c : cases) {
    Fixture f(true, Idle);
    f.status.batteryVoltage = c.volts;
    f.status.batteryStatus = u(c.status);
    const MainWindowState s = f.run();
    EXPECT_EQ(s.textOf(BatteryVoltage), u(c.text)) << c.text;
    EXPECT_EQ(s.of(BatteryVoltage).background, c.colour) << c.text;
    EXPECT_EQ(batteryAllowsRecording(f.status), c.allowsRecording) << c.text;
  }
}

TEST(StateRules, OnlyQm120ShowsAlarms) {
  for (const char* model : {"QM100-RH", "QM200-RHA", ""}) {
    Fixture f(true, Idle);
    f.in.modelName = u(model);
    const MainWindowState s = f.run();
    for (Control label : kAlarmLabels)
      EXPECT_TRUE(s.of(label).visible.has_value() && !s.isVisible(label)) << model << int(label);
  }
}

TEST(StateRules, TailEnablesByTheCountsOfTheSets) {
  const ControlList navigation{TemperatureHalfSpanBar, HumidityCentreBar, TemperatureWidthBar,
                               HumidityOffsetBar,      FitButton,         TemperatureSpanNarrower,
                               TemperatureSpanWider,   HumiditySpanWider, TimeZoomOut};
  const ControlList realSave{SaveRealTimeItem, SaveRealTimeButton, PrintRealTimeButton};
  const ControlList logSave{SaveLogItem, SaveLogButton, PrintLogButton};
  const struct {
    RunState runState;
    std::array<int, 3> counts;
    int current;
    bool navigation, realSave, logSave, filePrint, print;
  } cases[] = {
      {Idle, {0, 0, 0}, 0, false, false, false, false, false},
      {Idle, {5, 0, 0}, 0, true, false, true, false, true},
      {Idle, {5, 0, 0}, 2, false, false, true, false, false},
      {Idle, {0, 7, 3}, 1, true, true, false, true, true},
      {Continuous, {0, 7, 0}, 1, true, false, false, false, true},
      {Recording, {0, 7, 9}, 2, true, true, false, true, true},
  };
  for (const auto& c : cases) {
    Fixture f(true, c.runState);
    f.in.setCounts = c.counts;
    f.in.currentSet = c.current;
    const MainWindowState s = f.run();
    for (const auto& [list, enabled] :
         {std::pair{&navigation, c.navigation}, {&realSave, c.realSave}, {&logSave, c.logSave}}) {
      for (Control control : *list)
        EXPECT_EQ(s.isEnabled(control), enabled) << int(c.runState) << " " << int(control);
    }
    EXPECT_EQ(s.isEnabled(PrintFileButton), c.filePrint);
    EXPECT_EQ(s.isEnabled(PrintItem), c.print);
  }
}

TEST(StateRules, ShownSetListAndViewFollowCurrentSetAndMode) {
  const struct {
    int set, mode;
    const char* label;
    std::optional<Control> list;
  } cases[] = {{0, 0, "ログ", std::nullopt},
               {1, 1, "リアルタイム", RealTimeDumpList},
               {2, 1, "ファイル", FileDumpList}};
  for (const auto& c : cases) {
    Fixture f(true, Idle);
    f.in.currentSet = c.set;
    f.in.viewMode = c.mode;
    const MainWindowState s = f.run();
    for (Control list : {LogDumpList, RealTimeDumpList, FileDumpList})
      EXPECT_EQ(s.isVisible(list), list == c.list) << int(list);
    EXPECT_EQ(s.textOf(ShownSetCaption), u(c.label));
    EXPECT_EQ(s.isVisible(TemperatureGraph), c.mode == 0);
    EXPECT_EQ(s.isVisible(HumidityGraph), c.mode == 0);
  }
}

TEST(StateRules, EnglishTextsComeFromTheEnglishTable) {
  const UiText english = UiText::load(UiText::Language::English);
  Fixture f(true, Reserved);
  f.in.texts = &english;
  f.status.reservationDay = 12;
  f.status.reservationHour = 23;
  f.status.reservationMinute = 59;
  const MainWindowState s = f.run();
  expectTexts(s, {{RecordingStart, "12Day23:59 Record beginning"},
                  {RecordButton, "Reservation cancel"},
                  {UpperAlarm, "30 C"}});
  EXPECT_EQ(s.statusBarText, u("Communicating\u3000Port3"));
}

TEST(StateRules, MissingInputsGiveAnEmptyState) {
  for (const ControlState& control : mainWindowStateFor(StateInputs{}).controls)
    EXPECT_EQ(control, ControlState{});
}

}  // namespace
}  // namespace termika
