#include "FrameTrace.h"

namespace termika {
namespace {
// A run this long without a terminator is logged as it stands (an overlong
// answer would otherwise never show up).
constexpr qsizetype kLongestRow = 128;
}  // namespace

bool FrameTrace::open(const QString& path, QString* error) {
  m_file.setFileName(path);
  if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
    *error = QStringLiteral("cannot write the trace %1: %2").arg(path, m_file.errorString());
    return false;
  }
  return true;
}

void FrameTrace::bytes(qint64 atMs, bool fromProgram, const QByteArray& data) {
  if (!m_file.isOpen()) return;
  QByteArray& part = fromProgram ? m_partIn : m_partOut;
  const char* direction = fromProgram ? "pc->logger" : "logger->pc";
  for (const char c : data) {
    part.append(c);
    if (c == '\xff' || part.size() >= kLongestRow) {
      row(atMs, direction, part);
      part.clear();
    }
  }
  m_file.flush();
}

void FrameTrace::note(qint64 atMs, const QString& text) {
  if (!m_file.isOpen()) return;
  m_file.write(QStringLiteral("%1  %2\n").arg(atMs, 9).arg(text).toUtf8());
  m_file.flush();
}

void FrameTrace::row(qint64 atMs, const char* direction, const QByteArray& data) {
  m_file.write(QStringLiteral("%1  %2  ").arg(atMs, 9).arg(QLatin1String(direction)).toUtf8() +
               data.toHex(' ') + '\n');
}

}  // namespace termika
