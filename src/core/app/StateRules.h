#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "core/app/Control.h"
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

using ControlList = std::vector<Control>;

// The whole main window for one moment of the program, one entry per control
// or menu item. The window applies it as it is.
struct MainWindowState {
  QString windowCaption;
  QString modelName;              // the model the window keeps for message titles
  QString statusBarText;          // status bar panel 1
  bool connectPictureOn = false;  // the connect button shows the "on" picture
  // Side effects of the not-connected row: stop the link timers, restore the
  // default mouse pointer and close the download window.
  bool stopLink = false;
  std::array<ControlState, kControlCount> controls{};

  ControlState& at(Control control) { return controls[indexOf(control)]; }
  // The state of a control, empty when the rules leave it alone.
  const ControlState& of(Control control) const { return controls[indexOf(control)]; }
  bool isEnabled(Control control) const { return of(control).enabled.value_or(false); }
  bool isVisible(Control control) const { return of(control).visible.value_or(false); }
  QString textOf(Control control) const { return of(control).text.value_or(QString()); }
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

// The controls and menus disabled during an exchange.
ControlList lockedControls();
// The locked controls disabled.
void lockCommands(MainWindowState& state);
// The locked controls and the set and view choices enabled.
void unlockCommands(MainWindowState& state);

// The battery voltage as shown and compared: rounded to two decimals.
// Unknown voltages never pass.
bool batteryAllowsRecording(const LoggerStatus& status);

// What stays out of reach while a download fills the log set: every set and
// view switch, printing, opening, saving and the download speed.
ControlList controlsLockedDuringDownload();

// The main window's enabling and status panel for the given state.
MainWindowState mainWindowStateFor(const StateInputs& in);

}  // namespace termika
