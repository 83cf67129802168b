#include "ui/dialogs/DownloadProgressDialog.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/UiText.h"

namespace termika {

DownloadProgressDialog::DownloadProgressDialog(const UiText& texts, QWidget* parent)
    : QDialog(parent), m_texts(texts) {
  setObjectName(QStringLiteral("DownloadProgressDialog"));
  setWindowTitle(texts[TextId::DownloadTitle]);
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("ProgressBar1"));
  m_progress->setRange(0, 1);
  m_progress->setValue(0);
  m_progress->setMinimumWidth(320);
  m_progress->setFormat(QStringLiteral("%v / %m"));
  m_cancelButton = new QPushButton(texts[TextId::CancelButton], this);
  m_cancelButton->setObjectName(QStringLiteral("Command1"));
  m_cancelButton->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_progress);
  layout->addWidget(m_cancelButton, 0, Qt::AlignRight);
  connect(m_cancelButton, &QPushButton::clicked, this, &DownloadProgressDialog::cancelRequested);
}

void DownloadProgressDialog::startTransfer() {
  m_running = true;
  m_total = 0;
  m_progress->setRange(0, 1);
  m_progress->setValue(0);
  m_cancelButton->setEnabled(false);
  setWindowTitle(m_texts[TextId::DownloadTitle]);
}

void DownloadProgressDialog::showProgress(int received, int total) {
  const bool firstTotal = m_total == 0 && total > 0;
  if (firstTotal) {
    m_total = total;
    m_progress->setRange(0, total);
  }
  if (m_total == 0) return;
  const int shown = std::min(received, m_total);
  if (!firstTotal && shown <= m_progress->value()) return;
  m_progress->setValue(std::max(shown, m_progress->value()));
  setWindowTitle(m_texts[TextId::DownloadTitle] +
                 QStringLiteral("\u3000(%1/%2)").arg(m_progress->value()).arg(m_total));
}

void DownloadProgressDialog::finishTransfer() {
  m_running = false;
  m_cancelButton->setEnabled(true);
}

void DownloadProgressDialog::reject() {
  if (m_running) return;  // Escape must not hide a running transfer
  QDialog::reject();
}

void DownloadProgressDialog::closeEvent(QCloseEvent* event) {
  if (m_running) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace termika
