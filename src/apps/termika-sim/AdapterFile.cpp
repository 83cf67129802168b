#include "AdapterFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace termika {

AdapterFile::AdapterFile(QString path, FrameTrace* trace, std::function<qint64()> clockMs,
                         QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_trace(trace), m_clockMs(std::move(clockMs)) {
  m_poll.setInterval(50);
  connect(&m_poll, &QTimer::timeout, this, &AdapterFile::poll);
}

AdapterFile::~AdapterFile() { remove(); }

namespace {

// The first line of every adapter file the simulator makes; a file without
// it is someone else's and is never touched.
const QByteArray kOwnMark = QByteArrayLiteral("termika-sim adapter\n");

}  // namespace

bool AdapterFile::create(QString* error) {
  const QFileInfo existing(m_path);
  if (existing.exists() || existing.isSymLink()) {
    QFile old(m_path);
    // A killed run leaves its own file behind; anything else stays as it is.
    const bool own = existing.isFile() && !existing.isSymLink() && old.open(QIODevice::ReadOnly) &&
                     old.read(kOwnMark.size()) == kOwnMark;
    if (!own) {
      *error = QStringLiteral(
                   "%1 exists and is not an adapter file of termika-sim; "
                   "not touching it")
                   .arg(m_path);
      return false;
    }
  }
  QDir().mkpath(existing.absolutePath());
  QFile file(m_path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(kOwnMark) != kOwnMark.size() || !file.flush()) {
    *error =
        QStringLiteral("cannot create the adapter file %1: %2").arg(m_path, file.errorString());
    return false;
  }
  m_created = true;
  m_offset = kOwnMark.size();
  m_poll.start();
  return true;
}

void AdapterFile::remove() {
  m_poll.stop();
  if (m_created) {
    poll();  // pulses written just before the end still reach the trace
    QFile::remove(m_path);
  }
  m_created = false;
}

void AdapterFile::poll() {
  QFile file(m_path);
  if (!file.open(QIODevice::ReadOnly)) return;
  if (file.size() < m_offset) m_offset = 0;  // rewritten from the start
  if (!file.seek(m_offset)) return;
  const QByteArray fresh = file.read(qint64{64} * 1024);
  m_offset += fresh.size();
  m_partial += fresh;
  qsizetype end;
  while ((end = m_partial.indexOf('\n')) >= 0) {
    const QByteArray line = m_partial.left(end).trimmed();
    m_partial.remove(0, end + 1);
    if (!line.isEmpty() && line != kOwnMark.trimmed()) {
      m_trace->note(m_clockMs(), QStringLiteral("adapter %1").arg(QString::fromUtf8(line)));
    }
  }
  if (m_partial.size() > 4096) m_partial.clear();  // not a line the program writes
}

}  // namespace termika
