#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <map>

namespace termika {

// The FTDI driver holds received bytes for up to 16 ms before passing them
// on, which makes one-request-per-point downloads crawl. While our port is
// open its adapter's latency timer is set to 1 ms through sysfs, and put back
// on close. One instance serves the whole program, so the advice about a
// read-only setting is given once.
class LatencyTimer final : public QObject {
  Q_OBJECT
 public:
  enum class Outcome { Lowered, NotAnFtdiPort, NotWritable };

  static constexpr int kLowMs = 1;

  // `sysfsRoot` is "/sys" in the program, a temporary folder in tests.
  explicit LatencyTimer(QString sysfsRoot = QStringLiteral("/sys"), QObject* parent = nullptr);
  // Puts back every setting still lowered.
  ~LatencyTimer() override;

  Outcome lower(const QString& devicePath);
  // Restores what lower() changed; nothing when it changed nothing.
  void restore(const QString& devicePath);

  // The sysfs file that holds the port's latency, empty when it has none
  // (not a USB serial port, or a driver other than FTDI's).
  QString controlFile(const QString& devicePath) const;
  // What the user can do about a read-only latency setting.
  static QString advice(const QString& devicePath);

 Q_SIGNALS:
  // Once per program run, for the status bar.
  void adviceGiven(const QString& message);

 private:
  QString m_sysfsRoot;
  struct Saved {
    QString file;
    QByteArray value;  // before lowering
  };
  std::map<QString, Saved> m_saved;  // by device path
  bool m_advised = false;
};

}  // namespace termika
