#include "ui/dialogs/ClockDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/base/UiText.h"
#include "core/data/Formats.h"

namespace termika {

ClockDialog::ClockDialog(const UiText& texts, Clock clock, std::chrono::milliseconds tick,
                         QWidget* parent)
    : QDialog(parent), m_clock(clock ? std::move(clock) : Clock(&QDateTime::currentDateTime)) {
  setObjectName(QStringLiteral("ClockDialog"));
  setWindowTitle(texts[TextId::ClockDialogTitle]);
  auto* caption = m_ui.caption = new QLabel(texts[TextId::ClockPresentTime], this);
  m_ui.time = new QLabel(this);
  m_ui.time->setMinimumWidth(200);
  m_ui.setButton = new QPushButton(texts[TextId::ClockSetButton], this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption);
  layout->addWidget(m_ui.time);
  layout->addWidget(m_ui.setButton, 0, Qt::AlignRight);

  m_clockTimer = new QTimer(this);
  m_clockTimer->setInterval(tick);
  connect(m_clockTimer, &QTimer::timeout, this, &ClockDialog::updateClock);
  connect(m_ui.setButton, &QPushButton::clicked, this, &ClockDialog::requestClockSet);
  updateClock();
  m_clockTimer->start();
}

void ClockDialog::setLinkBusy(bool busy) {
  m_linkBusy = busy;
  m_ui.setButton->setEnabled(!busy);
}

void ClockDialog::updateClock() { m_ui.time->setText(fmt::dateTime(m_clock())); }

void ClockDialog::requestClockSet() {
  if (m_linkBusy) return;
  m_clockTimer->stop();
  Q_EMIT setClockRequested();
  accept();
}

}  // namespace termika
