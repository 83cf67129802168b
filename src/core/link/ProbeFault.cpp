#include "core/link/ProbeFault.h"

#include <QList>

#include "core/link/Frame.h"

namespace termika {

ProbeFault classifyProbeAnswer(const QByteArray& answer) {
  if (answer.isEmpty()) return ProbeFault::NoAnswer;
  if (answer.contains("QM200-RHA")) return ProbeFault::Unsupported;
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
  switch (fault) {
    case ProbeFault::None:
      return 0;
    case ProbeFault::NoAdapter:
      return 1950;
    case ProbeFault::NoPort:
      return 1951;
    case ProbeFault::NoAnswer:
      return 1952;
    case ProbeFault::Garbled:
      return 1953;
    case ProbeFault::Streaming:
      return 1954;
    case ProbeFault::Unsupported:
      return 1955;
  }
  return 0;
}

}  // namespace termika
