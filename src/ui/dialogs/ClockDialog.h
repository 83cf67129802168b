#pragma once

#include <QDateTime>
#include <QDialog>
#include <chrono>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace termika {

class UiText;

// The clock dialog: shows the computer's clock, ticking, and asks for the
// logger's clock to be set from it. The time is read by the link when the
// command is queued, so the logger always receives the time of the press.
class ClockDialog final : public QDialog {
  Q_OBJECT

 public:
  // The dialog's controls.
  struct Controls {
    QLabel* caption = nullptr;
    QLabel* time = nullptr;
    QPushButton* setButton = nullptr;
  };
  const Controls& controls() const { return m_ui; }

  using Clock = std::function<QDateTime()>;

  ClockDialog(const UiText& texts, Clock clock, std::chrono::milliseconds tick,
              QWidget* parent = nullptr);

  void setLinkBusy(bool busy);

  void updateClock();
  void requestClockSet();

 Q_SIGNALS:
  void setClockRequested();

 private:
  Clock m_clock;
  bool m_linkBusy = false;
  QTimer* m_clockTimer = nullptr;
  Controls m_ui;
};

}  // namespace termika
