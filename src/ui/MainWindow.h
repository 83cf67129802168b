#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>

#include "core/app/CsvActions.h"
#include "core/app/RecentFiles.h"
#include "core/app/Settings.h"
#include "core/app/StatusWatch.h"
#include "core/sessions/Download.h"
#include "core/sessions/LoggerLink.h"
#include "ui/MainWindowControls.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QStackedWidget;

namespace termika {

struct AppState;
class Connection;
class DataViews;
class DeviceRequests;
class Download;
class Exchange;
class DownloadProgressDialog;
class Lamp;
class LinkLoss;
class RealTimeMeasurement;
class MessageBoxPrompts;
class Preferences;
class ProgramFiles;
class UserPrompts;

// The main window: status panel, measurement and data buttons, graphs
// and dump lists. The state it shows lives in AppState; the record files and
// settings are opened by the caller and handed over for the shutdown.
class MainWindow final : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(AppState& state, Settings settings, ProgramFiles& files, QWidget* parent = nullptr);
  ~MainWindow() override;

  UserPrompts& prompts();
  // Builds the link and the sessions and binds them to the buttons. Without
  // it the window works on files only.
  void attachLink(LoggerLinkParts parts);
  Exchange* exchange() const { return m_link ? &m_link->exchange() : nullptr; }
  Connection* connection() const { return m_link ? &m_link->connection() : nullptr; }
  Download* download() const { return m_link ? &m_link->download() : nullptr; }
  // Stops the link's timers and closes the port; run after the save
  // questions at exit.
  void setLinkStopper(std::function<void()> stop);

  // Where the help item finds the local help page (absolute path).
  void setHelpPage(const QString& path) { m_helpPage = path; }
  // How the help page is handed to the desktop; false when nothing opened it.
  void setUrlOpener(std::function<bool(const QUrl&)> open) { m_openUrl = std::move(open); }
  // The computer's clock, for the status bar and the reserved start.
  void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

  DataViews& views() { return *m_views; }
  Preferences& preferences() { return *m_preferences; }
  const MainWindowControls& controls() const { return m_ui; }

  // Applies the window state table to every control; run after each
  // exchange, connection change, set switch and session change.
  void refreshState();
  // The busy pointer of a slow exchange; switched off exactly once.
  void setBusyPointer(bool busy);
  // Writes Logger.ini.
  void saveSettings();

  // The open item and button: a CSV file into the file set, shown at once. An empty
  // path asks for one.
  bool openCsvFile(const QString& path = {});
  void saveRealTimeSet();
  void saveLogSet();
  void print();
  // The save item of the set on screen (the file set has none).
  void saveShownSet();
  // The graphs on screen as a PNG or SVG file, or on the clipboard.
  void saveShownGraph();
  bool copyShownGraph();
  void showReport();
  void showAbout();
  void openHelpPage();
  // The print dialog of `set` in the current view mode; the shown set stays.
  void openPrintDialog(int set);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void setUpWindow();
  void buildWindow();
  QWidget* buildTopRow();
  QWidget* buildStatusPanel();
  QWidget* buildCommandColumn();
  QWidget* buildMeasureFrame();
  QWidget* buildFileFrame();
  QWidget* buildDisplayFrames();
  QWidget* buildViewArea();
  // The bars and value zoom buttons beside one graph.
  struct GraphBars {
    Bar halfSpan, centre, width, offset;
    ZoomButton narrower, wider;
  };
  // One graph with its bars and value buttons in rows firstRow .. firstRow + 4 of `grid`.
  GraphView* buildGraph(QGridLayout& grid, int firstRow, const char* graphName,
                        const GraphBars& bars);
  void buildStatusBar();
  void fillLists();
  // The start-up size, or the size and split the last run saved.
  void sizeToScreen();
  void saveWindowLayout();
  void connectActions();
  void connectSessions();
  void startOrStopRecording();
  void startDownload();
  void startOrStopSeries();
  void spacingChanged();
  void openNameDialog();
  void openPortSettings();
  void openClockDialog();
  void openRecordingSettings();
  void downloadStarted();
  void downloadFinished(Download::Outcome outcome);
  // The status bar says so while the shown log set is a cancelled download's part.
  void showPartialNote();
  void realTimePointAdded();
  bool linkBusy() const;
  // False for the second click of a double click on a start/stop button.
  bool firstClick(int button);
  // Reads the status when the logger is expected to have changed by itself.
  void readStatusWhenDue();
  void openRecentFile(const QString& path);
  // Stores the list at once (it survives a crash) and rebuilds its menu.
  void recentFilesChanged();
  void connectViewChoices();
  void closeRefreshedDialogs();

  void baudRateChosen();
  void modelChosen();
  void portChosen();
  void updateClock();
  // Offers the unsaved sets, then stops the link and cleans up; false when
  // the user cancelled and everything runs on.
  bool offerToSaveBeforeClosing();
  void shutDown();

  AppState& m_state;
  Settings m_settings;
  ProgramFiles& m_files;
  MainWindowControls m_ui;  // the widgets are children of the window
  std::unique_ptr<MessageBoxPrompts> m_prompts;
  std::unique_ptr<CsvSaveOffer> m_saveOffer;
  std::unique_ptr<Preferences> m_preferences;  // beside Logger.ini
  std::function<void()> m_stopLink;
  std::function<bool(const QUrl&)> m_openUrl;
  std::function<QDateTime()> m_clock = &QDateTime::currentDateTime;
  QTimer m_clockTimer;
  StatusWatch m_statusWatch;
  RecentFiles m_recent;
  std::array<QElapsedTimer, 3> m_lastToggleClick;      // connect, record, continuous
  DataViews* m_views = nullptr;                        // child of the window
  std::unique_ptr<LoggerLink> m_link;                  // null until attachLink
  DownloadProgressDialog* m_downloadDialog = nullptr;  // child of the window, reused per download
  bool m_refreshing = false;
  QString m_helpPage;
  bool m_busyPointer = false;
  // The plug picture last set: a new icon per refresh would add a new entry
  // to the pixmap cache for every measured point.
  int m_connectPictureOn = -1;
  bool m_closing = false;
};

}  // namespace termika
