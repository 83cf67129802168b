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

  RecordingSettingsDialog(const UiText& texts, const RecordingPreset& preset, UserPrompts& prompts, Clock clock = {},
         QWidget* parent = nullptr);

  const RecordingSettings& settings() const { return m_settings; }
  void setLinkBusy(bool busy);

  void Option5_Click();
  void Option6_Click();
  void Combo2_Click();
  void VScroll1_Change();
  void VScroll2_Change();
  void VScroll3_Change();
  void VScroll4_Change();
  void VScroll5_Change();
  void Check1_Click();
  void Text1_LostFocus();
  void Command1_Click();
  void Command2_Click();

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

  QLineEdit* m_text1 = nullptr;
  QRadioButton* m_option1 = nullptr;  // one-time
  QRadioButton* m_option2 = nullptr;  // loop
  QRadioButton* m_option5 = nullptr;  // seconds
  QRadioButton* m_option6 = nullptr;  // minutes
  QComboBox* m_combo2 = nullptr;
  QLabel* m_label8 = nullptr;        // interval unit
  QLabel* m_intervalNote = nullptr;  // the logger's interval is not in the list
  QGroupBox* m_alarmFrame = nullptr;
  UpDownBar* m_vscroll1 = nullptr;
  UpDownBar* m_vscroll2 = nullptr;
  QLabel* m_label1 = nullptr;         // upper limit
  QLabel* m_label2 = nullptr;         // lower limit
  QRadioButton* m_option3 = nullptr;  // upper ON
  QRadioButton* m_option4 = nullptr;  // upper OFF
  QRadioButton* m_option7 = nullptr;  // lower ON
  QRadioButton* m_option8 = nullptr;  // lower OFF
  QCheckBox* m_check1 = nullptr;
  UpDownBar* m_vscroll3 = nullptr;
  UpDownBar* m_vscroll4 = nullptr;
  UpDownBar* m_vscroll5 = nullptr;
  QLabel* m_label5 = nullptr;
  QLabel* m_label6 = nullptr;
  QLabel* m_label7 = nullptr;
  QPushButton* m_command1 = nullptr;
  QPushButton* m_command2 = nullptr;
};

}  // namespace termika
