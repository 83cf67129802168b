#include "ui/dialogs/PortSettingsDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/UiText.h"

namespace termika {

PortSettingsDialog::PortSettingsDialog(const UiText& texts, int chosenPort, bool portOpen,
                                       QWidget* parent)
    : QDialog(parent), m_texts(texts), m_portOpen(portOpen) {
  setObjectName(QStringLiteral("PortSettingsDialog"));
  setWindowTitle(texts[TextId::PortDialogTitle]);

  auto* frame = new QGroupBox(texts[TextId::PortConnectionFrame], this);
  auto* label = m_ui.portCaption = new QLabel(texts[TextId::PortNumber], frame);
  m_ui.portCombo = new QComboBox(frame);
  for (int port = kFirstPort; port <= kLastPort; ++port)
    m_ui.portCombo->addItem(QString::number(port));
  m_chosenPort = std::clamp(chosenPort, kFirstPort, kLastPort);
  m_ui.portCombo->setCurrentIndex(m_chosenPort - kFirstPort);
  m_ui.portCombo->setEnabled(!portOpen);
  auto* row = new QHBoxLayout(frame);
  row->addWidget(label);
  row->addWidget(m_ui.portCombo);

  m_ui.progress = new QLabel(this);

  m_ui.connectButton = new QPushButton(
      portOpen ? texts[TextId::PortDisconnectButton] : texts[TextId::PortConnectButton], this);
  m_ui.closeButton = new QPushButton(texts[TextId::CancelButton], this);
  m_ui.closeButton->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_ui.connectButton);
  buttons->addWidget(m_ui.closeButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addWidget(m_ui.progress);
  layout->addLayout(buttons);

  connect(m_ui.portCombo, &QComboBox::currentIndexChanged, this, &PortSettingsDialog::portChosen);
  connect(m_ui.connectButton, &QPushButton::clicked, this,
          &PortSettingsDialog::connectOrDisconnect);
  connect(m_ui.closeButton, &QPushButton::clicked, this, &PortSettingsDialog::closeDialog);
}

void PortSettingsDialog::portChosen() { m_chosenPort = m_ui.portCombo->currentText().toInt(); }

void PortSettingsDialog::connectOrDisconnect() {
  if (m_searching) return;
  if (m_portOpen) {
    Q_EMIT disconnectRequested();
    accept();
    return;
  }
  m_searching = true;
  setEnabled(false);
  Q_EMIT connectRequested(m_chosenPort);
}

void PortSettingsDialog::closeDialog() { reject(); }

void PortSettingsDialog::discoveryProgress(int port, int attempt) {
  m_ui.progress->setText(
      QStringLiteral("%1 %2 (%3)").arg(m_texts[TextId::PortNumber]).arg(port).arg(attempt + 1));
}

void PortSettingsDialog::discoveryFinished(bool connected) {
  if (!m_searching) return;
  m_searching = false;
  m_ui.progress->clear();
  setEnabled(true);
  // The window has said what was found (or that nothing was): the dialog's
  // work is done either way.
  if (connected) {
    accept();
  } else {
    reject();
  }
}

void PortSettingsDialog::reject() {
  if (m_searching) return;  // the search owns the port until it reports back
  QDialog::reject();
}

}  // namespace termika
