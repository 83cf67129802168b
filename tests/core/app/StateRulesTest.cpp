#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/app/StateRules.h"
#include "core/data/DayTime.h"
#include "core/model/AppState.h"

namespace termika {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

const UiText& japanese() {
  static const UiText kT = UiText::load(UiText::Language::Japanese);
  return kT;
}

// A QM120-RH that recorded since 2024-05-01 10:00:00, 400 bytes, 60 s, with an upper alarm of
// 30 °C on and the lower one off, at 3.00 V; 300 s is set for the next recording.
LoggerStatus recordingLogger() {
  LoggerStatus st;
  st.loggerName = QStringLiteral("AB12");
  st.recordingStart = toDaySerial({2024, 5, 1, 10, 0, 0});
  st.usedMemory = 400;
  st.recordedInterval = 60;
  st.intervalSetting = 300;
  st.upperAlarm = {30, 0, 128};
  st.lowerAlarm = {-5, 0, 0};
  st.batteryVoltage = 3.0;
  st.reservationDay = 5;  // shown only while a reservation is pending
  st.reservationHour = 7;
  st.reservationMinute = 3;
  return st;
}

const ControlList kAlarmLabels{Control::UpperAlarm, Control::UpperAlarmCaption,
                               Control::LowerAlarmCaption, Control::LowerAlarm};

struct Fixture {
  LoggerStatus status = recordingLogger();
  StateInputs in;
  Fixture(bool connected, RunState runState) {
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

// Each control's text; an empty text must still be set, so that a stale one is cleared.
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
    const char* name;
    bool connected;
    RunState runState;
    ControlList enabled;
    ControlList disabled;
    const char* texts;  // record button|recording state|continuous button
    bool downloading = false;
  };
  // Recording and a pending reservation lock the same controls.
  const ControlList busyEnabled{
      Control::StatusUpdateButton, Control::RecordButton, Control::FileMenu,
      Control::DisplayMenu,        Control::ToolMenu,     Control::OpenCsvItem,
      Control::SaveMenu,           Control::LogViewMenu,  Control::FileViewMenu,
      Control::LogSetRadio,        Control::FileSetRadio, Control::GraphRadio,
      Control::DumpRadio};
  const ControlList busyDisabled{
      Control::RealTimeViewMenu, Control::RealTimeSetRadio, Control::MeasureOnceButton,
      Control::ContinuousButton, Control::DownloadButton,   Control::NameButton,
      Control::ClockItem,        Control::LoggerNameItem,   Control::PortCombo};
  const Row rows[] = {
      {"not connected",
       false,
       RunState::Idle,
       {Control::BaudCombo, Control::ModelCombo, Control::PortCombo, Control::FileMenu,
        Control::DisplayMenu, Control::ToolMenu, Control::OpenCsvItem, Control::SaveMenu,
        Control::LogViewMenu, Control::RealTimeViewMenu, Control::FileViewMenu, Control::SetChoice,
        Control::ViewChoice, Control::LogSetRadio, Control::RealTimeSetRadio, Control::FileSetRadio,
        Control::GraphRadio, Control::DumpRadio},
       {Control::InitButton, Control::ClockItem, Control::LoggerNameItem,
        Control::MeasureOnceButton, Control::ContinuousButton, Control::RecordButton,
        Control::DownloadButton, Control::StatusUpdateButton, Control::NameButton,
        Control::SpacingSecondsRadio, Control::SpacingMinutesRadio, Control::SpacingCombo},
       "記録開始|----|連続測定"},
      {"idle",
       true,
       RunState::Idle,
       {Control::InitButton,       Control::MeasureOnceButton,   Control::ContinuousButton,
        Control::RecordButton,     Control::DownloadButton,      Control::StatusUpdateButton,
        Control::NameButton,       Control::SpacingSecondsRadio, Control::SpacingMinutesRadio,
        Control::LogSetRadio,      Control::DumpRadio,           Control::SpacingCombo,
        Control::DisplayMenu,      Control::OpenCsvItem,         Control::SaveMenu,
        Control::RealTimeViewMenu, Control::ClockItem,           Control::LoggerNameItem,
        Control::SetChoice,        Control::ViewChoice},
       {Control::BaudCombo, Control::ModelCombo, Control::PortCombo},
       "記録開始|記録停止|連続測定"},
      {"continuous",
       true,
       RunState::Continuous,
       {Control::ContinuousButton, Control::FileMenu, Control::ToolMenu, Control::RealTimeSetRadio,
        Control::GraphRadio, Control::DumpRadio, Control::InitButton},
       {Control::LogSetRadio, Control::FileSetRadio, Control::SaveRealTimeButton,
        Control::PrintRealTimeButton, Control::SaveRealTimeItem, Control::MeasureOnceButton,
        Control::RecordButton, Control::DownloadButton, Control::StatusUpdateButton,
        Control::DisplayMenu, Control::OpenCsvItem, Control::SaveMenu, Control::ClockItem,
        Control::LoggerNameItem, Control::BaudCombo, Control::PortCombo},
       "記録開始|記録停止|停止"},
      {"reservation", true, RunState::Reserved, busyEnabled, busyDisabled,
       "予約取消|予約中|連続測定"},
      {"recording", true, RunState::Recording, busyEnabled, busyDisabled,
       "記録停止|記録中|連続測定"},
      // Nothing may switch, print, open or save the sets while a download fills the log set.
      {"downloading",
       true,
       RunState::Idle,
       {},
       {Control::LogSetRadio,        Control::FileSetRadio,     Control::GraphRadio,
        Control::DumpRadio,          Control::SetChoice,        Control::DisplayMenu,
        Control::LogGraphItem,       Control::RealTimeDumpItem, Control::PrintItem,
        Control::OpenCsvItem,        Control::SaveMenu,         Control::SaveRealTimeItem,
        Control::OpenCsvButton,      Control::SaveLogButton,    Control::PrintRealTimeButton,
        Control::PrintFileButton,    Control::DownloadModeMenu, Control::FastDownloadItem,
        Control::SlowDownloadItem,   Control::DownloadButton,   Control::MeasureOnceButton,
        Control::ContinuousButton,   Control::RecordButton,     Control::StatusUpdateButton,
        Control::NameButton,         Control::InitButton,       Control::ClockItem,
        Control::TemperatureWidthBar},
       "記録開始|記録停止|連続測定",
       true},
  };
  for (const Row& c : rows) {
    SCOPED_TRACE(c.name);
    Fixture f(c.connected, c.runState);
    f.in.downloading = c.downloading;
    f.in.setCounts = {0, 4, 3};
    const MainWindowState s = f.run();
    if (c.downloading)
      expectTexts(
          s,
          {{Control::LiveTemperature, ""}, {Control::LiveHumidity, ""}, {Control::LiveTime, ""}});
    for (Control control : c.enabled) EXPECT_TRUE(s.isEnabled(control)) << int(control);
    for (Control control : c.disabled) {
      EXPECT_FALSE(s.isEnabled(control)) << int(control);
      EXPECT_TRUE(s.of(control).enabled.has_value()) << int(control);
    }
    EXPECT_EQ(s.textOf(Control::RecordButton) + u'|' + s.textOf(Control::RecordingState) + u'|' +
                  s.textOf(Control::ContinuousButton),
              u(c.texts));
  }
}

TEST(StateRules, PanelDescribesTheConnectedLoggerAndIsEmptiedWithoutOne) {
  const MainWindowState off = Fixture(false, RunState::Idle).run();
  EXPECT_EQ(off.windowCaption, u("[Termika] 温湿度ロガー "));
  EXPECT_EQ(off.modelName, u("Termika"));
  EXPECT_FALSE(off.connectPictureOn);
  EXPECT_TRUE(off.stopLink);
  expectTexts(off, {{Control::LiveTime, ""},
                    {Control::LiveTemperature, ""},
                    {Control::LiveHumidity, ""},
                    {Control::UpperAlarm, ""},
                    {Control::LowerAlarm, ""},
                    {Control::BatteryIndicator, ""},
                    {Control::LoggerClock, ""}});
  EXPECT_EQ(off.of(Control::BatteryVoltage).background, PanelColour::ButtonFace);
  EXPECT_EQ(off.of(Control::StopNotice).background, PanelColour::ButtonFace);

  Fixture withFile(true, RunState::Idle);
  withFile.in.fileSetFile = u("R101_130501_100000.csv");
  for (const auto& [shown, caption] :
       {std::pair{kLogSet, "[Termika] 温湿度ロガー QM120-RH"},
        {kFileSet, "[Termika] 温湿度ロガー QM120-RH - R101_130501_100000.csv"}}) {
    withFile.in.currentSet = shown;
    EXPECT_EQ(withFile.run().windowCaption, u(caption));
  }
  const MainWindowState on = Fixture(true, RunState::Idle).run();
  EXPECT_TRUE(on.connectPictureOn);
  EXPECT_FALSE(on.stopLink);
  expectTexts(on, {{Control::RecordingStart, "2024/05/01 10:00:00"},
                   {Control::RecordingMode, "ワンタイム"},
                   {Control::UpperAlarm, "30 ℃"},
                   {Control::LowerAlarm, "OFF"},
                   {Control::RecordedPoints, "100 点"},
                   {Control::IntervalSeconds, "60"},
                   {Control::IntervalText, "1 分"},
                   {Control::StopNotice, ""}});
  for (Control label : kAlarmLabels) EXPECT_TRUE(on.isVisible(label)) << int(label);
}

TEST(StateRules, PanelTextsFollowTheLoggersStatus) {
  struct Case {
    ControlTexts texts;
    RunState runState = RunState::Recording;
    int used = 400, loop = 0, wrapped = 0;
    const char* stop = "";
    std::optional<double> start = toDaySerial({2024, 5, 1, 10, 0, 0});
    PanelColour label8 = PanelColour::ButtonFace;
    bool batteryLow = false;
    std::optional<double> clock = std::nullopt;
  };
  const Case cases[] = {
      // The battery answer of the connect and the logger's clock as last read.
      {.texts = {{Control::BatteryIndicator, "正常"}, {Control::LoggerClock, ""}}},
      {.texts = {{Control::BatteryIndicator, "低下"},
                 {Control::LoggerClock, "2024/05/01 10:00:05"}},
       .batteryLow = true,
       .clock = toDaySerial({2024, 5, 1, 10, 0, 5})},
      // Points are whole four-byte records; a wrapped loop memory is full, a wrap without loop
      // mode is none.
      {.texts = {{Control::RecordedPoints, "2 点"}, {Control::RecordingMode, "ワンタイム"}},
       .used = 10},
      {.texts = {{Control::RecordedPoints, "15000 点"}, {Control::RecordingMode, "ループ"}},
       .used = 40,
       .loop = 1,
       .wrapped = 2},
      {.texts = {{Control::RecordedPoints, "10 点"}, {Control::RecordingMode, "ワンタイム"}},
       .used = 40,
       .wrapped = 2},
      {.texts = {{Control::StopNotice, "電圧低下により終了"}},
       .runState = RunState::Idle,
       .stop = "Stop",
       .label8 = PanelColour::Red},
      // A reservation shows its start, no points and the interval held for it, and clears the
      // low-voltage notice.
      {.texts = {{Control::RecordingStart, "05日07時03分 記録開始"},
                 {Control::RecordedPoints, "0 点"},
                 {Control::IntervalText, "5 分"},
                 {Control::StopNotice, ""}},
       .runState = RunState::Reserved,
       .stop = "Stop"},
      {.texts = {{Control::RecordingStart, "----/--/-- --:--:--"},
                 {Control::RecordingMode, ""},
                 {Control::UpperAlarm, ""},
                 {Control::LowerAlarm, ""}},
       .start = toDaySerial({1999, 12, 31, 23, 59, 59})},
      {.texts = {{Control::RecordingStart, "----/--/-- --:--:--"},
                 {Control::RecordingMode, ""},
                 {Control::UpperAlarm, ""},
                 {Control::LowerAlarm, ""}},
       .start = std::nullopt},
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
    EXPECT_EQ(s.of(Control::StopNotice).background, c.label8);
    EXPECT_EQ(s.of(Control::BatteryIndicator).foreground,
              c.batteryLow ? PanelColour::Red : PanelColour::Black);
  }
}

TEST(StateRules, BatteryIsComparedRoundedToTwoDecimals) {
  const struct {
    std::optional<double> volts;
    const char* status;
    const char* text;
    PanelColour colour;
    bool allowsRecording;
  } cases[] = {
      {774 * 3.3 / 1023, "", "2.50 V", PanelColour::ButtonFace, true},  // 2.4967 rounds up
      {773 * 3.3 / 1023, "", "ＮＧ 2.49 V", PanelColour::Red, false},   // 2.4935
      {2.5, "", "2.50 V", PanelColour::ButtonFace, true},
      {3.1, "Error", "ＮＧ 3.10 V", PanelColour::Red, false},
      {std::nullopt, "", "----", PanelColour::ButtonFace, false},
      {std::nullopt, "Error", "----", PanelColour::Red, false},
  };
  for (const auto& c : cases) {
    Fixture f(true, RunState::Idle);
    f.status.batteryVoltage = c.volts;
    f.status.batteryStatus = u(c.status);
    const MainWindowState s = f.run();
    EXPECT_EQ(s.textOf(Control::BatteryVoltage), u(c.text)) << c.text;
    EXPECT_EQ(s.of(Control::BatteryVoltage).background, c.colour) << c.text;
    EXPECT_EQ(batteryAllowsRecording(f.status), c.allowsRecording) << c.text;
  }
}

TEST(StateRules, OnlyQm120ShowsAlarms) {
  for (const char* model : {"QM100-RH", "QM200-RHA", ""}) {
    Fixture f(true, RunState::Idle);
    f.in.modelName = u(model);
    const MainWindowState s = f.run();
    for (Control label : kAlarmLabels) {
      EXPECT_TRUE(s.of(label).visible.has_value() && !s.isVisible(label))
          << model << " " << int(label);
    }
  }
}

TEST(StateRules, TailEnablesByTheCountsOfTheSets) {
  const struct {
    RunState runState;
    std::array<int, 3> counts;
    int current;
    bool navigation, realSave, logSave, filePrint, print;
  } cases[] = {
      {RunState::Idle, {0, 0, 0}, 0, false, false, false, false, false},
      {RunState::Idle, {5, 0, 0}, 0, true, false, true, false, true},
      {RunState::Idle, {5, 0, 0}, 2, false, false, true, false, false},
      {RunState::Idle, {0, 7, 3}, 1, true, true, false, true, true},
      {RunState::Continuous, {0, 7, 0}, 1, true, false, false, false, true},
      {RunState::Recording, {0, 7, 9}, 2, true, true, false, true, true},
  };
  for (const auto& c : cases) {
    Fixture f(true, c.runState);
    f.in.setCounts = c.counts;
    f.in.currentSet = c.current;
    const MainWindowState s = f.run();
    const std::pair<ControlList, bool> groups[] = {
        {{Control::TemperatureHalfSpanBar, Control::HumidityCentreBar, Control::TemperatureWidthBar,
          Control::HumidityOffsetBar, Control::FitButton, Control::TemperatureSpanNarrower,
          Control::TemperatureSpanWider, Control::HumiditySpanWider, Control::TimeZoomOut},
         c.navigation},
        {{Control::SaveRealTimeItem, Control::SaveRealTimeButton, Control::PrintRealTimeButton},
         c.realSave},
        {{Control::SaveLogItem, Control::SaveLogButton, Control::PrintLogButton}, c.logSave}};
    for (const auto& [list, enabled] : groups) {
      for (Control control : list)
        EXPECT_EQ(s.isEnabled(control), enabled) << int(c.runState) << " " << int(control);
    }
    EXPECT_EQ(s.isEnabled(Control::PrintFileButton), c.filePrint);
    EXPECT_EQ(s.isEnabled(Control::PrintItem), c.print);
  }
}

TEST(StateRules, ShownSetListAndViewFollowCurrentSetAndMode) {
  const ControlList lists{Control::LogDumpList, Control::RealTimeDumpList, Control::FileDumpList};
  const struct {
    int set, mode;
    const char* label;
    std::optional<Control> list;
  } cases[] = {{0, 0, "ログ", std::nullopt},
               {1, 1, "リアルタイム", Control::RealTimeDumpList},
               {2, 1, "ファイル", Control::FileDumpList}};
  for (const auto& c : cases) {
    Fixture f(true, RunState::Idle);
    f.in.currentSet = c.set;
    f.in.viewMode = c.mode;
    const MainWindowState s = f.run();
    for (Control list : lists) EXPECT_EQ(s.isVisible(list), list == c.list) << int(list);
    EXPECT_EQ(s.textOf(Control::ShownSetCaption), u(c.label));
    EXPECT_EQ(s.isVisible(Control::TemperatureGraph), c.mode == 0);
    EXPECT_EQ(s.isVisible(Control::HumidityGraph), c.mode == 0);
  }
}

TEST(StateRules, EnglishTextsComeFromTheEnglishTable) {
  const UiText english = UiText::load(UiText::Language::English);
  Fixture f(true, RunState::Reserved);
  f.in.texts = &english;
  f.status.reservationDay = 12;
  f.status.reservationHour = 23;
  f.status.reservationMinute = 59;
  const MainWindowState s = f.run();
  expectTexts(s, {{Control::RecordingStart, "12Day23:59 Record beginning"},
                  {Control::RecordButton, "Reservation cancel"},
                  {Control::UpperAlarm, "30 C"}});
  EXPECT_EQ(s.statusBarText, u("Communicating\u3000Port3"));
}

TEST(StateRules, MissingInputsGiveAnEmptyState) {
  for (const ControlState& control : mainWindowStateFor(StateInputs{}).controls)
    EXPECT_EQ(control, ControlState{});
}

}  // namespace
}  // namespace termika
