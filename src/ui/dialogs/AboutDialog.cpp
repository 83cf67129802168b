#include "ui/dialogs/AboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/UiText.h"

namespace termika {
namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QLatin1String(name));
  return l;
}

}  // namespace

AboutDialog::AboutDialog(const UiText& texts, const QString& modelName,
                         const QString& hardwareVersion, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("AboutDialog"));
  setWindowTitle(texts[TextId::AboutTitle]);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label(this, "Label1", texts[TextId::AboutCompany]));
  QLabel* address = label(this, "Label2", texts[TextId::AboutHelpPage]);
  address->setVisible(false);
  layout->addWidget(address);
  layout->addWidget(label(this, "Label3", modelName));
  QLabel* hardware = label(this, "Label4", texts[TextId::AboutHardwareVersion] + hardwareVersion);
  hardware->setVisible(!hardwareVersion.isEmpty());
  layout->addWidget(hardware);
  layout->addWidget(label(this, "Label5", texts[TextId::AboutApplicationVersion]));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Command_ok"));
  layout->addWidget(ok, 0, Qt::AlignRight);
  layout->setContentsMargins(24, 18, 24, 12);
  setMinimumWidth(280);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace termika
