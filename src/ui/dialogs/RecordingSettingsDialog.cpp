#include "ui/dialogs/RecordingSettingsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/app/NameRules.h"
#include "core/base/Says.h"
#include "core/base/UiText.h"
#include "core/base/UserPrompts.h"
#include "core/data/DayTime.h"
#include "core/data/Formats.h"
#include "ui/dialogs/UpDownBar.h"

namespace termika {
namespace {

CivilTime civilOf(const QDate& date) { return {date.year(), date.month(), date.day(), 0, 0, 0}; }

// The reservation refusal keeps the title the loggers' users know.
const QString kReservationRefusalTitle = QStringLiteral("QM100-RH");

template <typename T>
T* named(T* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

UpDownBar* verticalScroll(QWidget* parent, const char* name, int minimum, int maximum) {
  return named(new UpDownBar(minimum, maximum, parent), name);
}

}  // namespace

RecordingSettingsDialog::RecordingSettingsDialog(const UiText& texts, const RecordingPreset& preset,
                                                 UserPrompts& prompts, Clock clock, QWidget* parent)
    : QDialog(parent),
      m_texts(texts),
      m_prompts(prompts),
      m_clock(clock ? std::move(clock) : Clock(&QDateTime::currentDateTime)) {
  setObjectName(QStringLiteral("RecordingSettingsDialog"));
  setWindowTitle(texts[TextId::RecordingDialogTitle]);
  buildControls();
  m_settings.preselect(preset);
  m_alarmFrame->setVisible(m_settings.alarmsAvailable());
  m_nameEdit->setText(m_settings.name());
  reservationOff();
  showSettings();
  if (const int unlisted = m_settings.unlistedInterval(); unlisted > 0) {
    m_intervalNote->setText(
        says("The logger records every %1 s, which this list does not hold.").arg(unlisted));
  }
  m_intervalNote->setVisible(!m_intervalNote->text().isEmpty());
  adjustSize();
}

void RecordingSettingsDialog::buildControls() {
  const UiText& t = m_texts;

  auto* nameFrame = named(new QGroupBox(t[TextId::RecordingName], this), "Frame1");
  m_nameEdit = named(new QLineEdit(nameFrame), "Text1");
  m_nameEdit->setMaxLength(name_rules::kMaxLength);
  m_nameEdit->installEventFilter(this);
  (new QHBoxLayout(nameFrame))->addWidget(m_nameEdit);

  auto* modeFrame = named(new QGroupBox(t[TextId::RecordingMode], this), "Frame2");
  m_oneTimeRadio = named(new QRadioButton(t[TextId::RecordingOneTime], modeFrame), "Option1");
  m_loopRadio = named(new QRadioButton(t[TextId::RecordingLoop], modeFrame), "Option2");
  auto* modeRow = new QHBoxLayout(modeFrame);
  modeRow->addWidget(m_oneTimeRadio);
  modeRow->addWidget(m_loopRadio);

  auto* intervalFrame = named(new QGroupBox(t[TextId::RecordingInterval], this), "Frame3");
  m_minutesRadio = named(new QRadioButton(t[TextId::RecordingMinutes], intervalFrame), "Option6");
  m_secondsRadio = named(new QRadioButton(t[TextId::RecordingSeconds], intervalFrame), "Option5");
  m_intervalCombo = named(new QComboBox(intervalFrame), "Combo2");
  m_intervalCombo->setEditable(false);  // a list to choose from, never typed values
  m_intervalCombo->setMaxVisibleItems(12);
  m_intervalUnitLabel = named(new QLabel(t[TextId::RecordingSecondsUnit], intervalFrame), "Label8");
  auto* intervalRow = new QHBoxLayout(intervalFrame);
  intervalRow->addWidget(m_secondsRadio);
  intervalRow->addWidget(m_minutesRadio);
  intervalRow->addWidget(m_intervalCombo);
  intervalRow->addWidget(m_intervalUnitLabel);
  m_intervalNote = named(new QLabel(intervalFrame), "IntervalNote");
  m_intervalNote->setWordWrap(true);
  intervalRow->addWidget(m_intervalNote, 1);

  m_alarmFrame = named(new QGroupBox(t[TextId::RecordingAlarm], this), "Frame4");
  m_upperLimitBar = verticalScroll(m_alarmFrame, "VScroll1", RecordingSettings::kUpperMin,
                                   RecordingSettings::kUpperMax);
  m_lowerLimitBar = verticalScroll(m_alarmFrame, "VScroll2", RecordingSettings::kLowerMin,
                                   RecordingSettings::kLowerMax);
  m_upperLimitLabel = named(new QLabel(m_alarmFrame), "Label1");
  m_lowerLimitLabel = named(new QLabel(m_alarmFrame), "Label2");
  m_upperLimitLabel->setMinimumWidth(m_upperLimitLabel->fontMetrics().horizontalAdvance(
                                         QStringLiteral("-20 ") + t[TextId::LimitDegrees]) +
                                     8);
  m_lowerLimitLabel->setMinimumWidth(m_upperLimitLabel->minimumWidth());
  m_upperOn = named(new QRadioButton(t[TextId::RecordingUpperOn], m_alarmFrame), "Option3");
  m_upperOff = named(new QRadioButton(t[TextId::RecordingUpperOff], m_alarmFrame), "Option4");
  m_lowerOn = named(new QRadioButton(t[TextId::RecordingLowerOn], m_alarmFrame), "Option7");
  m_lowerOff = named(new QRadioButton(t[TextId::RecordingLowerOff], m_alarmFrame), "Option8");
  auto* upperGroup = new QButtonGroup(this);
  upperGroup->addButton(m_upperOn);
  upperGroup->addButton(m_upperOff);
  auto* lowerGroup = new QButtonGroup(this);
  lowerGroup->addButton(m_lowerOn);
  lowerGroup->addButton(m_lowerOff);
  auto* alarmGrid = new QGridLayout(m_alarmFrame);
  alarmGrid->addWidget(named(new QLabel(t[TextId::RecordingUpperLimit], m_alarmFrame), "Label3"), 0,
                       0);
  alarmGrid->addWidget(m_upperLimitLabel, 0, 1);
  alarmGrid->addWidget(m_upperLimitBar, 0, 2);
  alarmGrid->addWidget(m_upperOn, 0, 3);
  alarmGrid->addWidget(m_upperOff, 0, 4);
  alarmGrid->addWidget(named(new QLabel(t[TextId::RecordingLowerLimit], m_alarmFrame), "Label4"), 1,
                       0);
  alarmGrid->addWidget(m_lowerLimitLabel, 1, 1);
  alarmGrid->addWidget(m_lowerLimitBar, 1, 2);
  alarmGrid->addWidget(m_lowerOn, 1, 3);
  alarmGrid->addWidget(m_lowerOff, 1, 4);

  auto* reserveFrame = named(new QGroupBox(t[TextId::RecordingReservation], this), "Frame5");
  m_reserveCheck = named(new QCheckBox(t[TextId::RecordingReserveStart], reserveFrame), "Check1");
  m_reserveDateLabel = named(new QLabel(t[TextId::ReserveDateBlank], reserveFrame), "Label5");
  m_reserveHourLabel = named(new QLabel(t[TextId::ReserveHourBlank], reserveFrame), "Label6");
  m_reserveMinuteLabel = named(new QLabel(t[TextId::ReserveMinuteBlank], reserveFrame), "Label7");
  m_reserveDayBar = verticalScroll(reserveFrame, "VScroll3", 0, 0);
  m_reserveHourBar = verticalScroll(reserveFrame, "VScroll4", -1, 24);
  m_reserveMinuteBar = verticalScroll(reserveFrame, "VScroll5", -1, 60);
  auto* reserveRow = new QHBoxLayout;
  for (auto [label, bar] : {std::pair{m_reserveDateLabel, m_reserveDayBar},
                            {m_reserveHourLabel, m_reserveHourBar},
                            {m_reserveMinuteLabel, m_reserveMinuteBar}}) {
    reserveRow->addWidget(label);
    reserveRow->addWidget(bar);
  }
  reserveRow->addStretch();
  auto* reserveLayout = new QVBoxLayout(reserveFrame);
  reserveLayout->addWidget(m_reserveCheck);
  reserveLayout->addLayout(reserveRow);

  m_startButton = named(new QPushButton(t[TextId::RecordingStartButton], this), "Command1");
  m_cancelButton = named(new QPushButton(t[TextId::RecordingCancelButton], this), "Command2");
  m_startButton->setAutoDefault(false);
  m_cancelButton->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_startButton);
  buttons->addWidget(m_cancelButton);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // shrinks when the alarm frame is hidden
  for (QWidget* frame : {static_cast<QWidget*>(nameFrame), static_cast<QWidget*>(modeFrame),
                         static_cast<QWidget*>(intervalFrame), static_cast<QWidget*>(m_alarmFrame),
                         static_cast<QWidget*>(reserveFrame)}) {
    layout->addWidget(frame);
  }
  layout->addLayout(buttons);

  connect(m_nameEdit, &QLineEdit::textChanged, this,
          [this](const QString& text) { m_settings.setName(text); });
  connect(m_oneTimeRadio, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating && on) m_settings.setLoop(false);
  });
  connect(m_loopRadio, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating && on) m_settings.setLoop(true);
  });
  connect(m_secondsRadio, &QRadioButton::clicked, this, &RecordingSettingsDialog::secondsChosen);
  connect(m_minutesRadio, &QRadioButton::clicked, this, &RecordingSettingsDialog::minutesChosen);
  connect(m_intervalCombo, &QComboBox::currentIndexChanged, this,
          &RecordingSettingsDialog::intervalChosen);
  connect(m_upperLimitBar, &UpDownBar::numberChanged, this,
          &RecordingSettingsDialog::upperLimitChanged);
  connect(m_lowerLimitBar, &UpDownBar::numberChanged, this,
          &RecordingSettingsDialog::lowerLimitChanged);
  connect(m_reserveDayBar, &UpDownBar::numberChanged, this,
          &RecordingSettingsDialog::reserveDayChanged);
  connect(m_reserveHourBar, &UpDownBar::numberChanged, this,
          &RecordingSettingsDialog::reserveHourChanged);
  connect(m_reserveMinuteBar, &UpDownBar::numberChanged, this,
          &RecordingSettingsDialog::reserveMinuteChanged);
  connect(m_upperOn, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating) m_settings.setUpperEnabled(on);
  });
  connect(m_lowerOn, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating) m_settings.setLowerEnabled(on);
  });
  connect(m_reserveCheck, &QCheckBox::clicked, this, &RecordingSettingsDialog::reserveToggled);
  connect(m_startButton, &QPushButton::clicked, this, &RecordingSettingsDialog::confirm);
  connect(m_cancelButton, &QPushButton::clicked, this, &RecordingSettingsDialog::cancel);
}

// Puts every value of the settings into its control.
void RecordingSettingsDialog::showSettings() {
  m_updating = true;
  (m_settings.loop() ? m_loopRadio : m_oneTimeRadio)->setChecked(true);
  (m_settings.unit() == RecordingSettings::Unit::Seconds ? m_secondsRadio : m_minutesRadio)
      ->setChecked(true);
  fillIntervalList();
  m_upperLimitBar->setNumber(m_settings.upper());
  m_lowerLimitBar->setNumber(m_settings.lower());
  (m_settings.upperEnabled() ? m_upperOn : m_upperOff)->setChecked(true);
  (m_settings.lowerEnabled() ? m_lowerOn : m_lowerOff)->setChecked(true);
  if (m_settings.reservation()) {
    m_reserveDayBar->setNumberRange(0, m_settings.maxDayOffset());
    m_reserveDayBar->setNumber(m_settings.dayOffset());
    m_reserveHourBar->setNumber(m_settings.hour());
    m_reserveMinuteBar->setNumber(m_settings.minute());
    m_reserveDateLabel->setText(fmt::formatRuntimeDate(m_texts[TextId::ReserveDateFormat],
                                                       civilOf(m_settings.reservedDate())));
    m_reserveHourLabel->setText(
        fmt::formatRuntimeNumber(m_texts[TextId::ReserveHourFormat], m_settings.hour()));
    m_reserveMinuteLabel->setText(
        fmt::formatRuntimeNumber(m_texts[TextId::ReserveMinuteFormat], m_settings.minute()));
  }
  showAlarmLabels();
  m_updating = false;
}

void RecordingSettingsDialog::fillIntervalList() {
  const bool wasUpdating = m_updating;
  m_updating = true;
  m_intervalUnitLabel->setText(
      (m_settings.unit() == RecordingSettings::Unit::Seconds ? m_secondsRadio : m_minutesRadio)
          ->text());
  m_intervalCombo->clear();
  m_intervalCombo->addItems(m_settings.intervalChoices());
  m_intervalCombo->setCurrentText(QString::number(m_settings.intervalValue()));
  m_updating = wasUpdating;
}

void RecordingSettingsDialog::showAlarmLabels() {
  m_upperLimitLabel->setText(QString::number(m_settings.upper()) + m_texts[TextId::LimitDegrees]);
  m_lowerLimitLabel->setText(QString::number(m_settings.lower()) + m_texts[TextId::LimitDegrees]);
}

void RecordingSettingsDialog::setLinkBusy(bool busy) {
  m_linkBusy = busy;
  m_startButton->setEnabled(!busy);
}

void RecordingSettingsDialog::secondsChosen() {
  m_settings.setUnit(RecordingSettings::Unit::Seconds);
  fillIntervalList();
}

void RecordingSettingsDialog::minutesChosen() {
  m_settings.setUnit(RecordingSettings::Unit::Minutes);
  fillIntervalList();
}

void RecordingSettingsDialog::intervalChosen() {
  if (m_updating) return;
  m_settings.setIntervalValue(m_intervalCombo->currentText().toInt());
}

void RecordingSettingsDialog::upperLimitChanged() {
  if (m_updating) return;
  m_settings.setUpper(m_upperLimitBar->number());
  showSettings();
}

void RecordingSettingsDialog::lowerLimitChanged() {
  if (m_updating) return;
  m_settings.setLower(m_lowerLimitBar->number());
  showSettings();
}

void RecordingSettingsDialog::reserveDayChanged() {
  if (m_updating) return;
  m_settings.setDayOffset(m_reserveDayBar->number());
  showSettings();
}

void RecordingSettingsDialog::reserveHourChanged() {
  if (m_updating) return;
  m_settings.setHour(m_reserveHourBar->number());
  showSettings();
}

void RecordingSettingsDialog::reserveMinuteChanged() {
  if (m_updating) return;
  m_settings.setMinute(m_reserveMinuteBar->number());
  showSettings();
}

void RecordingSettingsDialog::reserveToggled() {
  if (m_reserveCheck->isChecked()) {
    reservationOn();
  } else {
    reservationOff();
  }
}

void RecordingSettingsDialog::reservationOn() {
  m_reserveCheck->setChecked(true);
  m_startButton->setText(m_texts[TextId::ReserveButton]);
  m_settings.setReservation(true, now());
  for (QWidget* w :
       {static_cast<QWidget*>(m_reserveDateLabel), static_cast<QWidget*>(m_reserveHourLabel),
        static_cast<QWidget*>(m_reserveMinuteLabel), static_cast<QWidget*>(m_reserveDayBar),
        static_cast<QWidget*>(m_reserveHourBar), static_cast<QWidget*>(m_reserveMinuteBar)}) {
    w->setEnabled(true);
  }
  showSettings();
}

void RecordingSettingsDialog::reservationOff() {
  m_reserveCheck->setChecked(false);
  m_startButton->setText(m_texts[TextId::RecordStartButton]);
  m_settings.setReservation(false, now());
  m_reserveDateLabel->setText(m_texts[TextId::ReserveDateOff]);
  m_reserveHourLabel->setText(m_texts[TextId::ReserveHourOff]);
  m_reserveMinuteLabel->setText(m_texts[TextId::ReserveMinuteOff]);
  for (QWidget* w :
       {static_cast<QWidget*>(m_reserveDateLabel), static_cast<QWidget*>(m_reserveHourLabel),
        static_cast<QWidget*>(m_reserveMinuteLabel), static_cast<QWidget*>(m_reserveDayBar),
        static_cast<QWidget*>(m_reserveHourBar), static_cast<QWidget*>(m_reserveMinuteBar)}) {
    w->setEnabled(false);
  }
}

void RecordingSettingsDialog::restoreName() {
  m_settings.setName(m_settings.loggerName());
  m_nameEdit->setText(m_settings.loggerName());
  m_nameEdit->setFocus();
  m_nameEdit->selectAll();
}

void RecordingSettingsDialog::nameLeft() {
  if (m_checkingName) return;
  m_settings.setName(m_nameEdit->text());
  if (name_rules::check(m_settings.name()) == name_rules::NameFault::None) return;
  m_checkingName = true;
  m_prompts.info(m_settings.model(), name_rules::refusalMessage(
                                         m_texts, TextId::RecordingNameRefused, m_settings.name()));
  restoreName();
  m_checkingName = false;
}

void RecordingSettingsDialog::confirm() {
  if (m_linkBusy) return;
  m_settings.setName(m_nameEdit->text());
  switch (m_settings.check(now())) {
    case StartRefusal::ForbiddenName:
    case StartRefusal::DoubleByteName:
      m_checkingName = true;
      m_prompts.info(
          m_settings.model(),
          name_rules::refusalMessage(m_texts, TextId::RecordingNameRefused, m_settings.name()));
      restoreName();
      m_checkingName = false;
      return;
    case StartRefusal::ReservationTime:
      m_prompts.info(kReservationRefusalTitle, m_texts[TextId::ReservationTimeWrong]);
      reservationOn();
      return;
    case StartRefusal::None:
      break;
  }
  Q_EMIT startRequested(m_settings.request());
  accept();
}

void RecordingSettingsDialog::cancel() { reject(); }

bool RecordingSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_nameEdit) {
    if (event->type() == QEvent::FocusIn) m_nameEdit->selectAll();
    if (event->type() == QEvent::FocusOut) nameLeft();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace termika
