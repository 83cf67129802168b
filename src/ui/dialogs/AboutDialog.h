#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace termika {

class UiText;

// The version box: maker, connected model, the logger's hardware version
// when one is known, and the application version.
class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(const UiText& texts, const QString& modelName, const QString& hardwareVersion,
              QWidget* parent = nullptr);

  // The dialog's controls.
  struct Controls {
    QLabel* makerLabel = nullptr;
    QLabel* addressLabel = nullptr;  // kept hidden
    QLabel* modelLabel = nullptr;
    QLabel* hardwareLabel = nullptr;
    QLabel* applicationLabel = nullptr;
    QPushButton* okButton = nullptr;
  };
  const Controls& controls() const { return m_ui; }

 private:
  Controls m_ui;
};

}  // namespace termika
