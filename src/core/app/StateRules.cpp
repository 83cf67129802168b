#include "core/app/StateRules.h"

#include <QFileInfo>
#include <cmath>

#include "core/data/DayTime.h"
#include "core/data/Formats.h"
#include "core/data/LoggerModel.h"
#include "core/model/AppState.h"

namespace termika {
namespace {

const QString kNoStart = QStringLiteral("----/--/-- --:--:--");
const QString kDashes = QStringLiteral("----");

QStringList names(const char* prefix, int first, int last) {
  QStringList list;
  for (int i = first; i <= last; ++i)
    list << QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i);
  return list;
}

QStringList navigationControls() {
  QStringList list = names("VScroll", 1, 4) + names("HScroll", 1, 4);
  list << QStringLiteral("Command12") << QStringLiteral("Command3") << QStringLiteral("Command10");
  list += names("Command", 15, 18);
  return list;
}

void enable(MainWindowState& s, const QStringList& controls, bool on) {
  for (const QString& name : controls) s.at(name).enabled = on;
}

void setText(MainWindowState& s, const QString& name, const QString& text) {
  s.at(name).text = text;
}

void setColoured(MainWindowState& s, const QString& name, const QString& text, PanelColour colour) {
  s.at(name).text = text;
  s.at(name).background = colour;
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// Voltage in hundredths of a volt, as shown on the panel.
std::optional<int> centivolts(const LoggerStatus& status) {
  if (!status.batteryVoltage) return std::nullopt;
  return static_cast<int>(std::lround(*status.batteryVoltage * 100.0));
}

QString alarmText(const AlarmSetting& alarm, const UiText& t) {
  if (alarm.enabled == 0) return QStringLiteral("OFF");
  return QString::number(alarm.limit) + t[TextId::StatusLimitDegrees];
}

void notConnected(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  s.windowCaption = t[TextId::WindowTitle];
  s.modelName = QStringLiteral("Termika");
  s.connectPictureOn = false;
  s.stopLink = true;
  lockCommands(s);
  enable(s, {QStringLiteral("Combo1"), QStringLiteral("Combo3"), QStringLiteral("Combo4")}, true);
  enable(s, {QStringLiteral("Command27")}, false);
  enable(s, names("m", 1, 3), true);
  enable(s,
         {QStringLiteral("m11"), QStringLiteral("m12"), QStringLiteral("m21"),
          QStringLiteral("m22"), QStringLiteral("m23")},
         true);
  enable(s, {QStringLiteral("m33"), QStringLiteral("m34")}, false);
  enable(s, {QStringLiteral("Frame8"), QStringLiteral("Frame11")}, true);
  enable(s, names("Option", 5, 9), true);
  for (const char* label : {"Label19", "Label6", "Label21", "Label26", "Label10", "Label2",
                            "Label4", "Label48", "Label29", "Label46", "Label39", "Label24"}) {
    setText(s, QLatin1String(label), QString());
  }
  setColoured(s, QStringLiteral("Label8"), QString(), PanelColour::ButtonFace);
  setText(s, QStringLiteral("Label16"), kDashes);
  setColoured(s, QStringLiteral("Label7"), kDashes, PanelColour::ButtonFace);
  setText(s, QStringLiteral("Label14"), kDashes);
  setText(s, QStringLiteral("Command2"), t[TextId::ContinuousButtonOffline]);
  setText(s, QStringLiteral("Command4"), t[TextId::StartRecording]);
  s.statusBarText = t[TextId::NotConnected];
  setText(s, QStringLiteral("Label49"), t[TextId::NotConnected]);
  s.at(QStringLiteral("Shape1")).background = PanelColour::Black;
  for (const QString& name : navigationControls()) s.at(name).visible = true;
}

void connectedCommon(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  const LoggerStatus& st = *in.status;
  s.windowCaption = t[TextId::WindowTitle] + in.modelName;
  s.modelName = in.modelName;
  s.connectPictureOn = true;
  enable(s, {QStringLiteral("Combo1"), QStringLiteral("Combo3")}, false);
  enable(s, {QStringLiteral("Command27")}, true);
  enable(s, {QStringLiteral("m33"), QStringLiteral("m34")}, false);
  s.statusBarText = t[TextId::CommunicatingPort] + QString::number(in.portNumber);
  setText(s, QStringLiteral("Label49"), t[TextId::Communicating]);
  s.at(QStringLiteral("Shape1")).background = PanelColour::LightGreen;

  // A start time before 2000 means the logger has never recorded: its mode
  // and alarms would describe nothing.
  const bool startKnown =
      st.recordingStart.has_value() && civilFromDaySerial(*st.recordingStart).year >= 2000;
  if (startKnown) {
    setText(s, QStringLiteral("Label26"), fmt::dateTime(*st.recordingStart));
    setText(s, QStringLiteral("Label48"),
            st.loopMode != 0 ? t[TextId::LoopMode] : t[TextId::OneTimeMode]);
    setText(s, QStringLiteral("Label29"), alarmText(st.upperAlarm, t));
    setText(s, QStringLiteral("Label46"), alarmText(st.lowerAlarm, t));
  } else {
    setText(s, QStringLiteral("Label26"), kNoStart);
    for (const char* label : {"Label48", "Label29", "Label46"})
      setText(s, QLatin1String(label), QString());
  }

  const QString points =
      st.wrapped() ? QStringLiteral("15000") : QString::number(st.recordedPoints());
  setText(s, QStringLiteral("Label21"), points + t[TextId::PointsUnit]);
  setText(s, QStringLiteral("Label19"), QString::number(st.recordedInterval));
  setText(
      s, QStringLiteral("Label6"),
      fmt::interval(st.recordedInterval, t[TextId::IntervalMinutes], t[TextId::IntervalSeconds]));

  const bool fault = st.batteryStatus == QStringLiteral("Error");
  if (const auto cv = centivolts(st)) {
    const QString volts = fmt::fixed2(*cv / 100.0) + QStringLiteral(" V");
    if (*cv >= 250 && !fault) {
      setColoured(s, QStringLiteral("Label7"), volts, PanelColour::ButtonFace);
    } else {
      setColoured(s, QStringLiteral("Label7"), t[TextId::BatteryNg] + volts, PanelColour::Red);
    }
  } else {
    setColoured(s, QStringLiteral("Label7"), kDashes,
                fault ? PanelColour::Red : PanelColour::ButtonFace);
  }

  if (st.stopReason == QStringLiteral("Stop")) {
    setColoured(s, QStringLiteral("Label8"), t[TextId::EndedByLowVoltage], PanelColour::Red);
  } else {
    setColoured(s, QStringLiteral("Label8"), QString(), PanelColour::ButtonFace);
  }
  setText(s, QStringLiteral("Label14"), st.loggerName);

  // The battery answer of the connect and of every measurement, and the
  // logger's clock as last read.
  setText(s, QStringLiteral("Label39"),
          t[st.batteryLow ? TextId::BatteryLow : TextId::BatteryNormal]);
  s.at(QStringLiteral("Label39")).foreground =
      st.batteryLow ? PanelColour::Red : PanelColour::Black;
  setText(s, QStringLiteral("Label24"),
          st.deviceClock ? fmt::dateTime(*st.deviceClock) : QString());
}

// Part of the recording, reservation and idle rows a running download
// overrides: the sets and their views must stay as the download left them.
void downloading(MainWindowState& s) {
  lockCommands(s);
  enable(s, controlsLockedDuringDownload(), false);
  for (const char* label : {"Label2", "Label4", "Label10"}) setText(s, QLatin1String(label), {});
}

void idle(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  unlockCommands(s);
  enable(s, {QStringLiteral("Combo4")}, false);
  enable(s,
         {QStringLiteral("m22"), QStringLiteral("m33"), QStringLiteral("m34"), QStringLiteral("m2"),
          QStringLiteral("m11"), QStringLiteral("m12"), QStringLiteral("Frame8"),
          QStringLiteral("Frame11")},
         true);
  for (const QString& name : navigationControls()) s.at(name).visible = true;
  setText(s, QStringLiteral("Command4"), t[TextId::StartRecording]);
  setText(s, QStringLiteral("Label16"), t[TextId::RecordingStopped]);
  setText(s, QStringLiteral("Command2"), t[TextId::ContinuousButton]);
}

void continuous(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  lockCommands(s);
  for (const QString& name : navigationControls()) s.at(name).visible = false;
  enable(s, {QStringLiteral("Command10"), QStringLiteral("Command12")}, false);
  enable(s, {QStringLiteral("Command2"), QStringLiteral("m1"), QStringLiteral("m3")}, true);
  enable(s, {QStringLiteral("Option5"), QStringLiteral("Option7")}, false);
  enable(s, {QStringLiteral("Option6"), QStringLiteral("Option8"), QStringLiteral("Option9")},
         true);
  enable(s, {QStringLiteral("Command22"), QStringLiteral("Command23")}, false);
  enable(s, {QStringLiteral("Frame8"), QStringLiteral("Frame11")}, true);
  setText(s, QStringLiteral("Command2"), t[TextId::StopContinuousButton]);
  setText(s, QStringLiteral("Command4"), t[TextId::StartRecording]);
  setText(s, QStringLiteral("Label16"), t[TextId::RecordingStopped]);
}

// The part the recording and reservation rows share.
void loggerBusy(MainWindowState& s) {
  lockCommands(s);
  enable(s, {QStringLiteral("m22"), QStringLiteral("Option6")}, false);
  enable(s, {QStringLiteral("Command11"), QStringLiteral("Command4")}, true);
  enable(s,
         {QStringLiteral("m1"), QStringLiteral("m2"), QStringLiteral("m3"), QStringLiteral("m11"),
          QStringLiteral("m12"), QStringLiteral("m21"), QStringLiteral("m23")},
         true);
  enable(s,
         {QStringLiteral("Option5"), QStringLiteral("Option7"), QStringLiteral("Option8"),
          QStringLiteral("Option9"), QStringLiteral("Frame8"), QStringLiteral("Frame11")},
         true);
  for (const QString& name : navigationControls()) s.at(name).visible = true;
}

void reservation(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  const LoggerStatus& st = *in.status;
  loggerBusy(s);
  setText(s, QStringLiteral("Command4"), t[TextId::CancelReservationButton]);
  setText(s, QStringLiteral("Label16"), t[TextId::ReservedState]);
  setText(s, QStringLiteral("Command2"), t[TextId::ContinuousButton]);
  setColoured(s, QStringLiteral("Label8"), QString(), PanelColour::ButtonFace);
  setText(s, QStringLiteral("Label26"),
          twoDigits(st.reservationDay) + t[TextId::ReservationDay] + twoDigits(st.reservationHour) +
              t[TextId::ReservationHour] + twoDigits(st.reservationMinute) +
              t[TextId::ReservationStartMinute]);
  setText(s, QStringLiteral("Label21"), QStringLiteral("0") + t[TextId::ReservedPointsUnit]);
  setText(
      s, QStringLiteral("Label6"),
      fmt::interval(st.intervalSetting, t[TextId::IntervalMinutes], t[TextId::IntervalSeconds]));
}

void recording(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  loggerBusy(s);
  setText(s, QStringLiteral("Command4"), t[TextId::StopRecordingButton]);
  setText(s, QStringLiteral("Label16"), t[TextId::RecordingState]);
  setText(s, QStringLiteral("Command2"), t[TextId::ContinuousButton]);
}

void commonTail(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  const int current = in.currentSet >= 0 && in.currentSet < 3 ? in.currentSet : 0;
  const bool shownHasPoints = in.setCounts[static_cast<size_t>(current)] != 0;
  enable(s, navigationControls(), shownHasPoints);

  const bool measuring = in.connected && in.runState == RunState::Continuous;
  enable(s, {QStringLiteral("m121"), QStringLiteral("Command22"), QStringLiteral("Command23")},
         !measuring && in.setCounts[kRealTimeSet] != 0);
  enable(s, {QStringLiteral("m122"), QStringLiteral("Command21"), QStringLiteral("Command24")},
         in.setCounts[kLogSet] != 0);
  enable(s, {QStringLiteral("Command25")}, in.setCounts[kFileSet] != 0);

  static const std::array<const char*, 3> kPictures{"Picture4", "Picture6", "Picture5"};
  for (int set = 0; set < 3; ++set) {
    s.at(QLatin1String(kPictures[static_cast<size_t>(set)])).visible = set == current;
    // The graphs or the dump list of the shown set, by the display mode.
    s.at(QStringLiteral("ListView1_%1").arg(set)).visible = set == current && in.viewMode == 1;
  }
  s.at(QStringLiteral("ondo")).visible = in.viewMode == 0;
  s.at(QStringLiteral("situdo")).visible = in.viewMode == 0;
  setText(s, QStringLiteral("Label3"), t.inRange(TextId::ShownLog, current));

  enable(s, {QStringLiteral("m13")}, shownHasPoints);

  // Only this model has alarms. The log set keeps the model it was recorded
  // with: the panel describes the logger, not the data held.
  const bool alarms = hasAlarms(s.modelName);
  for (const char* label : {"Label29", "Label31", "Label32", "Label46"}) {
    s.at(QLatin1String(label)).visible = alarms;
  }
}

}  // namespace

StateInputs StateInputs::from(const AppState& state) {
  StateInputs in;
  in.connected = state.connected;
  in.portNumber = state.portNumber;
  in.runState = state.runState;
  in.modelName = state.modelName;
  in.status = &state.status;
  for (int set = 0; set < kSetCount; ++set)
    in.setCounts[static_cast<size_t>(set)] = state.set(set).count;
  in.currentSet = state.currentSet;
  in.viewMode = state.viewMode;
  in.fileSetFile =
      state.fileSetFile.isEmpty() ? QString() : QFileInfo(state.fileSetFile).fileName();
  in.texts = &state.texts;
  return in;
}

QStringList dialogsClosedOnRefresh() {
  return {QStringLiteral("RecordingSettingsDialog"), QStringLiteral("LoggerNameDialog"),
          QStringLiteral("PortSettingsDialog"), QStringLiteral("ClockDialog")};
}

QStringList lockedControls() {
  QStringList list = names("Option", 3, 4);
  list << QStringLiteral("Combo5") << QStringLiteral("Combo4");
  for (int n : {1, 2, 4, 5, 11, 13}) list << QStringLiteral("Command%1").arg(n);
  for (int n : {1, 2, 3, 11, 12, 21, 22, 23, 33, 34}) list << QStringLiteral("m%1").arg(n);
  return list;
}

void lockCommands(MainWindowState& state) { enable(state, lockedControls(), false); }

void unlockCommands(MainWindowState& state) {
  enable(state, lockedControls(), true);
  enable(state, names("Option", 5, 9), true);
}

QStringList controlsLockedDuringDownload() {
  QStringList list = names("Option", 5, 9);
  list << QStringLiteral("Frame8") << QStringLiteral("Frame11");
  list += names("Command", 21, 25);
  list << QStringLiteral("Command14") << QStringLiteral("Command27");
  for (const char* menu : {"m2", "m11", "m12", "m121", "m122", "m13", "m21", "m211", "m212", "m22",
                           "m221", "m222", "m23", "m231", "m232", "D_M", "D_M_Fast", "D_M_Slow"})
    list << QLatin1String(menu);
  list += navigationControls();
  return list;
}

bool batteryAllowsRecording(const LoggerStatus& status) {
  const auto cv = centivolts(status);
  return cv.has_value() && *cv >= 250 && status.batteryStatus != QStringLiteral("Error");
}

MainWindowState mainWindowStateFor(const StateInputs& in) {
  MainWindowState s;
  if (in.texts == nullptr || in.status == nullptr) return s;
  // What only a download takes away comes back with its end; the rows below
  // decide the rest.
  enable(s, controlsLockedDuringDownload(), true);
  if (!in.connected) {
    notConnected(in, s);
  } else {
    connectedCommon(in, s);
    if (in.runState == RunState::Recording) {
      recording(in, s);
    } else if (in.runState == RunState::Reserved) {
      reservation(in, s);
    } else if (in.runState == RunState::Continuous) {
      continuous(in, s);
    } else {
      idle(in, s);
    }
  }
  commonTail(in, s);
  if (in.connected && in.downloading) downloading(s);
  if (!in.fileSetFile.isEmpty() && in.currentSet == kFileSet)
    s.windowCaption = s.windowCaption.trimmed() + QStringLiteral(" - ") + in.fileSetFile;
  return s;
}

}  // namespace termika
