// The long exchanges with their handlers registered: a download (fast or
// slow) or a real-time measurement (one-time or continuous) is started and
// whatever the input holds arrives as the logger's answers, one piece per
// turn of the event loop, out of step with the requests as a confused logger
// would send them. Then the port vanishes. Whatever happened, the link must
// end idle, no session may still run, and the log set may hold points only
// when the download reported a complete transfer of exactly that many.
//   byte 0   what to start: 0 fast download, 1 slow download,
//            2 one-time measurement, 3 continuous measurement
//   the rest answer bytes, delivered in pieces ending at each 0xFF
#include <QByteArray>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <optional>

#include "FuzzSessions.h"

namespace termika {
namespace {

const QTemporaryDir& recordFolder() {
  static const QTemporaryDir dir;
  return dir;
}

void settle() {
  for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

void run(const std::uint8_t* data, size_t size) {
  if (size < 1) return;
  const int what = data[0] % 4;
  fuzz::SessionRig rig(recordFolder().path(), what);
  std::optional<bool> downloadOk;
  QObject::connect(&rig.download, &Download::finished, [&downloadOk](bool ok) { downloadOk = ok; });
  fuzz::require(rig.start());

  const QByteArray stream(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));
  qsizetype from = 0;
  while (from < stream.size() && rig.exchange.isBusy()) {
    qsizetype end = stream.indexOf('\xFF', from);
    end = end < 0 ? stream.size() : end + 1;
    rig.pipe.deliver(stream.mid(from, end - from));
    from = end;
    settle();
  }
  rig.pipe.fail(QStringLiteral("the fuzzed logger is gone"));
  settle();

  fuzz::require(!rig.exchange.isBusy());
  fuzz::require(rig.exchange.state() == Exchange::State::Idle ||
                rig.exchange.state() == Exchange::State::Draining);
  fuzz::require(!rig.download.running());
  fuzz::require(!rig.realTime.running());
  const int logCount = rig.app.set(kLogSet).count;
  if (downloadOk.value_or(false)) {
    fuzz::require(logCount > 0 && logCount == rig.download.expected());
  } else {
    fuzz::require(logCount == 0);
  }
  fuzz::require(rig.app.set(kRealTimeSet).count <= 1 || what == 3);
}

}  // namespace
}  // namespace termika

TERMIKA_FUZZ_TARGET(termika::run)
