#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace termika {

// A hex log of the line: one row per frame in each direction, stamped with
// the simulator's milliseconds. Without a file it stays silent.
class FrameTrace final {
 public:
  FrameTrace() = default;
  FrameTrace(const FrameTrace&) = delete;
  FrameTrace& operator=(const FrameTrace&) = delete;

  bool open(const QString& path, QString* error);
  // Bytes the program wrote (`fromProgram`) or the logger sent.
  void bytes(qint64 atMs, bool fromProgram, const QByteArray& data);
  void note(qint64 atMs, const QString& text);

 private:
  void row(qint64 atMs, const char* direction, const QByteArray& data);

  QFile m_file;
  QByteArray m_partIn;
  QByteArray m_partOut;
};

}  // namespace termika
