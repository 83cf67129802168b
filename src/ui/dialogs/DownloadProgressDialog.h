#pragma once

#include <QDialog>

class QProgressBar;
class QPushButton;

namespace termika {

class UiText;

// The download progress window. It is shown without blocking the main
// window; while a transfer runs the user cannot close it and its cancel
// button stays disabled.
class DownloadProgressDialog final : public QDialog {
  Q_OBJECT

 public:
  // The dialog's controls.
  struct Controls {
    QProgressBar* progress = nullptr;
    QPushButton* cancelButton = nullptr;
  };
  const Controls& controls() const { return m_ui; }

  explicit DownloadProgressDialog(const UiText& texts, QWidget* parent = nullptr);

  // A new download: progress 0, caption "ダウンロード", cancel disabled.
  void startTransfer();
  // `received` of `total` points have arrived. The total is taken once per
  // transfer and the bar only moves forward, so a late or repeated report
  // never shows an emptier bar than the one on screen.
  void showProgress(int received, int total);
  // The transfer ended (completed or failed): the window may close again.
  void finishTransfer();
  bool transferRunning() const { return m_running; }

  void reject() override;

 Q_SIGNALS:
  void cancelRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  const UiText& m_texts;
  bool m_running = false;
  int m_total = 0;
  Controls m_ui;
};

}  // namespace termika
