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

ControlList operator+(ControlList a, const ControlList& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const ControlList kSetAndViewRadios{Control::LogSetRadio, Control::RealTimeSetRadio,
                                    Control::FileSetRadio, Control::GraphRadio, Control::DumpRadio};

ControlList navigationControls() {
  return {Control::TemperatureHalfSpanBar,
          Control::TemperatureCentreBar,
          Control::HumidityHalfSpanBar,
          Control::HumidityCentreBar,
          Control::TemperatureWidthBar,
          Control::TemperatureOffsetBar,
          Control::HumidityWidthBar,
          Control::HumidityOffsetBar,
          Control::FitButton,
          Control::TemperatureSpanNarrower,
          Control::TemperatureSpanWider,
          Control::HumiditySpanWider,
          Control::HumiditySpanNarrower,
          Control::TimeZoomIn,
          Control::TimeZoomOut};
}

void enable(MainWindowState& s, const ControlList& controls, bool on) {
  for (Control control : controls) s.at(control).enabled = on;
}

void setText(MainWindowState& s, Control control, const QString& text) {
  s.at(control).text = text;
}

void setColoured(MainWindowState& s, Control control, const QString& text, PanelColour colour) {
  s.at(control).text = text;
  s.at(control).background = colour;
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
  enable(s, {Control::BaudCombo, Control::ModelCombo, Control::PortCombo}, true);
  enable(s, {Control::InitButton}, false);
  enable(s, {Control::FileMenu, Control::DisplayMenu, Control::ToolMenu}, true);
  enable(s,
         {Control::OpenCsvItem, Control::SaveMenu, Control::LogViewMenu, Control::RealTimeViewMenu,
          Control::FileViewMenu},
         true);
  enable(s, {Control::ClockItem, Control::LoggerNameItem}, false);
  enable(s, {Control::SetChoice, Control::ViewChoice}, true);
  enable(s, kSetAndViewRadios, true);
  for (Control label : {Control::IntervalSeconds, Control::IntervalText, Control::RecordedPoints,
                        Control::RecordingStart, Control::LiveTime, Control::LiveTemperature,
                        Control::LiveHumidity, Control::RecordingMode, Control::UpperAlarm,
                        Control::LowerAlarm, Control::BatteryIndicator, Control::LoggerClock}) {
    setText(s, label, QString());
  }
  setColoured(s, Control::StopNotice, QString(), PanelColour::ButtonFace);
  setText(s, Control::RecordingState, kDashes);
  setColoured(s, Control::BatteryVoltage, kDashes, PanelColour::ButtonFace);
  setText(s, Control::LoggerName, kDashes);
  setText(s, Control::ContinuousButton, t[TextId::ContinuousButtonOffline]);
  setText(s, Control::RecordButton, t[TextId::StartRecording]);
  s.statusBarText = t[TextId::NotConnected];
  setText(s, Control::ConnectionText, t[TextId::NotConnected]);
  s.at(Control::Lamp).background = PanelColour::Black;
  for (Control control : navigationControls()) s.at(control).visible = true;
}

void connectedCommon(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  const LoggerStatus& st = *in.status;
  s.windowCaption = t[TextId::WindowTitle] + in.modelName;
  s.modelName = in.modelName;
  s.connectPictureOn = true;
  enable(s, {Control::BaudCombo, Control::ModelCombo}, false);
  enable(s, {Control::InitButton}, true);
  enable(s, {Control::ClockItem, Control::LoggerNameItem}, false);
  s.statusBarText = t[TextId::CommunicatingPort] + QString::number(in.portNumber);
  setText(s, Control::ConnectionText, t[TextId::Communicating]);
  s.at(Control::Lamp).background = PanelColour::LightGreen;

  // A start time before 2000 means the logger has never recorded: its mode
  // and alarms would describe nothing.
  const bool startKnown =
      st.recordingStart.has_value() && civilFromDaySerial(*st.recordingStart).year >= 2000;
  if (startKnown) {
    setText(s, Control::RecordingStart, fmt::dateTime(*st.recordingStart));
    setText(s, Control::RecordingMode,
            st.loopMode != 0 ? t[TextId::LoopMode] : t[TextId::OneTimeMode]);
    setText(s, Control::UpperAlarm, alarmText(st.upperAlarm, t));
    setText(s, Control::LowerAlarm, alarmText(st.lowerAlarm, t));
  } else {
    setText(s, Control::RecordingStart, kNoStart);
    for (Control label : {Control::RecordingMode, Control::UpperAlarm, Control::LowerAlarm})
      setText(s, label, QString());
  }

  const QString points =
      st.wrapped() ? QStringLiteral("15000") : QString::number(st.recordedPoints());
  setText(s, Control::RecordedPoints, points + t[TextId::PointsUnit]);
  setText(s, Control::IntervalSeconds, QString::number(st.recordedInterval));
  setText(
      s, Control::IntervalText,
      fmt::interval(st.recordedInterval, t[TextId::IntervalMinutes], t[TextId::IntervalSeconds]));

  const bool fault = st.batteryStatus == QStringLiteral("Error");
  if (const auto cv = centivolts(st)) {
    const QString volts = fmt::fixed2(*cv / 100.0) + QStringLiteral(" V");
    if (*cv >= 250 && !fault) {
      setColoured(s, Control::BatteryVoltage, volts, PanelColour::ButtonFace);
    } else {
      setColoured(s, Control::BatteryVoltage, t[TextId::BatteryNg] + volts, PanelColour::Red);
    }
  } else {
    setColoured(s, Control::BatteryVoltage, kDashes,
                fault ? PanelColour::Red : PanelColour::ButtonFace);
  }

  if (st.stopReason == QStringLiteral("Stop")) {
    setColoured(s, Control::StopNotice, t[TextId::EndedByLowVoltage], PanelColour::Red);
  } else {
    setColoured(s, Control::StopNotice, QString(), PanelColour::ButtonFace);
  }
  setText(s, Control::LoggerName, st.loggerName);

  // The battery answer of the connect and of every measurement, and the
  // logger's clock as last read.
  setText(s, Control::BatteryIndicator,
          t[st.batteryLow ? TextId::BatteryLow : TextId::BatteryNormal]);
  s.at(Control::BatteryIndicator).foreground =
      st.batteryLow ? PanelColour::Red : PanelColour::Black;
  setText(s, Control::LoggerClock, st.deviceClock ? fmt::dateTime(*st.deviceClock) : QString());
}

// Part of the recording, reservation and idle rows a running download
// overrides: the sets and their views must stay as the download left them.
void downloading(MainWindowState& s) {
  lockCommands(s);
  enable(s, controlsLockedDuringDownload(), false);
  for (Control label : {Control::LiveTemperature, Control::LiveHumidity, Control::LiveTime})
    setText(s, label, {});
}

void idle(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  unlockCommands(s);
  enable(s, {Control::PortCombo}, false);
  enable(
      s,
      {Control::RealTimeViewMenu, Control::ClockItem, Control::LoggerNameItem, Control::DisplayMenu,
       Control::OpenCsvItem, Control::SaveMenu, Control::SetChoice, Control::ViewChoice},
      true);
  for (Control control : navigationControls()) s.at(control).visible = true;
  setText(s, Control::RecordButton, t[TextId::StartRecording]);
  setText(s, Control::RecordingState, t[TextId::RecordingStopped]);
  setText(s, Control::ContinuousButton, t[TextId::ContinuousButton]);
}

void continuous(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  lockCommands(s);
  for (Control control : navigationControls()) s.at(control).visible = false;
  enable(s, {Control::TemperatureSpanWider, Control::FitButton}, false);
  enable(s, {Control::ContinuousButton, Control::FileMenu, Control::ToolMenu}, true);
  enable(s, {Control::LogSetRadio, Control::FileSetRadio}, false);
  enable(s, {Control::RealTimeSetRadio, Control::GraphRadio, Control::DumpRadio}, true);
  enable(s, {Control::SaveRealTimeButton, Control::PrintRealTimeButton}, false);
  enable(s, {Control::SetChoice, Control::ViewChoice}, true);
  setText(s, Control::ContinuousButton, t[TextId::StopContinuousButton]);
  setText(s, Control::RecordButton, t[TextId::StartRecording]);
  setText(s, Control::RecordingState, t[TextId::RecordingStopped]);
}

// The part the recording and reservation rows share.
void loggerBusy(MainWindowState& s) {
  lockCommands(s);
  enable(s, {Control::RealTimeViewMenu, Control::RealTimeSetRadio}, false);
  enable(s, {Control::StatusUpdateButton, Control::RecordButton}, true);
  enable(s,
         {Control::FileMenu, Control::DisplayMenu, Control::ToolMenu, Control::OpenCsvItem,
          Control::SaveMenu, Control::LogViewMenu, Control::FileViewMenu},
         true);
  enable(s,
         {Control::LogSetRadio, Control::FileSetRadio, Control::GraphRadio, Control::DumpRadio,
          Control::SetChoice, Control::ViewChoice},
         true);
  for (Control control : navigationControls()) s.at(control).visible = true;
}

void reservation(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  const LoggerStatus& st = *in.status;
  loggerBusy(s);
  setText(s, Control::RecordButton, t[TextId::CancelReservationButton]);
  setText(s, Control::RecordingState, t[TextId::ReservedState]);
  setText(s, Control::ContinuousButton, t[TextId::ContinuousButton]);
  setColoured(s, Control::StopNotice, QString(), PanelColour::ButtonFace);
  setText(s, Control::RecordingStart,
          twoDigits(st.reservationDay) + t[TextId::ReservationDay] + twoDigits(st.reservationHour) +
              t[TextId::ReservationHour] + twoDigits(st.reservationMinute) +
              t[TextId::ReservationStartMinute]);
  setText(s, Control::RecordedPoints, QStringLiteral("0") + t[TextId::ReservedPointsUnit]);
  setText(
      s, Control::IntervalText,
      fmt::interval(st.intervalSetting, t[TextId::IntervalMinutes], t[TextId::IntervalSeconds]));
}

void recording(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  loggerBusy(s);
  setText(s, Control::RecordButton, t[TextId::StopRecordingButton]);
  setText(s, Control::RecordingState, t[TextId::RecordingState]);
  setText(s, Control::ContinuousButton, t[TextId::ContinuousButton]);
}

void commonTail(const StateInputs& in, MainWindowState& s) {
  const UiText& t = *in.texts;
  const int current = in.currentSet >= 0 && in.currentSet < 3 ? in.currentSet : 0;
  const bool shownHasPoints = in.setCounts[static_cast<size_t>(current)] != 0;
  enable(s, navigationControls(), shownHasPoints);

  const bool measuring = in.connected && in.runState == RunState::Continuous;
  enable(s, {Control::SaveRealTimeItem, Control::SaveRealTimeButton, Control::PrintRealTimeButton},
         !measuring && in.setCounts[kRealTimeSet] != 0);
  enable(s, {Control::SaveLogItem, Control::SaveLogButton, Control::PrintLogButton},
         in.setCounts[kLogSet] != 0);
  enable(s, {Control::PrintFileButton}, in.setCounts[kFileSet] != 0);

  // The graphs or the dump list of the shown set, by the display mode.
  const std::array<Control, kSetCount> lists{Control::LogDumpList, Control::RealTimeDumpList,
                                             Control::FileDumpList};
  for (int set = 0; set < kSetCount; ++set)
    s.at(lists[static_cast<size_t>(set)]).visible = set == current && in.viewMode == 1;
  s.at(Control::TemperatureGraph).visible = in.viewMode == 0;
  s.at(Control::HumidityGraph).visible = in.viewMode == 0;
  setText(s, Control::ShownSetCaption, t.inRange(TextId::ShownLog, current));

  enable(s, {Control::PrintItem, Control::ReportItem}, shownHasPoints);

  // Only this model has alarms. The log set keeps the model it was recorded
  // with: the panel describes the logger, not the data held.
  const bool alarms = hasAlarms(s.modelName);
  for (Control label : {Control::UpperAlarm, Control::UpperAlarmCaption, Control::LowerAlarmCaption,
                        Control::LowerAlarm}) {
    s.at(label).visible = alarms;
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

ControlList lockedControls() {
  return {Control::SpacingSecondsRadio,
          Control::SpacingMinutesRadio,
          Control::SpacingCombo,
          Control::PortCombo,
          Control::MeasureOnceButton,
          Control::ContinuousButton,
          Control::RecordButton,
          Control::DownloadButton,
          Control::StatusUpdateButton,
          Control::NameButton,
          Control::FileMenu,
          Control::DisplayMenu,
          Control::ToolMenu,
          Control::OpenCsvItem,
          Control::SaveMenu,
          Control::LogViewMenu,
          Control::RealTimeViewMenu,
          Control::FileViewMenu,
          Control::ClockItem,
          Control::LoggerNameItem};
}

void lockCommands(MainWindowState& state) { enable(state, lockedControls(), false); }

void unlockCommands(MainWindowState& state) {
  enable(state, lockedControls(), true);
  enable(state, kSetAndViewRadios, true);
}

ControlList controlsLockedDuringDownload() {
  const ControlList locked{
      Control::SetChoice,          Control::ViewChoice,          Control::SaveLogButton,
      Control::SaveRealTimeButton, Control::PrintRealTimeButton, Control::PrintLogButton,
      Control::PrintFileButton,    Control::OpenCsvButton,       Control::InitButton,
      Control::DisplayMenu,        Control::OpenCsvItem,         Control::SaveMenu,
      Control::SaveRealTimeItem,   Control::SaveLogItem,         Control::PrintItem,
      Control::ReportItem,         Control::LogViewMenu,         Control::LogGraphItem,
      Control::LogDumpItem,        Control::RealTimeViewMenu,    Control::RealTimeGraphItem,
      Control::RealTimeDumpItem,   Control::FileViewMenu,        Control::FileGraphItem,
      Control::FileDumpItem,       Control::DownloadModeMenu,    Control::FastDownloadItem,
      Control::SlowDownloadItem};
  return kSetAndViewRadios + locked + navigationControls();
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
