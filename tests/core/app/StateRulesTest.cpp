#include <gtest/gtest.h>

#include "core/app/AppState.h"
#include "core/app/StateRules.h"
#include "core/data/DayTime.h"

namespace termika {
namespace {

const UiText& japanese() {
  static const UiText t = UiText::load(UiText::Language::Japanese);
  return t;
}

// A QM120-RH that recorded since 2024-05-01 10:00:00, 400 bytes, 60 s, with
// an upper alarm of 30 °C on and the lower one off, at 3.00 V.
LoggerStatus recordingLogger() {
  LoggerStatus st;
  st.LoggerName = QStringLiteral("AB12");
  st.RecordingStart = toDaySerial({2024, 5, 1, 10, 0, 0});
  st.UsedMemory = 400;
  st.RecordedInterval = 60;
  st.IntervalSetting = 300;
  st.UpperAlarm = {30, 0, 128};
  st.LowerAlarm = {-5, 0, 0};
  st.BatteryVoltage = 3.0;
  return st;
}

struct Fixture {
  LoggerStatus status = recordingLogger();
  StateInputs in;
  Fixture(bool connected, const char* runState) {
    in.Connected = connected;
    in.PortNumber = 3;
    in.RunState = QString::fromUtf8(runState);
    in.ModelName = QStringLiteral("QM120-RH");
    in.Status = &status;
    in.Texts = &japanese();
  }
  MainWindowState run() const { return RefreshMainWindowState(in); }
};

QStringList names(const char* list) { return QString::fromUtf8(list).split(u' '); }

// One row of the state table: controls enabled / disabled and the texts of
// Command4, Label16 and Command2.
TEST(StateRules, EnablingAndTextsFollowTheRowOfTheTable) {
  struct Row {
    const char* name;
    bool connected;
    const char* runState;
    const char* enabled;
    const char* disabled;
    const char* command4;
    const char* label16;
    const char* command2;
  };
  const Row rows[] = {
      {"not connected", false, "",
       "Combo1 Combo3 Combo4 m1 m2 m3 m11 m12 m21 m22 m23 m31 m32 Frame8 Frame11 Option5 Option6 "
       "Option7 Option8 Option9",
       "Command27 m33 m34 Command1 Command2 Command4 Command5 Command11 Command13 Option1 Option4 "
       "Combo2 Combo5 Command19 Command26 Command28 Command6 Command7",
       "記録開始", "----", "連続測定"},
      {"idle", true, "",
       "Command27 Command1 Command2 Command4 Command5 Command11 Command13 Option1 Option4 Option5 "
       "Option9 Combo2 Combo5 m2 m11 m12 m22 m33 m34 Frame8 Frame11",
       "Combo1 Combo3 Combo4", "記録開始", "記録停止", "連続測定"},
      {"continuous", true, "renzoku", "Command2 m1 m3 m31 Option6 Option8 Option9 Command27",
       "Option5 Option7 Command22 Command23 m121 Command1 Command4 Command5 Command11 m2 m11 m12 "
       "m33 m34 Combo1 Combo4",
       "記録開始", "記録停止", "停止"},
      {"reservation", true, "yoyakucyu",
       "Command11 Command4 m1 m2 m3 m11 m12 m21 m23 Option5 Option7 Option8 Option9",
       "m22 Option6 Command1 Command2 Command5 Command13 m33 m34 Combo4", "予約取消", "予約中",
       "連続測定"},
      {"recording", true, "kirokucyu",
       "Command11 Command4 m1 m2 m3 m11 m12 m21 m23 Option5 Option7 Option8 Option9",
       "m22 Option6 Command1 Command2 Command5 Command13 m33 m34 Combo4", "記録停止", "記録中",
       "連続測定"},
  };
  for (const Row& c : rows) {
    SCOPED_TRACE(c.name);
    const MainWindowState s = Fixture(c.connected, c.runState).run();
    for (const QString& name : names(c.enabled))
      EXPECT_TRUE(s.isEnabled(name)) << name.toStdString();
    for (const QString& name : names(c.disabled)) {
      EXPECT_FALSE(s.isEnabled(name)) << name.toStdString();
      EXPECT_TRUE(s.of(name).enabled.has_value()) << name.toStdString();
    }
    EXPECT_EQ(s.textOf(QStringLiteral("Command4")), QString::fromUtf8(c.command4));
    EXPECT_EQ(s.textOf(QStringLiteral("Label16")), QString::fromUtf8(c.label16));
    EXPECT_EQ(s.textOf(QStringLiteral("Command2")), QString::fromUtf8(c.command2));
  }
}

TEST(StateRules, NotConnectedEmptiesThePanelAndTurnsTheLampBlack) {
  Fixture f(false, "");
  const MainWindowState s = f.run();
  EXPECT_EQ(s.WindowCaption, QStringLiteral("[Termika] 温湿度ロガー "));
  EXPECT_EQ(s.ModelName, QStringLiteral("Termika"));
  EXPECT_EQ(s.StatusBarText, QStringLiteral("未接続"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label49")), QStringLiteral("未接続"));
  EXPECT_FALSE(s.ConnectPictureOn);
  EXPECT_TRUE(s.StopLink);
  EXPECT_EQ(s.of(QStringLiteral("Shape1")).background, PanelColour::Black);
  for (const QString& label : names(
           "Label19 Label6 Label21 Label26 Label10 Label2 Label4 Label48 Label29 Label46 Label8")) {
    ASSERT_TRUE(s.of(label).text.has_value()) << label.toStdString();
    EXPECT_TRUE(s.textOf(label).isEmpty()) << label.toStdString();
  }
  EXPECT_EQ(s.textOf(QStringLiteral("Label7")), QStringLiteral("----"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label14")), QStringLiteral("----"));
  EXPECT_EQ(s.of(QStringLiteral("Label7")).background, PanelColour::ButtonFace);
  EXPECT_EQ(s.of(QStringLiteral("Label8")).background, PanelColour::ButtonFace);
  // "Termika" is no alarm model.
  EXPECT_FALSE(s.isVisible(QStringLiteral("Label29")));
}

TEST(StateRules, ConnectedCommonPartDescribesTheLogger) {
  Fixture f(true, "");
  const MainWindowState s = f.run();
  EXPECT_EQ(s.WindowCaption, QStringLiteral("[Termika] 温湿度ロガー QM120-RH"));
  EXPECT_EQ(s.StatusBarText, QStringLiteral("通信中\u3000ポート3"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label49")), QStringLiteral("通信中"));
  EXPECT_TRUE(s.ConnectPictureOn);
  EXPECT_FALSE(s.StopLink);
  EXPECT_EQ(s.of(QStringLiteral("Shape1")).background, PanelColour::LightGreen);
  EXPECT_EQ(s.textOf(QStringLiteral("Label26")), QStringLiteral("2024/05/01 10:00:00"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label48")), QStringLiteral("ワンタイム"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label29")), QStringLiteral("30 ℃"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label46")), QStringLiteral("OFF"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label21")), QStringLiteral("100 点"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label19")), QStringLiteral("60"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label6")), QStringLiteral("1 分"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label7")), QStringLiteral("3.00 V"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label14")), QStringLiteral("AB12"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label8")), QString());
  for (const char* label : {"Label29", "Label31", "Label32", "Label46"}) {
    EXPECT_TRUE(s.isVisible(QString::fromUtf8(label))) << label;
  }
}

TEST(StateRules, RecordedPointsAndRecordMode) {
  const struct {
    int used, loop, wrapped;
    const char* points;
    const char* mode;
  } cases[] = {
      {10, 0, 0, "2 点", "ワンタイム"},   // 2.5 points of four bytes: never half points
      {40, 1, 2, "15000 点", "ループ"},   // a wrapped loop memory is full
      {40, 0, 2, "10 点", "ワンタイム"},  // wrapped without loop mode is no wrap
  };
  for (const auto& c : cases) {
    Fixture f(true, "kirokucyu");
    f.status.UsedMemory = c.used;
    f.status.LoopMode = static_cast<std::uint8_t>(c.loop);
    f.status.MemoryWrapped = static_cast<std::uint8_t>(c.wrapped);
    const MainWindowState s = f.run();
    EXPECT_EQ(s.textOf(QStringLiteral("Label21")), QString::fromUtf8(c.points)) << c.points;
    EXPECT_EQ(s.textOf(QStringLiteral("Label48")), QString::fromUtf8(c.mode)) << c.points;
  }
}

TEST(StateRules, IntervalTextUsesMinutesAndSeconds) {
  const struct {
    int seconds;
    const char* text;
  } cases[] = {{60, "1 分"},   {45, "45 秒"}, {90, "1 分30 秒"},
               {600, "10 分"}, {0, ""},       {14400, "240 分"}};
  for (const auto& c : cases) {
    EXPECT_EQ(IntervalText(c.seconds, japanese()), QString::fromUtf8(c.text)) << c.seconds;
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
      {2.49, "", "ＮＧ 2.49 V", PanelColour::Red, false},
      {2.5, "", "2.50 V", PanelColour::ButtonFace, true},
      {3.1, "Error", "ＮＧ 3.10 V", PanelColour::Red, false},
      {std::nullopt, "", "----", PanelColour::ButtonFace, false},
      {std::nullopt, "Error", "----", PanelColour::Red, false},
  };
  for (const auto& c : cases) {
    Fixture f(true, "");
    f.status.BatteryVoltage = c.volts;
    f.status.BatteryStatus = QString::fromUtf8(c.status);
    const MainWindowState s = f.run();
    EXPECT_EQ(s.textOf(QStringLiteral("Label7")), QString::fromUtf8(c.text)) << c.text;
    EXPECT_EQ(s.of(QStringLiteral("Label7")).background, c.colour) << c.text;
    EXPECT_EQ(BatteryAllowsRecording(f.status), c.allowsRecording) << c.text;
  }
}

TEST(StateRules, LowVoltageStopIsShownInRed) {
  Fixture f(true, "");
  f.status.StopReason = QStringLiteral("Stop");
  const MainWindowState s = f.run();
  EXPECT_EQ(s.textOf(QStringLiteral("Label8")), QStringLiteral("電圧低下により終了"));
  EXPECT_EQ(s.of(QStringLiteral("Label8")).background, PanelColour::Red);
  // A pending reservation clears the notice.
  f.in.RunState = QStringLiteral("yoyakucyu");
  const MainWindowState r = f.run();
  EXPECT_EQ(r.textOf(QStringLiteral("Label8")), QString());
  EXPECT_EQ(r.of(QStringLiteral("Label8")).background, PanelColour::ButtonFace);
}

TEST(StateRules, StartBefore2000OrUnknownHidesTheRecordingDescription) {
  for (const std::optional<double> start :
       {toDaySerial({1999, 12, 31, 23, 59, 59}), std::optional<double>()}) {
    Fixture f(true, "");
    f.status.RecordingStart = start;
    const MainWindowState s = f.run();
    EXPECT_EQ(s.textOf(QStringLiteral("Label26")), QStringLiteral("----/--/-- --:--:--"));
    for (const char* label : {"Label48", "Label29", "Label46"}) {
      ASSERT_TRUE(s.of(QString::fromUtf8(label)).text.has_value());
      EXPECT_TRUE(s.textOf(QString::fromUtf8(label)).isEmpty()) << label;
    }
  }
}

TEST(StateRules, ReservationShowsItsStartAndNoPoints) {
  Fixture f(true, "yoyakucyu");
  f.status.ReservationDay = 5;
  f.status.ReservationHour = 7;
  f.status.ReservationMinute = 3;
  const MainWindowState s = f.run();
  EXPECT_EQ(s.textOf(QStringLiteral("Label26")), QStringLiteral("05日07時03分 記録開始"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label21")), QStringLiteral("0 点"));
  // The interval the logger holds for the reservation, not the last recording's.
  EXPECT_EQ(s.textOf(QStringLiteral("Label6")), QStringLiteral("5 分"));
}

TEST(StateRules, OnlyQm120ShowsAlarms) {
  for (const char* model : {"QM100-RH", "QM200-RHA", ""}) {
    Fixture f(true, "");
    f.in.ModelName = QString::fromUtf8(model);
    const MainWindowState s = f.run();
    for (const QString& label : names("Label29 Label31 Label32 Label46")) {
      EXPECT_FALSE(s.isVisible(label)) << model << " " << label.toStdString();
      EXPECT_TRUE(s.of(label).visible.has_value());
    }
  }
}

TEST(StateRules, TailEnablesByTheCountsOfTheSets) {
  const struct {
    const char* runState;
    std::array<int, 3> counts;
    int current;
    bool navigation, realSave, logSave, filePrint, print;
  } cases[] = {
      {"", {0, 0, 0}, 0, false, false, false, false, false},
      {"", {5, 0, 0}, 0, true, false, true, false, true},
      {"", {5, 0, 0}, 2, false, false, true, false, false},
      {"", {0, 7, 3}, 1, true, true, false, true, true},
      {"renzoku", {0, 7, 0}, 1, true, false, false, false, true},
      {"kirokucyu", {0, 7, 9}, 2, true, true, false, true, true},
  };
  for (const auto& c : cases) {
    Fixture f(true, c.runState);
    f.in.SetCounts = c.counts;
    f.in.CurrentSet = c.current;
    const MainWindowState s = f.run();
    const std::pair<const char*, bool> groups[] = {
        {"VScroll1 VScroll4 HScroll1 HScroll4 Command12 Command3 Command10 Command15 Command18",
         c.navigation},
        {"m121 Command22 Command23", c.realSave},
        {"m122 Command21 Command24", c.logSave}};
    for (const auto& [list, enabled] : groups) {
      for (const QString& name : names(list))
        EXPECT_EQ(s.isEnabled(name), enabled) << c.runState << " " << name.toStdString();
    }
    EXPECT_EQ(s.isEnabled(QStringLiteral("Command25")), c.filePrint);
    EXPECT_EQ(s.isEnabled(QStringLiteral("m13")), c.print);
  }
}

TEST(StateRules, NavigationIsHiddenOnlyDuringContinuousMeasurement) {
  for (const auto& [connected, runState, visible] :
       {std::tuple{true, "renzoku", false}, std::tuple{true, "", true},
        std::tuple{true, "kirokucyu", true}, std::tuple{false, "renzoku", true}}) {
    Fixture f(connected, runState);
    EXPECT_EQ(f.run().isVisible(QStringLiteral("HScroll2")), visible) << runState << connected;
  }
}

TEST(StateRules, ShownSetPictureAndViewFollowCurrentSetAndMode) {
  const struct {
    int set, mode;
    const char* picture;
    const char* label;
    const char* list;
  } cases[] = {{0, 0, "Picture4", "ログ", nullptr},
               {1, 1, "Picture6", "リアルタイム", "ListView1_1"},
               {2, 1, "Picture5", "ファイル", "ListView1_2"}};
  for (const auto& c : cases) {
    Fixture f(true, "");
    f.in.CurrentSet = c.set;
    f.in.ViewMode = c.mode;
    const MainWindowState s = f.run();
    for (const char* p : {"Picture4", "Picture6", "Picture5"}) {
      EXPECT_EQ(s.isVisible(QString::fromUtf8(p)), std::string(p) == c.picture) << p;
    }
    EXPECT_EQ(s.textOf(QStringLiteral("Label3")), QString::fromUtf8(c.label));
    EXPECT_EQ(s.isVisible(QStringLiteral("ondo")), c.mode == 0);
    EXPECT_EQ(s.isVisible(QStringLiteral("situdo")), c.mode == 0);
    for (int set = 0; set < 3; ++set) {
      const QString name = QStringLiteral("ListView1_%1").arg(set);
      EXPECT_EQ(s.isVisible(name), c.list != nullptr && name == QString::fromUtf8(c.list))
          << name.toStdString();
    }
  }
}

TEST(StateRules, LockAndUnlockCoverTheSameCommands) {
  MainWindowState locked;
  LockCommands(locked);
  MainWindowState unlocked;
  UnlockCommands(unlocked);
  EXPECT_EQ(LockedControls().size(), 30);
  for (const QString& name : LockedControls()) {
    EXPECT_FALSE(locked.isEnabled(name)) << name.toStdString();
    EXPECT_TRUE(unlocked.isEnabled(name)) << name.toStdString();
  }
  for (const char* option : {"Option5", "Option6", "Option7", "Option8", "Option9"}) {
    EXPECT_FALSE(locked.of(QString::fromUtf8(option)).enabled.has_value());
    EXPECT_TRUE(unlocked.isEnabled(QString::fromUtf8(option)));
  }
}

TEST(StateRules, EnglishTextsComeFromTheEnglishTable) {
  const UiText english = UiText::load(UiText::Language::English);
  Fixture f(true, "yoyakucyu");
  f.in.Texts = &english;
  f.status.ReservationDay = 12;
  f.status.ReservationHour = 23;
  f.status.ReservationMinute = 59;
  const MainWindowState s = f.run();
  EXPECT_EQ(s.textOf(QStringLiteral("Label26")), QStringLiteral("12Day23:59 Record beginning"));
  EXPECT_EQ(s.textOf(QStringLiteral("Command4")), QStringLiteral("Reservation cancel"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label29")), QStringLiteral("30 C"));
  EXPECT_EQ(s.StatusBarText, QStringLiteral("Communicating\u3000Port3"));
}

TEST(StateRules, MissingInputsGiveAnEmptyStateInsteadOfACrash) {
  StateInputs in;
  const MainWindowState s = RefreshMainWindowState(in);
  EXPECT_TRUE(s.Controls.isEmpty());
  EXPECT_EQ(DialogsClosedOnRefresh(),
            QStringList({QStringLiteral("Form12"), QStringLiteral("Form2"), QStringLiteral("Form5"),
                         QStringLiteral("Form6")}));
}

TEST(StateRules, InputsAreTakenFromTheWindowsState) {
  AppState app;
  app.Connected = true;
  app.PortNumber = 9;
  app.RunState = QStringLiteral("kirokucyu");
  app.ModelName = QStringLiteral("QM100-RH");
  app.Status.LoggerName = QStringLiteral("ZZ");
  app.set(kLogSet).Count = 0;
  app.set(kRealTimeSet).Count = 4;
  app.CurrentSet = kRealTimeSet;
  const MainWindowState s = RefreshMainWindowState(StateInputs::from(app));
  EXPECT_EQ(s.StatusBarText, QStringLiteral("通信中\u3000ポート9"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label16")), QStringLiteral("記録中"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label14")), QStringLiteral("ZZ"));
  EXPECT_EQ(s.textOf(QStringLiteral("Label3")), QStringLiteral("リアルタイム"));
  EXPECT_TRUE(s.isEnabled(QStringLiteral("Command22")));
  EXPECT_FALSE(s.isEnabled(QStringLiteral("Command21")));
  app.Connected = false;
  const MainWindowState off = RefreshMainWindowState(StateInputs::from(app));
  EXPECT_EQ(off.ModelName, QStringLiteral("Termika"));
}

}  // namespace
}  // namespace termika
