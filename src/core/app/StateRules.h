#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "core/base/UiText.h"
#include "core/model/LoggerStatus.h"
#include "core/model/RunState.h"

namespace termika {

struct AppState;

// Colours the status panel uses; the window maps them to its palette.
enum class PanelColour { ButtonFace, Red, LightGreen, Black };

// What one control of the main window should look like. An empty field
// leaves that property of the control as it is.
struct ControlState {
  std::optional<bool> enabled;
  std::optional<bool> visible;
  std::optional<QString> text;
  std::optional<PanelColour> background;
  std::optional<PanelColour> foreground;  // the text colour

  friend bool operator==(const ControlState&, const ControlState&) = default;
};

// The whole main window for one moment of the program, keyed by the
// objectName of each control or menu item. The window applies it as it is.
struct MainWindowState {
  QString windowCaption;
  QString modelName;              // the model the window keeps for message titles
  QString statusBarText;          // status bar panel 1
  bool connectPictureOn = false;  // Command20 shows the "on" picture
  // Side effects of the not-connected row: stop the link timers, restore the
  // default mouse pointer and close the download window.
  bool stopLink = false;
  QHash<QString, ControlState> controls;

  ControlState& at(const QString& name) { return controls[name]; }
  // The state of a control, empty when the rules leave it alone.
  ControlState of(const QString& name) const { return controls.value(name); }
  bool isEnabled(const QString& name) const { return of(name).enabled.value_or(false); }
  bool isVisible(const QString& name) const { return of(name).visible.value_or(false); }
  QString textOf(const QString& name) const { return of(name).text.value_or(QString()); }
};

// Everything the status panel and the command enabling depend on.
struct StateInputs {
  bool connected = false;
  int portNumber = 0;
  RunState runState = RunState::Idle;
  QString modelName;                     // connected model
  const LoggerStatus* status = nullptr;  // the panel's own record; required
  std::array<int, 3> setCounts{};        // log, real-time, file
  int currentSet = 0;
  int viewMode = 0;               // 0 graph, 1 dump
  bool downloading = false;       // a download runs: nothing may touch the sets
  QString fileSetFile;            // name of the CSV file read into the file set
  const UiText* texts = nullptr;  // required

  // The inputs as the main window holds them; `state` must outlive the result.
  static StateInputs from(const AppState& state);
};

// The dialogs the window closes whenever it refreshes its state.
QStringList dialogsClosedOnRefresh();

// The controls and menus disabled during an exchange.
QStringList lockedControls();
// LockedControls disabled.
void lockCommands(MainWindowState& state);
// LockedControls and Option5..Option9 enabled.
void unlockCommands(MainWindowState& state);

// The battery voltage as shown and compared: rounded to two decimals.
// Unknown voltages never pass.
bool batteryAllowsRecording(const LoggerStatus& status);

// What stays out of reach while a download fills the log set: every set and
// view switch, printing, opening, saving and the download speed.
QStringList controlsLockedDuringDownload();

// The main window's enabling and status panel for the given state.
MainWindowState mainWindowStateFor(const StateInputs& in);

}  // namespace termika
