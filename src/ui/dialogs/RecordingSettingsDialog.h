#pragma once

#include <QDateTime>
#include <QDialog>
#include <functional>

#include "core/app/RecordingSettings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
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

  QLineEdit* m_nameEdit = nullptr;
  QRadioButton* m_oneTimeRadio = nullptr;  // one-time
  QRadioButton* m_loopRadio = nullptr;     // loop
  QRadioButton* m_secondsRadio = nullptr;  // seconds
  QRadioButton* m_minutesRadio = nullptr;  // minutes
  QComboBox* m_intervalCombo = nullptr;
  QLabel* m_intervalUnitLabel = nullptr;  // interval unit
  QLabel* m_intervalNote = nullptr;       // the logger's interval is not in the list
  QGroupBox* m_alarmFrame = nullptr;
  UpDownBar* m_upperLimitBar = nullptr;
  UpDownBar* m_lowerLimitBar = nullptr;
  QLabel* m_upperLimitLabel = nullptr;  // upper limit
  QLabel* m_lowerLimitLabel = nullptr;  // lower limit
  QRadioButton* m_upperOn = nullptr;    // upper ON
  QRadioButton* m_upperOff = nullptr;   // upper OFF
  QRadioButton* m_lowerOn = nullptr;    // lower ON
  QRadioButton* m_lowerOff = nullptr;   // lower OFF
  QCheckBox* m_reserveCheck = nullptr;
  UpDownBar* m_reserveDayBar = nullptr;
  UpDownBar* m_reserveHourBar = nullptr;
  UpDownBar* m_reserveMinuteBar = nullptr;
  QLabel* m_reserveDateLabel = nullptr;
  QLabel* m_reserveHourLabel = nullptr;
  QLabel* m_reserveMinuteLabel = nullptr;
  QPushButton* m_startButton = nullptr;
  QPushButton* m_cancelButton = nullptr;
};

}  // namespace termika
