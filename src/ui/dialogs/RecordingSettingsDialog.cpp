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
  m_ui.alarmFrame->setVisible(m_settings.alarmsAvailable());
  m_ui.nameEdit->setText(m_settings.name());
  reservationOff();
  showSettings();
  if (const int unlisted = m_settings.unlistedInterval(); unlisted > 0) {
    m_ui.intervalNote->setText(
        says("The logger records every %1 s, which this list does not hold.").arg(unlisted));
  }
  m_ui.intervalNote->setVisible(!m_ui.intervalNote->text().isEmpty());
  adjustSize();
}

void RecordingSettingsDialog::buildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // shrinks when the alarm frame is hidden
  layout->addWidget(buildNameBox());
  layout->addWidget(buildModeBox());
  layout->addWidget(buildIntervalBox());
  layout->addWidget(buildAlarmBox());
  layout->addWidget(buildReservationBox());
  layout->addLayout(buildButtons());
  connectControls();
}

QGroupBox* RecordingSettingsDialog::buildNameBox() {
  const UiText& t = m_texts;
  auto* box = new QGroupBox(t[TextId::RecordingName], this);
  m_ui.nameEdit = new QLineEdit(box);
  m_ui.nameEdit->setMaxLength(name_rules::kMaxLength);
  m_ui.nameEdit->installEventFilter(this);
  (new QHBoxLayout(box))->addWidget(m_ui.nameEdit);
  return box;
}

QGroupBox* RecordingSettingsDialog::buildModeBox() {
  const UiText& t = m_texts;
  auto* box = new QGroupBox(t[TextId::RecordingMode], this);
  m_ui.oneTimeRadio = new QRadioButton(t[TextId::RecordingOneTime], box);
  m_ui.loopRadio = new QRadioButton(t[TextId::RecordingLoop], box);
  auto* row = new QHBoxLayout(box);
  row->addWidget(m_ui.oneTimeRadio);
  row->addWidget(m_ui.loopRadio);
  return box;
}

QGroupBox* RecordingSettingsDialog::buildIntervalBox() {
  const UiText& t = m_texts;
  auto* box = new QGroupBox(t[TextId::RecordingInterval], this);
  m_ui.minutesRadio = new QRadioButton(t[TextId::RecordingMinutes], box);
  m_ui.secondsRadio = new QRadioButton(t[TextId::RecordingSeconds], box);
  m_ui.intervalCombo = new QComboBox(box);
  m_ui.intervalCombo->setEditable(false);  // a list to choose from, never typed values
  m_ui.intervalCombo->setMaxVisibleItems(12);
  m_ui.intervalUnitLabel = new QLabel(t[TextId::RecordingSecondsUnit], box);
  m_ui.intervalNote = new QLabel(box);
  m_ui.intervalNote->setWordWrap(true);
  auto* row = new QHBoxLayout(box);
  row->addWidget(m_ui.secondsRadio);
  row->addWidget(m_ui.minutesRadio);
  row->addWidget(m_ui.intervalCombo);
  row->addWidget(m_ui.intervalUnitLabel);
  row->addWidget(m_ui.intervalNote, 1);
  return box;
}

QGroupBox* RecordingSettingsDialog::buildAlarmBox() {
  const UiText& t = m_texts;
  auto* box = m_ui.alarmFrame = new QGroupBox(t[TextId::RecordingAlarm], this);
  m_ui.upperLimitBar =
      new UpDownBar(RecordingSettings::kUpperMin, RecordingSettings::kUpperMax, box);
  m_ui.lowerLimitBar =
      new UpDownBar(RecordingSettings::kLowerMin, RecordingSettings::kLowerMax, box);
  m_ui.upperLimitLabel = new QLabel(box);
  m_ui.lowerLimitLabel = new QLabel(box);
  m_ui.upperLimitLabel->setMinimumWidth(m_ui.upperLimitLabel->fontMetrics().horizontalAdvance(
                                            QStringLiteral("-20 ") + t[TextId::LimitDegrees]) +
                                        8);
  m_ui.lowerLimitLabel->setMinimumWidth(m_ui.upperLimitLabel->minimumWidth());
  m_ui.upperOn = new QRadioButton(t[TextId::RecordingUpperOn], box);
  m_ui.upperOff = new QRadioButton(t[TextId::RecordingUpperOff], box);
  m_ui.lowerOn = new QRadioButton(t[TextId::RecordingLowerOn], box);
  m_ui.lowerOff = new QRadioButton(t[TextId::RecordingLowerOff], box);
  // Each limit's on and off exclude each other, not the other limit's.
  for (auto [on, off] : {std::pair{m_ui.upperOn, m_ui.upperOff}, {m_ui.lowerOn, m_ui.lowerOff}}) {
    auto* group = new QButtonGroup(this);
    group->addButton(on);
    group->addButton(off);
  }
  auto* grid = new QGridLayout(box);
  const struct {
    QString caption;
    QLabel* value;
    UpDownBar* bar;
    QRadioButton *on, *off;
  } rows[] = {{t[TextId::RecordingUpperLimit], m_ui.upperLimitLabel, m_ui.upperLimitBar,
               m_ui.upperOn, m_ui.upperOff},
              {t[TextId::RecordingLowerLimit], m_ui.lowerLimitLabel, m_ui.lowerLimitBar,
               m_ui.lowerOn, m_ui.lowerOff}};
  for (int row = 0; row < 2; ++row) {
    const auto& r = rows[row];
    grid->addWidget(new QLabel(r.caption, box), row, 0);
    grid->addWidget(r.value, row, 1);
    grid->addWidget(r.bar, row, 2);
    grid->addWidget(r.on, row, 3);
    grid->addWidget(r.off, row, 4);
  }
  return box;
}

QGroupBox* RecordingSettingsDialog::buildReservationBox() {
  const UiText& t = m_texts;
  auto* box = new QGroupBox(t[TextId::RecordingReservation], this);
  m_ui.reserveCheck = new QCheckBox(t[TextId::RecordingReserveStart], box);
  m_ui.reserveDateLabel = new QLabel(t[TextId::ReserveDateBlank], box);
  m_ui.reserveHourLabel = new QLabel(t[TextId::ReserveHourBlank], box);
  m_ui.reserveMinuteLabel = new QLabel(t[TextId::ReserveMinuteBlank], box);
  m_ui.reserveDayBar = new UpDownBar(0, 0, box);
  m_ui.reserveHourBar = new UpDownBar(-1, 24, box);
  m_ui.reserveMinuteBar = new UpDownBar(-1, 60, box);
  auto* row = new QHBoxLayout;
  for (auto [label, bar] : {std::pair{m_ui.reserveDateLabel, m_ui.reserveDayBar},
                            {m_ui.reserveHourLabel, m_ui.reserveHourBar},
                            {m_ui.reserveMinuteLabel, m_ui.reserveMinuteBar}}) {
    row->addWidget(label);
    row->addWidget(bar);
  }
  row->addStretch();
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(m_ui.reserveCheck);
  layout->addLayout(row);
  return box;
}

QLayout* RecordingSettingsDialog::buildButtons() {
  const UiText& t = m_texts;
  m_ui.startButton = new QPushButton(t[TextId::RecordingStartButton], this);
  m_ui.cancelButton = new QPushButton(t[TextId::RecordingCancelButton], this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {m_ui.startButton, m_ui.cancelButton}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  return buttons;
}

void RecordingSettingsDialog::connectControls() {
  connect(m_ui.nameEdit, &QLineEdit::textChanged, this,
          [this](const QString& text) { m_settings.setName(text); });
  connect(m_ui.oneTimeRadio, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating && on) m_settings.setLoop(false);
  });
  connect(m_ui.loopRadio, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating && on) m_settings.setLoop(true);
  });
  connect(m_ui.secondsRadio, &QRadioButton::clicked, this, &RecordingSettingsDialog::secondsChosen);
  connect(m_ui.minutesRadio, &QRadioButton::clicked, this, &RecordingSettingsDialog::minutesChosen);
  connect(m_ui.intervalCombo, &QComboBox::currentIndexChanged, this,
          &RecordingSettingsDialog::intervalChosen);
  connect(m_ui.upperLimitBar, &UpDownBar::numberChanged, this,
          &RecordingSettingsDialog::upperLimitChanged);
  connect(m_ui.lowerLimitBar, &UpDownBar::numberChanged, this,
          &RecordingSettingsDialog::lowerLimitChanged);
  connect(m_ui.reserveDayBar, &UpDownBar::numberChanged, this,
          &RecordingSettingsDialog::reserveDayChanged);
  connect(m_ui.reserveHourBar, &UpDownBar::numberChanged, this,
          &RecordingSettingsDialog::reserveHourChanged);
  connect(m_ui.reserveMinuteBar, &UpDownBar::numberChanged, this,
          &RecordingSettingsDialog::reserveMinuteChanged);
  connect(m_ui.upperOn, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating) m_settings.setUpperEnabled(on);
  });
  connect(m_ui.lowerOn, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating) m_settings.setLowerEnabled(on);
  });
  connect(m_ui.reserveCheck, &QCheckBox::clicked, this, &RecordingSettingsDialog::reserveToggled);
  connect(m_ui.startButton, &QPushButton::clicked, this, &RecordingSettingsDialog::confirm);
  connect(m_ui.cancelButton, &QPushButton::clicked, this, &RecordingSettingsDialog::cancel);
}

// Puts every value of the settings into its control.
void RecordingSettingsDialog::showSettings() {
  m_updating = true;
  (m_settings.loop() ? m_ui.loopRadio : m_ui.oneTimeRadio)->setChecked(true);
  (m_settings.unit() == RecordingSettings::Unit::Seconds ? m_ui.secondsRadio : m_ui.minutesRadio)
      ->setChecked(true);
  fillIntervalList();
  m_ui.upperLimitBar->setNumber(m_settings.upper());
  m_ui.lowerLimitBar->setNumber(m_settings.lower());
  (m_settings.upperEnabled() ? m_ui.upperOn : m_ui.upperOff)->setChecked(true);
  (m_settings.lowerEnabled() ? m_ui.lowerOn : m_ui.lowerOff)->setChecked(true);
  if (m_settings.reservation()) {
    m_ui.reserveDayBar->setNumberRange(0, m_settings.maxDayOffset());
    m_ui.reserveDayBar->setNumber(m_settings.dayOffset());
    m_ui.reserveHourBar->setNumber(m_settings.hour());
    m_ui.reserveMinuteBar->setNumber(m_settings.minute());
    m_ui.reserveDateLabel->setText(fmt::formatRuntimeDate(m_texts[TextId::ReserveDateFormat],
                                                          civilOf(m_settings.reservedDate())));
    m_ui.reserveHourLabel->setText(
        fmt::formatRuntimeNumber(m_texts[TextId::ReserveHourFormat], m_settings.hour()));
    m_ui.reserveMinuteLabel->setText(
        fmt::formatRuntimeNumber(m_texts[TextId::ReserveMinuteFormat], m_settings.minute()));
  }
  showAlarmLabels();
  m_updating = false;
}

void RecordingSettingsDialog::fillIntervalList() {
  const bool wasUpdating = m_updating;
  m_updating = true;
  m_ui.intervalUnitLabel->setText((m_settings.unit() == RecordingSettings::Unit::Seconds
                                       ? m_ui.secondsRadio
                                       : m_ui.minutesRadio)
                                      ->text());
  m_ui.intervalCombo->clear();
  m_ui.intervalCombo->addItems(m_settings.intervalChoices());
  m_ui.intervalCombo->setCurrentText(QString::number(m_settings.intervalValue()));
  m_updating = wasUpdating;
}

void RecordingSettingsDialog::showAlarmLabels() {
  m_ui.upperLimitLabel->setText(QString::number(m_settings.upper()) +
                                m_texts[TextId::LimitDegrees]);
  m_ui.lowerLimitLabel->setText(QString::number(m_settings.lower()) +
                                m_texts[TextId::LimitDegrees]);
}

void RecordingSettingsDialog::setLinkBusy(bool busy) {
  m_linkBusy = busy;
  m_ui.startButton->setEnabled(!busy);
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
  m_settings.setIntervalValue(m_ui.intervalCombo->currentText().toInt());
}

void RecordingSettingsDialog::upperLimitChanged() {
  if (m_updating) return;
  m_settings.setUpper(m_ui.upperLimitBar->number());
  showSettings();
}

void RecordingSettingsDialog::lowerLimitChanged() {
  if (m_updating) return;
  m_settings.setLower(m_ui.lowerLimitBar->number());
  showSettings();
}

void RecordingSettingsDialog::reserveDayChanged() {
  if (m_updating) return;
  m_settings.setDayOffset(m_ui.reserveDayBar->number());
  showSettings();
}

void RecordingSettingsDialog::reserveHourChanged() {
  if (m_updating) return;
  m_settings.setHour(m_ui.reserveHourBar->number());
  showSettings();
}

void RecordingSettingsDialog::reserveMinuteChanged() {
  if (m_updating) return;
  m_settings.setMinute(m_ui.reserveMinuteBar->number());
  showSettings();
}

void RecordingSettingsDialog::reserveToggled() {
  if (m_ui.reserveCheck->isChecked()) {
    reservationOn();
  } else {
    reservationOff();
  }
}

void RecordingSettingsDialog::reservationOn() {
  m_ui.reserveCheck->setChecked(true);
  m_ui.startButton->setText(m_texts[TextId::ReserveButton]);
  m_settings.setReservation(true, now());
  for (QWidget* w :
       {static_cast<QWidget*>(m_ui.reserveDateLabel), static_cast<QWidget*>(m_ui.reserveHourLabel),
        static_cast<QWidget*>(m_ui.reserveMinuteLabel), static_cast<QWidget*>(m_ui.reserveDayBar),
        static_cast<QWidget*>(m_ui.reserveHourBar), static_cast<QWidget*>(m_ui.reserveMinuteBar)}) {
    w->setEnabled(true);
  }
  showSettings();
}

void RecordingSettingsDialog::reservationOff() {
  m_ui.reserveCheck->setChecked(false);
  m_ui.startButton->setText(m_texts[TextId::RecordStartButton]);
  m_settings.setReservation(false, now());
  m_ui.reserveDateLabel->setText(m_texts[TextId::ReserveDateOff]);
  m_ui.reserveHourLabel->setText(m_texts[TextId::ReserveHourOff]);
  m_ui.reserveMinuteLabel->setText(m_texts[TextId::ReserveMinuteOff]);
  for (QWidget* w :
       {static_cast<QWidget*>(m_ui.reserveDateLabel), static_cast<QWidget*>(m_ui.reserveHourLabel),
        static_cast<QWidget*>(m_ui.reserveMinuteLabel), static_cast<QWidget*>(m_ui.reserveDayBar),
        static_cast<QWidget*>(m_ui.reserveHourBar), static_cast<QWidget*>(m_ui.reserveMinuteBar)}) {
    w->setEnabled(false);
  }
}

void RecordingSettingsDialog::restoreName() {
  m_settings.setName(m_settings.loggerName());
  m_ui.nameEdit->setText(m_settings.loggerName());
  m_ui.nameEdit->setFocus();
  m_ui.nameEdit->selectAll();
}

void RecordingSettingsDialog::nameLeft() {
  if (m_checkingName) return;
  m_settings.setName(m_ui.nameEdit->text());
  if (name_rules::check(m_settings.name()) == name_rules::NameFault::None) return;
  m_checkingName = true;
  m_prompts.info(m_settings.model(), name_rules::refusalMessage(
                                         m_texts, TextId::RecordingNameRefused, m_settings.name()));
  restoreName();
  m_checkingName = false;
}

void RecordingSettingsDialog::confirm() {
  if (m_linkBusy) return;
  m_settings.setName(m_ui.nameEdit->text());
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
  if (watched == m_ui.nameEdit) {
    if (event->type() == QEvent::FocusIn) m_ui.nameEdit->selectAll();
    if (event->type() == QEvent::FocusOut) nameLeft();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace termika
