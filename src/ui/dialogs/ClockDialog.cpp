#include "ui/dialogs/ClockDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/base/UiText.h"
#include "core/data/Formats.h"

namespace termika {

ClockDialog::ClockDialog(const UiText& texts, Clock clock, std::chrono::milliseconds tick, QWidget* parent)
    : QDialog(parent), m_clock(clock ? std::move(clock) : Clock(&QDateTime::currentDateTime)) {
  setObjectName(QStringLiteral("ClockDialog"));
  setWindowTitle(texts[282]);
  auto* caption = new QLabel(texts[280], this);
  caption->setObjectName(QStringLiteral("Label1"));
  m_time = new QLabel(this);
  m_time->setObjectName(QStringLiteral("Label2"));
  m_time->setMinimumWidth(200);
  m_command1 = new QPushButton(texts[281], this);
  m_command1->setObjectName(QStringLiteral("Command1"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption);
  layout->addWidget(m_time);
  layout->addWidget(m_command1, 0, Qt::AlignRight);

  m_tokei = new QTimer(this);
  m_tokei->setObjectName(QStringLiteral("tokei"));
  m_tokei->setInterval(tick);
  connect(m_tokei, &QTimer::timeout, this, &ClockDialog::tokei_Timer);
  connect(m_command1, &QPushButton::clicked, this, &ClockDialog::Command1_Click);
  tokei_Timer();
  m_tokei->start();
}

void ClockDialog::setLinkBusy(bool busy) {
  m_linkBusy = busy;
  m_command1->setEnabled(!busy);
}

void ClockDialog::tokei_Timer() { m_time->setText(fmt::dateTime(m_clock())); }

void ClockDialog::Command1_Click() {
  if (m_linkBusy) return;
  m_tokei->stop();
  Q_EMIT setClockRequested();
  accept();
}

}  // namespace termika
