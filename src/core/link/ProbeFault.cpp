#include "core/link/ProbeFault.h"

#include <QList>

#include "core/data/LoggerModel.h"
#include "core/link/Frame.h"

namespace termika {

ProbeFault classifyProbeAnswer(const QByteArray& answer) {
  if (answer.isEmpty()) return ProbeFault::NoAnswer;
  if (answer.contains(kModelTreatedAsAbsent.latin1())) return ProbeFault::Unsupported;
  // A logger streaming points sends whole answer frames back to back,
  // whatever it is asked.
  int frames = 0;
  for (const QByteArray& part : answer.split(static_cast<char>(frame::kTerminator))) {
    if (part.size() == frame::kFrameSize - 1 &&
        frame::decodeAnswer(part + static_cast<char>(frame::kTerminator))) {
      ++frames;
    }
  }
  return frames >= 2 ? ProbeFault::Streaming : ProbeFault::Garbled;
}

int probeFaultText(ProbeFault fault) {
  // Texts 1950..1955 follow the order of the causes.
  return fault == ProbeFault::None ? 0 : 1949 + static_cast<int>(fault);
}

}  // namespace termika
