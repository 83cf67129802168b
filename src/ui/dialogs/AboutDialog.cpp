#include "ui/dialogs/AboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/UiText.h"

namespace termika {

AboutDialog::AboutDialog(const UiText& texts, const QString& modelName,
                         const QString& hardwareVersion, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("AboutDialog"));
  setWindowTitle(texts[TextId::AboutTitle]);
  m_ui.makerLabel = new QLabel(texts[TextId::AboutCompany], this);
  m_ui.addressLabel = new QLabel(texts[TextId::AboutHelpPage], this);
  m_ui.addressLabel->setVisible(false);
  m_ui.modelLabel = new QLabel(modelName, this);
  m_ui.hardwareLabel = new QLabel(texts[TextId::AboutHardwareVersion] + hardwareVersion, this);
  m_ui.hardwareLabel->setVisible(!hardwareVersion.isEmpty());
  m_ui.applicationLabel = new QLabel(texts[TextId::AboutApplicationVersion], this);
  m_ui.okButton = new QPushButton(QStringLiteral("OK"), this);
  auto* layout = new QVBoxLayout(this);
  for (QLabel* label : {m_ui.makerLabel, m_ui.addressLabel, m_ui.modelLabel, m_ui.hardwareLabel,
                        m_ui.applicationLabel})
    layout->addWidget(label);
  layout->addWidget(m_ui.okButton, 0, Qt::AlignRight);
  layout->setContentsMargins(24, 18, 24, 12);
  setMinimumWidth(280);
  connect(m_ui.okButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace termika
