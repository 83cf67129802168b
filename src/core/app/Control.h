#pragma once

#include <cstddef>

namespace termika {

// Every control and menu entry of the main window the state rules decide
// on. The window maps each value to its widget or action in one switch, so a
// value without a control does not compile.
enum class Control {
  // Top row.
  Lamp,
  ConnectionText,
  PortCombo,
  BaudCombo,
  ModelCombo,
  InitButton,
  LoggerClock,
  // Status panel.
  RecordingState,
  BatteryVoltage,
  RecordingStart,
  RecordingMode,
  RecordedPoints,
  IntervalText,
  IntervalSeconds,
  UpperAlarmCaption,
  UpperAlarm,
  LowerAlarmCaption,
  LowerAlarm,
  LoggerName,
  NameButton,
  StopNotice,
  // Logger commands.
  StatusUpdateButton,
  DownloadButton,
  RecordButton,
  SaveLogButton,
  PrintLogButton,
  // Measurement.
  MeasureOnceButton,
  ContinuousButton,
  SpacingCombo,
  SpacingSecondsRadio,
  SpacingMinutesRadio,
  LiveTime,
  BatteryIndicator,
  LiveTemperature,
  LiveHumidity,
  SaveRealTimeButton,
  PrintRealTimeButton,
  // File data.
  OpenCsvButton,
  PrintFileButton,
  // Set and view choice.
  SetChoice,
  LogSetRadio,
  RealTimeSetRadio,
  FileSetRadio,
  ViewChoice,
  GraphRadio,
  DumpRadio,
  ShownSetCaption,
  // Graphs, their bars and buttons, and the dump lists.
  TemperatureGraph,
  HumidityGraph,
  TemperatureWidthBar,
  TemperatureOffsetBar,
  HumidityWidthBar,
  HumidityOffsetBar,
  TemperatureHalfSpanBar,
  TemperatureCentreBar,
  HumidityHalfSpanBar,
  HumidityCentreBar,
  TemperatureSpanNarrower,
  TemperatureSpanWider,
  HumiditySpanWider,
  HumiditySpanNarrower,
  TimeZoomIn,
  TimeZoomOut,
  FitButton,
  LogDumpList,
  RealTimeDumpList,
  FileDumpList,
  // Menus and their items.
  FileMenu,
  OpenCsvItem,
  SaveMenu,
  SaveLogItem,
  SaveRealTimeItem,
  PrintItem,
  ReportItem,
  DisplayMenu,
  LogViewMenu,
  LogGraphItem,
  LogDumpItem,
  RealTimeViewMenu,
  RealTimeGraphItem,
  RealTimeDumpItem,
  FileViewMenu,
  FileGraphItem,
  FileDumpItem,
  ToolMenu,
  ClockItem,
  LoggerNameItem,
  DownloadModeMenu,
  FastDownloadItem,
  SlowDownloadItem,
};

inline constexpr std::size_t kControlCount =
    static_cast<std::size_t>(Control::SlowDownloadItem) + 1;

constexpr std::size_t indexOf(Control control) { return static_cast<std::size_t>(control); }

}  // namespace termika
