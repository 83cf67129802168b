#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace termika {

class UiText;

// The communication settings dialog: one port is chosen and connected (or
// the open connection is closed). The search itself runs in the link; the
// dialog stays disabled and shows its progress until it reports the end.
class PortSettingsDialog final : public QDialog {
  Q_OBJECT

 public:
  // The dialog's controls.
  struct Controls {
    QLabel* portCaption = nullptr;
    QComboBox* portCombo = nullptr;
    QLabel* progress = nullptr;
    QPushButton* connectButton = nullptr;
    QPushButton* closeButton = nullptr;
  };
  const Controls& controls() const { return m_ui; }

  static constexpr int kFirstPort = 1;
  static constexpr int kLastPort = 16;

  PortSettingsDialog(const UiText& texts, int chosenPort, bool portOpen, QWidget* parent = nullptr);

  int chosenPort() const { return m_chosenPort; }
  bool searching() const { return m_searching; }

  void portChosen();
  void connectOrDisconnect();
  void closeDialog();

  // Progress of the search the dialog asked for.
  void discoveryProgress(int port, int attempt);
  // The search ended: the dialog closes, accepted when a logger was found.
  void discoveryFinished(bool connected);

  void reject() override;

 Q_SIGNALS:
  void connectRequested(int port);
  void disconnectRequested();

 private:
  const UiText& m_texts;
  int m_chosenPort = kFirstPort;
  bool m_portOpen = false;
  bool m_searching = false;
  Controls m_ui;
};

}  // namespace termika
