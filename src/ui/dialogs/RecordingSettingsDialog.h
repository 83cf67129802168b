#pragma once

#include <QDateTime>
#include <QDialog>
#include <functional>

#include "core/app/RecordingSettings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace termika {

class UiText;
class UserPrompts;
class UpDownBar;

// The recording settings dialog. The controls only show and edit a
// RecordingSettings; confirming checks it again and hands the request on.
class RecordingSettingsDialog final : public QDialog {
  Q_OBJECT

 public:
  // The dialog's controls.
  struct Controls {
    QLineEdit* nameEdit = nullptr;
    QRadioButton* oneTimeRadio = nullptr;  // one-time
    QRadioButton* loopRadio = nullptr;     // loop
    QRadioButton* secondsRadio = nullptr;  // seconds
    QRadioButton* minutesRadio = nullptr;  // minutes
    QComboBox* intervalCombo = nullptr;
    QLabel* intervalUnitLabel = nullptr;  // interval unit
    QLabel* intervalNote = nullptr;       // the logger's interval is not in the list
    QGroupBox* alarmFrame = nullptr;
    UpDownBar* upperLimitBar = nullptr;
    UpDownBar* lowerLimitBar = nullptr;
    QLabel* upperLimitLabel = nullptr;  // upper limit
    QLabel* lowerLimitLabel = nullptr;  // lower limit
    QRadioButton* upperOn = nullptr;    // upper ON
    QRadioButton* upperOff = nullptr;   // upper OFF
    QRadioButton* lowerOn = nullptr;    // lower ON
    QRadioButton* lowerOff = nullptr;   // lower OFF
    QCheckBox* reserveCheck = nullptr;
    UpDownBar* reserveDayBar = nullptr;
    UpDownBar* reserveHourBar = nullptr;
    UpDownBar* reserveMinuteBar = nullptr;
    QLabel* reserveDateLabel = nullptr;
    QLabel* reserveHourLabel = nullptr;
    QLabel* reserveMinuteLabel = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* cancelButton = nullptr;
  };
  const Controls& controls() const { return m_ui; }

  using Clock = std::function<QDateTime()>;

  RecordingSettingsDialog(const UiText& texts, const RecordingPreset& preset, UserPrompts& prompts,
                          Clock clock = {}, QWidget* parent = nullptr);

  const RecordingSettings& settings() const { return m_settings; }
  void setLinkBusy(bool busy);

  void secondsChosen();
  void minutesChosen();
  void intervalChosen();
  void upperLimitChanged();
  void lowerLimitChanged();
  void reserveDayChanged();
  void reserveHourChanged();
  void reserveMinuteChanged();
  void reserveToggled();
  void nameLeft();
  void confirm();
  void cancel();

 Q_SIGNALS:
  void startRequested(const termika::LogStartRequest& request);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  QGroupBox* buildNameBox();
  QGroupBox* buildModeBox();
  QGroupBox* buildIntervalBox();
  QGroupBox* buildAlarmBox();
  QGroupBox* buildReservationBox();
  QLayout* buildButtons();
  void connectControls();
  void showSettings();
  void fillIntervalList();
  void reservationOn();
  void reservationOff();
  void showAlarmLabels();
  void restoreName();
  QDateTime now() const { return m_clock(); }

  const UiText& m_texts;
  UserPrompts& m_prompts;
  Clock m_clock;
  RecordingSettings m_settings;
  bool m_linkBusy = false;
  bool m_updating = false;      // controls are being set from the settings
  bool m_checkingName = false;  // a refusal message is open

  Controls m_ui;
};

}  // namespace termika
