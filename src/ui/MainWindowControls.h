#pragma once

#include <array>

#include "core/app/Control.h"
#include "core/data/DataSet.h"
#include "core/views/Navigation.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QObject;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSplitter;
class QStackedWidget;
class QTableView;
class QToolButton;

namespace termika {

class GraphView;
class Lamp;

// The main window's widgets and menu entries, typed. The window builds them
// (all owned by Qt parents) and hands them to the views, the state applier
// and the tests.
struct MainWindowControls {
  // Top row.
  Lamp* lamp = nullptr;
  QLabel* connectionText = nullptr;
  QPushButton* connectButton = nullptr;
  QComboBox* portCombo = nullptr;
  QComboBox* baudCombo = nullptr;
  QComboBox* modelCombo = nullptr;
  QPushButton* initButton = nullptr;
  QLabel* loggerClock = nullptr;
  // Status panel.
  QLabel* recordingState = nullptr;
  QLabel* batteryVoltage = nullptr;
  QLabel* recordingStart = nullptr;
  QLabel* recordingMode = nullptr;
  QLabel* recordedPoints = nullptr;
  QLabel* intervalText = nullptr;
  QLabel* intervalSeconds = nullptr;
  QLabel* upperAlarmCaption = nullptr;
  QLabel* upperAlarm = nullptr;
  QLabel* lowerAlarmCaption = nullptr;
  QLabel* lowerAlarm = nullptr;
  QLabel* loggerName = nullptr;
  QPushButton* nameButton = nullptr;
  QLabel* stopNotice = nullptr;
  // Logger commands.
  QPushButton* statusUpdateButton = nullptr;
  QPushButton* downloadButton = nullptr;
  QPushButton* recordButton = nullptr;
  QPushButton* saveLogButton = nullptr;
  QPushButton* printLogButton = nullptr;
  // Measurement.
  QPushButton* measureOnceButton = nullptr;
  QPushButton* continuousButton = nullptr;
  QComboBox* spacingCombo = nullptr;
  QRadioButton* spacingSecondsRadio = nullptr;
  QRadioButton* spacingMinutesRadio = nullptr;
  QLabel* liveTime = nullptr;
  QLabel* batteryIndicator = nullptr;
  QLabel* liveTemperature = nullptr;
  QLabel* liveHumidity = nullptr;
  QPushButton* saveRealTimeButton = nullptr;
  QPushButton* printRealTimeButton = nullptr;
  // File data.
  QPushButton* openCsvButton = nullptr;
  QPushButton* printFileButton = nullptr;
  QLabel* fileNameLabel = nullptr;
  // Set and view choice.
  QGroupBox* setChoice = nullptr;
  std::array<QRadioButton*, kSetCount> setRadios{};  // by set
  QGroupBox* viewChoice = nullptr;
  QRadioButton* graphRadio = nullptr;
  QRadioButton* dumpRadio = nullptr;
  QLabel* shownSetCaption = nullptr;
  // Graphs and dump lists, beside the panels.
  QSplitter* viewSplit = nullptr;
  QStackedWidget* viewStack = nullptr;
  GraphView* temperatureGraph = nullptr;
  GraphView* humidityGraph = nullptr;
  std::array<QScrollBar*, kBarCount> bars{};                 // by Bar
  std::array<QToolButton*, kZoomButtonCount> zoomButtons{};  // by ZoomButton
  QToolButton* fitButton = nullptr;
  std::array<QTableView*, kSetCount> dumpLists{};  // by set
  // Menus.
  QMenu* fileMenu = nullptr;
  QAction* openCsvItem = nullptr;
  QMenu* recentMenu = nullptr;
  QMenu* saveMenu = nullptr;
  QAction* saveLogItem = nullptr;
  QAction* saveRealTimeItem = nullptr;
  QAction* saveShownItem = nullptr;  // the set on screen
  QAction* saveGraphItem = nullptr;  // the graphs as PNG or SVG
  QAction* copyGraphItem = nullptr;
  QAction* printItem = nullptr;
  QAction* reportItem = nullptr;
  QAction* exitItem = nullptr;
  QMenu* displayMenu = nullptr;
  std::array<QMenu*, kSetCount> viewMenus{};     // by set
  std::array<QAction*, kSetCount> graphItems{};  // by set
  std::array<QAction*, kSetCount> dumpItems{};   // by set
  QMenu* toolMenu = nullptr;
  QAction* portSettingsItem = nullptr;
  QAction* statusReadItem = nullptr;  // as the status update button
  QAction* downloadItem = nullptr;    // as the download button
  QAction* clockItem = nullptr;
  QAction* loggerNameItem = nullptr;
  QMenu* downloadModeMenu = nullptr;
  QAction* fastDownloadItem = nullptr;
  QAction* slowDownloadItem = nullptr;
  QMenu* helpMenu = nullptr;
  QAction* helpItem = nullptr;
  QAction* aboutItem = nullptr;
  // Status bar panels.
  QLabel* connectionPanel = nullptr;
  QLabel* noticePanel = nullptr;
  QLabel* partialPanel = nullptr;  // the shown log set is the part a cancel kept
  QLabel* clockPanel = nullptr;

  // What shows `control`: its widget, or for a menu or menu item its action.
  QObject* object(Control control) const;
};

}  // namespace termika
