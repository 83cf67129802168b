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

QStringList names(const char* list) { return u(list).split(u' ', Qt::SkipEmptyParts); }

// Pairs of control name and text; an empty text must still be set, so that a stale one is cleared.
void expectTexts(const MainWindowState& s, const std::vector<const char*>& pairs) {
  for (auto it = pairs.begin(); it != pairs.end(); it += 2) {
    EXPECT_TRUE(s.of(u(it[0])).text.has_value()) << it[0];
    EXPECT_EQ(s.textOf(u(it[0])), u(it[1])) << it[0];
  }
}

// One row of the state table: controls enabled / disabled and the texts of
// Command4, Label16 and Command2.
TEST(StateRules, EnablingAndTextsFollowTheRowOfTheTable) {
  struct Row {
    const char* name;
    bool connected;
    RunState runState;
    const char* enabled;
    const char* disabled;
    const char* command4;
    const char* label16;
    const char* command2;
    bool downloading = false;
  };
  const Row rows[] = {
      {"not connected", false, RunState::Idle,
       "Combo1 Combo3 Combo4 m1 m2 m3 m11 m12 m21 m22 m23 Frame8 Frame11 Option5 Option6 Option7 "
       "Option8 Option9",
       "Command27 m33 m34 Command1 Command2 Command4 Command5 Command11 Command13 Option3 Option4 "
       "Combo5",
       "記録開始", "----", "連続測定"},
      {"idle", true, RunState::Idle,
       "Command27 Command1 Command2 Command4 Command5 Command11 Command13 Option3 Option4 Option5 "
       "Option9 Combo5 m2 m11 m12 m22 m33 m34 Frame8 Frame11",
       "Combo1 Combo3 Combo4", "記録開始", "記録停止", "連続測定"},
      {"continuous", true, RunState::Continuous, "Command2 m1 m3 Option6 Option8 Option9 Command27",
       "Option5 Option7 Command22 Command23 m121 Command1 Command4 Command5 Command11 m2 m11 m12 "
       "m33 m34 Combo1 Combo4",
       "記録開始", "記録停止", "停止"},
      {"reservation", true, RunState::Reserved,
       "Command11 Command4 m1 m2 m3 m11 m12 m21 m23 Option5 Option7 Option8 Option9",
       "m22 Option6 Command1 Command2 Command5 Command13 m33 m34 Combo4", "予約取消", "予約中",
       "連続測定"},
      {"recording", true, RunState::Recording,
       "Command11 Command4 m1 m2 m3 m11 m12 m21 m23 Option5 Option7 Option8 Option9",
       "m22 Option6 Command1 Command2 Command5 Command13 m33 m34 Combo4", "記録停止", "記録中",
       "連続測定"},
      // Nothing may switch, print, open or save the sets while a download fills the log set.
      {"downloading", true, RunState::Idle, "",
       "Option5 Option7 Option8 Option9 Frame8 m2 m211 m222 m13 m11 m12 m121 Command14 Command21 "
       "Command23 Command25 D_M D_M_Fast D_M_Slow Command5 Command1 Command2 Command4 Command11 "
       "Command13 Command27 m33 HScroll1",
       "記録開始", "記録停止", "連続測定", true},
  };
  for (const Row& c : rows) {
    SCOPED_TRACE(c.name);
    Fixture f(c.connected, c.runState);
    f.in.downloading = c.downloading;
    f.in.setCounts = {0, 4, 3};
    const MainWindowState s = f.run();
    if (c.downloading) expectTexts(s, {"Label2", "", "Label4", "", "Label10", ""});
    for (const QString& name : names(c.enabled))
      EXPECT_TRUE(s.isEnabled(name)) << name.toStdString();
    for (const QString& name : names(c.disabled)) {
      EXPECT_FALSE(s.isEnabled(name)) << name.toStdString();
      EXPECT_TRUE(s.of(name).enabled.has_value()) << name.toStdString();
    }
    EXPECT_EQ(s.textOf(u("Command4")), u(c.command4));
    EXPECT_EQ(s.textOf(u("Label16")), u(c.label16));
    EXPECT_EQ(s.textOf(u("Command2")), u(c.command2));
  }
}

TEST(StateRules, PanelDescribesTheConnectedLoggerAndIsEmptiedWithoutOne) {
  const MainWindowState off = Fixture(false, RunState::Idle).run();
  EXPECT_EQ(off.windowCaption, u("[Termika] 温湿度ロガー "));
  EXPECT_EQ(off.modelName, u("Termika"));
  EXPECT_FALSE(off.connectPictureOn);
  EXPECT_TRUE(off.stopLink);
  expectTexts(off, {"Label10", "", "Label2", "", "Label4", "", "Label29", "", "Label46", "",
                    "Label39", "", "Label24", ""});
  EXPECT_EQ(off.of(u("Label7")).background, PanelColour::ButtonFace);
  EXPECT_EQ(off.of(u("Label8")).background, PanelColour::ButtonFace);

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
  expectTexts(
      on, {"Label26", "2024/05/01 10:00:00", "Label48", "ワンタイム", "Label29", "30 ℃", "Label46",
           "OFF", "Label21", "100 点", "Label19", "60", "Label6", "1 分", "Label8", ""});
  for (const QString& label : names("Label29 Label31 Label32 Label46"))
    EXPECT_TRUE(on.isVisible(label)) << label.toStdString();
}

TEST(StateRules, PanelTextsFollowTheLoggersStatus) {
  struct Case {
    std::vector<const char*> texts;
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
      {.texts = {"Label39", "正常", "Label24", ""}},
      {.texts = {"Label39", "低下", "Label24", "2024/05/01 10:00:05"},
       .batteryLow = true,
       .clock = toDaySerial({2024, 5, 1, 10, 0, 5})},
      // Points are whole four-byte records; a wrapped loop memory is full, a wrap without loop
      // mode is none.
      {.texts = {"Label21", "2 点", "Label48", "ワンタイム"}, .used = 10},
      {.texts = {"Label21", "15000 点", "Label48", "ループ"}, .used = 40, .loop = 1, .wrapped = 2},
      {.texts = {"Label21", "10 点", "Label48", "ワンタイム"}, .used = 40, .wrapped = 2},
      {.texts = {"Label8", "電圧低下により終了"},
       .runState = RunState::Idle,
       .stop = "Stop",
       .label8 = PanelColour::Red},
      // A reservation shows its start, no points and the interval held for it, and clears the
      // low-voltage notice.
      {.texts = {"Label26", "05日07時03分 記録開始", "Label21", "0 点", "Label6", "5 分", "Label8",
                 ""},
       .runState = RunState::Reserved,
       .stop = "Stop"},
      {.texts = {"Label26", "----/--/-- --:--:--", "Label48", "", "Label29", "", "Label46", ""},
       .start = toDaySerial({1999, 12, 31, 23, 59, 59})},
      {.texts = {"Label26", "----/--/-- --:--:--", "Label48", "", "Label29", "", "Label46", ""},
       .start = std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.texts[1]);
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
    EXPECT_EQ(s.of(u("Label8")).background, c.label8);
    EXPECT_EQ(s.of(u("Label39")).foreground, c.batteryLow ? PanelColour::Red : PanelColour::Black);
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
    EXPECT_EQ(s.textOf(u("Label7")), u(c.text)) << c.text;
    EXPECT_EQ(s.of(u("Label7")).background, c.colour) << c.text;
    EXPECT_EQ(batteryAllowsRecording(f.status), c.allowsRecording) << c.text;
  }
}

TEST(StateRules, OnlyQm120ShowsAlarms) {
  for (const char* model : {"QM100-RH", "QM200-RHA", ""}) {
    Fixture f(true, RunState::Idle);
    f.in.modelName = u(model);
    const MainWindowState s = f.run();
    for (const QString& label : names("Label29 Label31 Label32 Label46")) {
      EXPECT_TRUE(s.of(label).visible.has_value() && !s.isVisible(label))
          << model << " " << label.toStdString();
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
    const std::pair<const char*, bool> groups[] = {
        {"VScroll1 VScroll4 HScroll1 HScroll4 Command12 Command3 Command10 Command15 Command18",
         c.navigation},
        {"m121 Command22 Command23", c.realSave},
        {"m122 Command21 Command24", c.logSave}};
    for (const auto& [list, enabled] : groups) {
      for (const QString& name : names(list))
        EXPECT_EQ(s.isEnabled(name), enabled) << int(c.runState) << " " << name.toStdString();
    }
    EXPECT_EQ(s.isEnabled(u("Command25")), c.filePrint);
    EXPECT_EQ(s.isEnabled(u("m13")), c.print);
  }
}

TEST(StateRules, ShownSetPictureAndViewFollowCurrentSetAndMode) {
  const struct {
    int set, mode;
    const char *picture, *label, *list;
  } cases[] = {{0, 0, "Picture4", "ログ", ""},
               {1, 1, "Picture6", "リアルタイム", "ListView1_1"},
               {2, 1, "Picture5", "ファイル", "ListView1_2"}};
  for (const auto& c : cases) {
    Fixture f(true, RunState::Idle);
    f.in.currentSet = c.set;
    f.in.viewMode = c.mode;
    const MainWindowState s = f.run();
    for (const QString& name :
         names("Picture4 Picture6 Picture5 ListView1_0 ListView1_1 ListView1_2"))
      EXPECT_EQ(s.isVisible(name), name == u(c.picture) || name == u(c.list)) << name.toStdString();
    EXPECT_EQ(s.textOf(u("Label3")), u(c.label));
    EXPECT_EQ(s.isVisible(u("ondo")), c.mode == 0);
    EXPECT_EQ(s.isVisible(u("situdo")), c.mode == 0);
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
  expectTexts(s, {"Label26", "12Day23:59 Record beginning", "Command4", "Reservation cancel",
                  "Label29", "30 C"});
  EXPECT_EQ(s.statusBarText, u("Communicating\u3000Port3"));
}

TEST(StateRules, MissingInputsGiveAnEmptyState) {
  EXPECT_TRUE(mainWindowStateFor(StateInputs{}).controls.isEmpty());
  EXPECT_EQ(dialogsClosedOnRefresh(),
            names("RecordingSettingsDialog LoggerNameDialog PortSettingsDialog ClockDialog"));
}

}  // namespace
}  // namespace termika
