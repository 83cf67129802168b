#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace termika {

class UiText;

// The download progress window. It is shown without blocking the main
// window; while a transfer runs it stays open, and its cancel button, the
// Escape key and the title bar's close all ask for the download to stop.
class DownloadProgressDialog final : public QDialog {
  Q_OBJECT

 public:
  // The dialog's controls.
  struct Controls {
    QProgressBar* progress = nullptr;
    QPushButton* cancelButton = nullptr;
    QLabel* stoppingNote = nullptr;  // shown while a cancelled download winds down
  };
  const Controls& controls() const { return m_ui; }

  explicit DownloadProgressDialog(const UiText& texts, QWidget* parent = nullptr);

  // A new download: progress 0, caption "ダウンロード", cancel enabled.
  void startTransfer();
  // `received` of `total` points have arrived. The total is taken once per
  // transfer and the bar only moves forward, so a late or repeated report
  // never shows an emptier bar than the one on screen.
  void showProgress(int received, int total);
  // Cancel was taken: `kept` points stay, the rest is awaited and dropped.
  void showStopping(int kept);
  // The bar follows the dropped rest of a stream, so the wait is seen to end.
  void showDraining(int passed);
  // The transfer ended (completed, cancelled or failed): the window may close again.
  void finishTransfer();
  bool transferRunning() const { return m_running; }
  bool stopping() const { return m_stopping; }

  void reject() override;

 Q_SIGNALS:
  void cancelRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void askToCancel();

  const UiText& m_texts;
  bool m_running = false;
  bool m_stopping = false;
  int m_total = 0;
  Controls m_ui;
};

}  // namespace termika
