#pragma once

#include <QDialog>
#include <QString>

namespace termika {

class UiText;

// The version box: maker, connected model, the logger's hardware version
// when one is known, and the application version.
class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(const UiText& texts, const QString& modelName, const QString& hardwareVersion,
              QWidget* parent = nullptr);
};

}  // namespace termika
