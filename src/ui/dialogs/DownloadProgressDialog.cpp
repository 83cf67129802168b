#include "ui/dialogs/DownloadProgressDialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/Says.h"
#include "core/base/UiText.h"

namespace termika {

DownloadProgressDialog::DownloadProgressDialog(const UiText& texts, QWidget* parent)
    : QDialog(parent), m_texts(texts) {
  setObjectName(QStringLiteral("DownloadProgressDialog"));
  setWindowTitle(texts[TextId::DownloadTitle]);
  m_ui.progress = new QProgressBar(this);
  m_ui.progress->setRange(0, 1);
  m_ui.progress->setValue(0);
  m_ui.progress->setMinimumWidth(320);
  m_ui.progress->setFormat(QStringLiteral("%v / %m"));
  m_ui.cancelButton = new QPushButton(texts[TextId::CancelButton], this);
  m_ui.cancelButton->setAutoDefault(false);
  m_ui.stoppingNote = new QLabel(this);
  m_ui.stoppingNote->setWordWrap(true);
  m_ui.stoppingNote->hide();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_ui.progress);
  layout->addWidget(m_ui.stoppingNote);
  layout->addWidget(m_ui.cancelButton, 0, Qt::AlignRight);
  connect(m_ui.cancelButton, &QPushButton::clicked, this, &DownloadProgressDialog::askToCancel);
}

void DownloadProgressDialog::startTransfer() {
  m_running = true;
  m_stopping = false;
  m_total = 0;
  m_ui.progress->setRange(0, 1);
  m_ui.progress->setValue(0);
  m_ui.cancelButton->setEnabled(true);
  m_ui.stoppingNote->hide();
  setWindowTitle(m_texts[TextId::DownloadTitle]);
}

void DownloadProgressDialog::showStopping(int kept) {
  m_stopping = true;
  m_ui.cancelButton->setEnabled(false);
  m_ui.stoppingNote->setText(
      says("Cancelling: %1 points are kept; waiting for the logger to finish sending.").arg(kept));
  m_ui.stoppingNote->show();
  adjustSize();  // room for the note
}

void DownloadProgressDialog::showDraining(int passed) {
  if (m_stopping && passed > m_ui.progress->value())
    m_ui.progress->setValue(std::min(passed, m_ui.progress->maximum()));
}

void DownloadProgressDialog::askToCancel() {
  if (m_running && !m_stopping) Q_EMIT cancelRequested();
}

void DownloadProgressDialog::showProgress(int received, int total) {
  const bool firstTotal = m_total == 0 && total > 0;
  if (firstTotal) {
    m_total = total;
    m_ui.progress->setRange(0, total);
  }
  if (m_total == 0) return;
  const int shown = std::min(received, m_total);
  if (!firstTotal && shown <= m_ui.progress->value()) return;
  m_ui.progress->setValue(std::max(shown, m_ui.progress->value()));
  setWindowTitle(m_texts[TextId::DownloadTitle] +
                 QStringLiteral("\u3000(%1/%2)").arg(m_ui.progress->value()).arg(m_total));
}

void DownloadProgressDialog::finishTransfer() {
  m_running = false;
  m_stopping = false;
  m_ui.cancelButton->setEnabled(true);
  m_ui.stoppingNote->hide();
}

void DownloadProgressDialog::reject() {
  // Escape never hides a running transfer; it cancels it like the button.
  if (m_running) {
    askToCancel();
    return;
  }
  QDialog::reject();
}

void DownloadProgressDialog::closeEvent(QCloseEvent* event) {
  if (m_running) {
    event->ignore();
    // Only the user's close asks to stop; the window's own close leaves the transfer be.
    if (event->spontaneous()) askToCancel();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace termika
