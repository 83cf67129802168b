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

RecordingSettingsDialog::RecordingSettingsDialog(const UiText& texts, const RecordingPreset& preset, UserPrompts& prompts,
               Clock clock, QWidget* parent)
    : QDialog(parent),
      m_texts(texts),
      m_prompts(prompts),
      m_clock(clock ? std::move(clock) : Clock(&QDateTime::currentDateTime)) {
  setObjectName(QStringLiteral("RecordingSettingsDialog"));
  setWindowTitle(texts[320]);
  buildControls();
  m_settings.preselect(preset);
  m_alarmFrame->setVisible(m_settings.alarmsAvailable());
  m_text1->setText(m_settings.name());
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

  auto* nameFrame = named(new QGroupBox(t[321], this), "Frame1");
  m_text1 = named(new QLineEdit(nameFrame), "Text1");
  m_text1->setMaxLength(name_rules::kMaxLength);
  m_text1->installEventFilter(this);
  (new QHBoxLayout(nameFrame))->addWidget(m_text1);

  auto* modeFrame = named(new QGroupBox(t[322], this), "Frame2");
  m_option1 = named(new QRadioButton(t[323], modeFrame), "Option1");
  m_option2 = named(new QRadioButton(t[324], modeFrame), "Option2");
  auto* modeRow = new QHBoxLayout(modeFrame);
  modeRow->addWidget(m_option1);
  modeRow->addWidget(m_option2);

  auto* intervalFrame = named(new QGroupBox(t[325], this), "Frame3");
  m_option6 = named(new QRadioButton(t[326], intervalFrame), "Option6");
  m_option5 = named(new QRadioButton(t[327], intervalFrame), "Option5");
  m_combo2 = named(new QComboBox(intervalFrame), "Combo2");
  m_combo2->setEditable(false);  // a list to choose from, never typed values
  m_combo2->setMaxVisibleItems(12);
  m_label8 = named(new QLabel(t[328], intervalFrame), "Label8");
  auto* intervalRow = new QHBoxLayout(intervalFrame);
  intervalRow->addWidget(m_option5);
  intervalRow->addWidget(m_option6);
  intervalRow->addWidget(m_combo2);
  intervalRow->addWidget(m_label8);
  m_intervalNote = named(new QLabel(intervalFrame), "IntervalNote");
  m_intervalNote->setWordWrap(true);
  intervalRow->addWidget(m_intervalNote, 1);

  m_alarmFrame = named(new QGroupBox(t[329], this), "Frame4");
  m_vscroll1 = verticalScroll(m_alarmFrame, "VScroll1", RecordingSettings::kUpperMin,
                              RecordingSettings::kUpperMax);
  m_vscroll2 = verticalScroll(m_alarmFrame, "VScroll2", RecordingSettings::kLowerMin,
                              RecordingSettings::kLowerMax);
  m_label1 = named(new QLabel(m_alarmFrame), "Label1");
  m_label2 = named(new QLabel(m_alarmFrame), "Label2");
  m_label1->setMinimumWidth(
      m_label1->fontMetrics().horizontalAdvance(QStringLiteral("-20 ") + t[350]) + 8);
  m_label2->setMinimumWidth(m_label1->minimumWidth());
  m_option3 = named(new QRadioButton(t[331], m_alarmFrame), "Option3");
  m_option4 = named(new QRadioButton(t[332], m_alarmFrame), "Option4");
  m_option7 = named(new QRadioButton(t[334], m_alarmFrame), "Option7");
  m_option8 = named(new QRadioButton(t[335], m_alarmFrame), "Option8");
  auto* upperGroup = new QButtonGroup(this);
  upperGroup->addButton(m_option3);
  upperGroup->addButton(m_option4);
  auto* lowerGroup = new QButtonGroup(this);
  lowerGroup->addButton(m_option7);
  lowerGroup->addButton(m_option8);
  auto* alarmGrid = new QGridLayout(m_alarmFrame);
  alarmGrid->addWidget(named(new QLabel(t[330], m_alarmFrame), "Label3"), 0, 0);
  alarmGrid->addWidget(m_label1, 0, 1);
  alarmGrid->addWidget(m_vscroll1, 0, 2);
  alarmGrid->addWidget(m_option3, 0, 3);
  alarmGrid->addWidget(m_option4, 0, 4);
  alarmGrid->addWidget(named(new QLabel(t[333], m_alarmFrame), "Label4"), 1, 0);
  alarmGrid->addWidget(m_label2, 1, 1);
  alarmGrid->addWidget(m_vscroll2, 1, 2);
  alarmGrid->addWidget(m_option7, 1, 3);
  alarmGrid->addWidget(m_option8, 1, 4);

  auto* reserveFrame = named(new QGroupBox(t[336], this), "Frame5");
  m_check1 = named(new QCheckBox(t[337], reserveFrame), "Check1");
  m_label5 = named(new QLabel(t[338], reserveFrame), "Label5");
  m_label6 = named(new QLabel(t[339], reserveFrame), "Label6");
  m_label7 = named(new QLabel(t[340], reserveFrame), "Label7");
  m_vscroll3 = verticalScroll(reserveFrame, "VScroll3", 0, 0);
  m_vscroll4 = verticalScroll(reserveFrame, "VScroll4", -1, 24);
  m_vscroll5 = verticalScroll(reserveFrame, "VScroll5", -1, 60);
  auto* reserveRow = new QHBoxLayout;
  for (auto [label, bar] :
       {std::pair{m_label5, m_vscroll3}, {m_label6, m_vscroll4}, {m_label7, m_vscroll5}}) {
    reserveRow->addWidget(label);
    reserveRow->addWidget(bar);
  }
  reserveRow->addStretch();
  auto* reserveLayout = new QVBoxLayout(reserveFrame);
  reserveLayout->addWidget(m_check1);
  reserveLayout->addLayout(reserveRow);

  m_command1 = named(new QPushButton(t[341], this), "Command1");
  m_command2 = named(new QPushButton(t[342], this), "Command2");
  m_command1->setAutoDefault(false);
  m_command2->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_command1);
  buttons->addWidget(m_command2);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // shrinks when the alarm frame is hidden
  for (QWidget* frame : {static_cast<QWidget*>(nameFrame), static_cast<QWidget*>(modeFrame),
                         static_cast<QWidget*>(intervalFrame), static_cast<QWidget*>(m_alarmFrame),
                         static_cast<QWidget*>(reserveFrame)}) {
    layout->addWidget(frame);
  }
  layout->addLayout(buttons);

  connect(m_text1, &QLineEdit::textChanged, this,
          [this](const QString& text) { m_settings.setName(text); });
  connect(m_option1, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating && on) m_settings.setLoop(false);
  });
  connect(m_option2, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating && on) m_settings.setLoop(true);
  });
  connect(m_option5, &QRadioButton::clicked, this, &RecordingSettingsDialog::Option5_Click);
  connect(m_option6, &QRadioButton::clicked, this, &RecordingSettingsDialog::Option6_Click);
  connect(m_combo2, &QComboBox::currentIndexChanged, this, &RecordingSettingsDialog::Combo2_Click);
  connect(m_vscroll1, &UpDownBar::numberChanged, this, &RecordingSettingsDialog::VScroll1_Change);
  connect(m_vscroll2, &UpDownBar::numberChanged, this, &RecordingSettingsDialog::VScroll2_Change);
  connect(m_vscroll3, &UpDownBar::numberChanged, this, &RecordingSettingsDialog::VScroll3_Change);
  connect(m_vscroll4, &UpDownBar::numberChanged, this, &RecordingSettingsDialog::VScroll4_Change);
  connect(m_vscroll5, &UpDownBar::numberChanged, this, &RecordingSettingsDialog::VScroll5_Change);
  connect(m_option3, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating) m_settings.setUpperEnabled(on);
  });
  connect(m_option7, &QRadioButton::toggled, this, [this](bool on) {
    if (!m_updating) m_settings.setLowerEnabled(on);
  });
  connect(m_check1, &QCheckBox::clicked, this, &RecordingSettingsDialog::Check1_Click);
  connect(m_command1, &QPushButton::clicked, this, &RecordingSettingsDialog::Command1_Click);
  connect(m_command2, &QPushButton::clicked, this, &RecordingSettingsDialog::Command2_Click);
}

// Puts every value of the settings into its control.
void RecordingSettingsDialog::showSettings() {
  m_updating = true;
  (m_settings.loop() ? m_option2 : m_option1)->setChecked(true);
  (m_settings.unit() == RecordingSettings::Unit::Seconds ? m_option5 : m_option6)->setChecked(true);
  fillIntervalList();
  m_vscroll1->setNumber(m_settings.upper());
  m_vscroll2->setNumber(m_settings.lower());
  (m_settings.upperEnabled() ? m_option3 : m_option4)->setChecked(true);
  (m_settings.lowerEnabled() ? m_option7 : m_option8)->setChecked(true);
  if (m_settings.reservation()) {
    m_vscroll3->setNumberRange(0, m_settings.maxDayOffset());
    m_vscroll3->setNumber(m_settings.dayOffset());
    m_vscroll4->setNumber(m_settings.hour());
    m_vscroll5->setNumber(m_settings.minute());
    m_label5->setText(fmt::formatRuntimeDate(m_texts[351], civilOf(m_settings.reservedDate())));
    m_label6->setText(fmt::formatRuntimeNumber(m_texts[352], m_settings.hour()));
    m_label7->setText(fmt::formatRuntimeNumber(m_texts[353], m_settings.minute()));
  }
  showAlarmLabels();
  m_updating = false;
}

void RecordingSettingsDialog::fillIntervalList() {
  const bool wasUpdating = m_updating;
  m_updating = true;
  m_label8->setText(
      (m_settings.unit() == RecordingSettings::Unit::Seconds ? m_option5 : m_option6)->text());
  m_combo2->clear();
  m_combo2->addItems(m_settings.intervalChoices());
  m_combo2->setCurrentText(QString::number(m_settings.intervalValue()));
  m_updating = wasUpdating;
}

void RecordingSettingsDialog::showAlarmLabels() {
  m_label1->setText(QString::number(m_settings.upper()) + m_texts[350]);
  m_label2->setText(QString::number(m_settings.lower()) + m_texts[350]);
}

void RecordingSettingsDialog::setLinkBusy(bool busy) {
  m_linkBusy = busy;
  m_command1->setEnabled(!busy);
}

void RecordingSettingsDialog::Option5_Click() {
  m_settings.setUnit(RecordingSettings::Unit::Seconds);
  fillIntervalList();
}

void RecordingSettingsDialog::Option6_Click() {
  m_settings.setUnit(RecordingSettings::Unit::Minutes);
  fillIntervalList();
}

void RecordingSettingsDialog::Combo2_Click() {
  if (m_updating) return;
  m_settings.setIntervalValue(m_combo2->currentText().toInt());
}

void RecordingSettingsDialog::VScroll1_Change() {
  if (m_updating) return;
  m_settings.setUpper(m_vscroll1->number());
  showSettings();
}

void RecordingSettingsDialog::VScroll2_Change() {
  if (m_updating) return;
  m_settings.setLower(m_vscroll2->number());
  showSettings();
}

void RecordingSettingsDialog::VScroll3_Change() {
  if (m_updating) return;
  m_settings.setDayOffset(m_vscroll3->number());
  showSettings();
}

void RecordingSettingsDialog::VScroll4_Change() {
  if (m_updating) return;
  m_settings.setHour(m_vscroll4->number());
  showSettings();
}

void RecordingSettingsDialog::VScroll5_Change() {
  if (m_updating) return;
  m_settings.setMinute(m_vscroll5->number());
  showSettings();
}

void RecordingSettingsDialog::Check1_Click() {
  if (m_check1->isChecked()) {
    reservationOn();
  } else {
    reservationOff();
  }
}

void RecordingSettingsDialog::reservationOn() {
  m_check1->setChecked(true);
  m_command1->setText(m_texts[344]);
  m_settings.setReservation(true, now());
  for (QWidget* w : {static_cast<QWidget*>(m_label5), static_cast<QWidget*>(m_label6),
                     static_cast<QWidget*>(m_label7), static_cast<QWidget*>(m_vscroll3),
                     static_cast<QWidget*>(m_vscroll4), static_cast<QWidget*>(m_vscroll5)}) {
    w->setEnabled(true);
  }
  showSettings();
}

void RecordingSettingsDialog::reservationOff() {
  m_check1->setChecked(false);
  m_command1->setText(m_texts[345]);
  m_settings.setReservation(false, now());
  m_label5->setText(m_texts[346]);
  m_label6->setText(m_texts[347]);
  m_label7->setText(m_texts[348]);
  for (QWidget* w : {static_cast<QWidget*>(m_label5), static_cast<QWidget*>(m_label6),
                     static_cast<QWidget*>(m_label7), static_cast<QWidget*>(m_vscroll3),
                     static_cast<QWidget*>(m_vscroll4), static_cast<QWidget*>(m_vscroll5)}) {
    w->setEnabled(false);
  }
}

void RecordingSettingsDialog::restoreName() {
  m_settings.setName(m_settings.loggerName());
  m_text1->setText(m_settings.loggerName());
  m_text1->setFocus();
  m_text1->selectAll();
}

void RecordingSettingsDialog::Text1_LostFocus() {
  if (m_checkingName) return;
  m_settings.setName(m_text1->text());
  if (name_rules::check(m_settings.name()) == name_rules::NameFault::None) return;
  m_checkingName = true;
  m_prompts.info(m_settings.model(), name_rules::refusalMessage(m_texts, 349, m_settings.name()));
  restoreName();
  m_checkingName = false;
}

void RecordingSettingsDialog::Command1_Click() {
  if (m_linkBusy) return;
  m_settings.setName(m_text1->text());
  switch (m_settings.check(now())) {
    case StartRefusal::ForbiddenName:
    case StartRefusal::DoubleByteName:
      m_checkingName = true;
      m_prompts.info(m_settings.model(),
                     name_rules::refusalMessage(m_texts, 349, m_settings.name()));
      restoreName();
      m_checkingName = false;
      return;
    case StartRefusal::ReservationTime:
      m_prompts.info(kReservationRefusalTitle, m_texts[343]);
      reservationOn();
      return;
    case StartRefusal::None:
      break;
  }
  Q_EMIT startRequested(m_settings.request());
  accept();
}

void RecordingSettingsDialog::Command2_Click() { reject(); }

bool RecordingSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_text1) {
    if (event->type() == QEvent::FocusIn) m_text1->selectAll();
    if (event->type() == QEvent::FocusOut) Text1_LostFocus();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace termika
