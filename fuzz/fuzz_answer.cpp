// The answer decoder and HandleAnswer on a fresh AppState. The input is a
// queue and what the logger answered to it:
//   byte 0            number of rows - 1 (modulo 32)
//   4 bytes per row   code, b2, b3, session mode (an index into kModes)
//   the rest          answer bytes; every 0xFF ends one answer
#include <QByteArray>
#include <QStringList>

#include "FuzzSessions.h"
#include "core/data/Conversion.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/Commands.h"
#include "core/model/AppState.h"

namespace termika {
namespace {

void run(const std::uint8_t* data, size_t size) {
  if (size < 1) return;
  const size_t rows = 1 + data[0] % 32;
  if (size < 1 + 4 * rows) return;

  CommandQueue queue;
  for (size_t i = 0; i < rows; ++i) {
    const std::uint8_t* r = data + 1 + 4 * i;
    const SessionMode mode = fuzz::sessionMode(r[3]);
    fuzz::require(queue.append(commands::row(static_cast<Opcode>(r[0]), r[1], r[2], mode)).ok());
  }

  AppState app;
  fuzz::SilentPrompts prompts;
  AnswerDispatcher dispatcher(app, prompts);
  dispatcher.setRawToTemperature(
      [](int raw, int mode) { return static_cast<double>(rawToTemperature(raw, mode)); });

  const QByteArray stream(reinterpret_cast<const char*>(data + 1 + 4 * rows),
                          static_cast<qsizetype>(size - 1 - 4 * rows));
  qsizetype from = 0;
  while (from < stream.size() && queue.hasCurrent()) {
    qsizetype end = stream.indexOf('\xFF', from);
    end = end < 0 ? stream.size() : end + 1;
    const QByteArray raw = stream.mid(from, end - from);
    from = end;

    const std::optional<Answer> answer = AnswerDispatcher::parse(queue.current().b1, raw);
    if (!answer) continue;
    fuzz::require(static_cast<std::uint8_t>(answer->raw.back()) == frame::kTerminator);
    const AnswerAction action = dispatcher.handleAnswer(queue, *answer);
    fuzz::require(queue.count() <= CommandQueue::kCapacity);
    if (action == AnswerAction::Finish) break;
    if (action == AnswerAction::Advance) queue.advance();
  }
}

}  // namespace
}  // namespace termika

TERMIKA_FUZZ_TARGET(termika::run)
