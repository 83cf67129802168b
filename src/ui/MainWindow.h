#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/data/CsvActions.h"
#include "core/app/Settings.h"

class QComboBox;
class QLabel;
class QStackedWidget;

namespace termika {

struct AppState;
class Lamp;
class MessageBoxPrompts;
class ProgramFiles;
class UserPrompts;

// The main window Form1: status panel, measurement and data buttons, graphs
// and dump lists. The state it shows lives in AppState; the record files and
// settings are opened by the caller and handed over for the shutdown.
class MainWindow final : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(AppState& state, Settings settings, ProgramFiles& files, QWidget* parent = nullptr);
  ~MainWindow() override;

  UserPrompts& prompts();
  // Stops the link's timers and closes the port; run before the save
  // questions at exit.
  void setLinkStopper(std::function<void()> stop);
  // Asks whether to save a data set (AskSaveDataSet).
  void setSaveAsker(std::function<SaveOutcome(int set, const QString& prompt)> ask);

  // Where the help item finds the local help page (absolute path).
  void setHelpPage(const QString& path) { m_helpPage = path; }
  DataViews& views() { return *m_views; }

  // Applies the window state table to every control; run after each
  // exchange, connection change, set switch and session change.
  void RefreshMainWindowState();
  // The busy pointer of a slow exchange; switched off exactly once.
  void setBusyPointer(bool busy);
  // Writes Logger.ini.
  void Save();

  // m11 / Command14: a CSV file into the file set, shown at once. An empty
  // path asks for one.
  bool m11_Click(const QString& path = {});
  void m121_Click();
  void m122_Click();
  void m13_Click();
  void m41_Click();
  void m42_Click();
  // Printing comes with its own dialogs; until then the user is told.
  void openPrintDialog();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load();
  void buildWindow();
  QWidget* buildTopRow();
  QWidget* buildStatusPanel();
  QWidget* buildCommandColumn();
  QWidget* buildMeasureFrame();
  QWidget* buildFileFrame();
  QWidget* buildDisplayFrames();
  QWidget* buildHiddenFrame();
  QWidget* buildViewArea();
  QWidget* buildGraph(const char* graphName, int firstScroll, const char* zoomOut,
                      const char* zoomIn, bool withTimeButtons);
  void buildStatusBar();
  void fillLists();
  void sizeToScreen();
  void connectActions();
  void connectViewChoices();
  void showFileSetLabels();
  void closeRefreshedDialogs();

  void Combo1_Click();
  void Combo3_Click();
  void Combo4_Click();
  void tokei_Timer();
  void Form_QueryUnload();
  void Form_Unload();

  template <typename T>
  T* named(const char* name) const {
    return findChild<T*>(QString::fromLatin1(name));
  }

  AppState& m_state;
  Settings m_settings;
  ProgramFiles& m_files;
  std::unique_ptr<MessageBoxPrompts> m_prompts;
  std::function<void()> m_stopLink;
  std::function<SaveOutcome(int, const QString&)> m_askSave;
  QTimer m_tokei;
  DataViews* m_views = nullptr;  // child of the window
  QString m_helpPage;
  bool m_busyPointer = false;
  bool m_closing = false;
};

}  // namespace termika
