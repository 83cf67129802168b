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
#include <memory>
#include <optional>

#include "FuzzSupport.h"
#include "core/app/AppState.h"
#include "core/link/Exchange.h"
#include "core/link/PipeTransport.h"
#include "core/link/Timings.h"
#include "core/sessions/Download.h"
#include "core/sessions/RealTimeMeasurement.h"

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

  AppState app;
  for (int i = 0; i < kSetCount; ++i) {
    fuzz::require(app.file(i).open(recordFolder().filePath(QStringLiteral("set%1").arg(i))).ok());
  }
  app.Connected = true;
  app.ModelName = QStringLiteral("QM120-RH");
  app.Status.UsedMemory = 4000;  // the download asks the logger again
  app.DownloadSlow = what == 1;

  fuzz::SilentPrompts prompts;
  const Timings timings;
  Exchange exchange(app, prompts, timings);
  PipeTransport pipe;
  fuzz::require(pipe.open().ok());
  exchange.setTransport(&pipe);

  Download download(app, prompts, exchange);
  RealTimeMeasurement realTime(app, prompts, exchange, timings);
  realTime.setClock([] { return qint64{3'900'000'000}; });
  std::optional<bool> downloadOk;
  QObject::connect(&download, &Download::finished, [&downloadOk](bool ok) { downloadOk = ok; });

  bool started = false;
  switch (what) {
    case 0:
    case 1:
      started = download.Command5_Click();
      break;
    case 2:
      started = realTime.Command1_Click();
      break;
    default:
      started = realTime.Command2_Click(RealTimeMeasurement::kMinSpacing, false);
      break;
  }
  fuzz::require(started);

  const QByteArray stream(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));
  qsizetype from = 0;
  while (from < stream.size() && exchange.isBusy()) {
    qsizetype end = stream.indexOf('\xFF', from);
    end = end < 0 ? stream.size() : end + 1;
    pipe.deliver(stream.mid(from, end - from));
    from = end;
    settle();
  }
  pipe.fail(QStringLiteral("the fuzzed logger is gone"));
  settle();

  fuzz::require(!exchange.isBusy());
  fuzz::require(exchange.state() == Exchange::State::Idle ||
                exchange.state() == Exchange::State::Draining);
  fuzz::require(!download.running());
  fuzz::require(!realTime.running());
  const int logCount = app.set(kLogSet).Count;
  if (downloadOk.value_or(false)) {
    fuzz::require(logCount > 0 && logCount == download.expected());
  } else {
    fuzz::require(logCount == 0);
  }
  fuzz::require(app.set(kRealTimeSet).Count <= 1 || what == 3);
}

}  // namespace
}  // namespace termika

TERMIKA_FUZZ_TARGET(termika::run)
