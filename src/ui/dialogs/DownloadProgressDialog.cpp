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
  m_ui.progress = new QProgressBar(this);
  m_ui.progress->setRange(0, 1);
  m_ui.progress->setValue(0);
  m_ui.progress->setMinimumWidth(320);
  m_ui.progress->setFormat(QStringLiteral("%v / %m"));
  m_ui.cancelButton = new QPushButton(texts[TextId::CancelButton], this);
  m_ui.cancelButton->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_ui.progress);
  layout->addWidget(m_ui.cancelButton, 0, Qt::AlignRight);
  connect(m_ui.cancelButton, &QPushButton::clicked, this, &DownloadProgressDialog::cancelRequested);
}

void DownloadProgressDialog::startTransfer() {
  m_running = true;
  m_total = 0;
  m_ui.progress->setRange(0, 1);
  m_ui.progress->setValue(0);
  m_ui.cancelButton->setEnabled(false);
  setWindowTitle(m_texts[TextId::DownloadTitle]);
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
  m_ui.cancelButton->setEnabled(true);
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
