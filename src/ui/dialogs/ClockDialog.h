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
  QLabel* m_time = nullptr;
  QPushButton* m_setButton = nullptr;
  QTimer* m_clockTimer = nullptr;
};

}  // namespace termika
