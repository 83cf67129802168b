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

std::optional<TextId> probeFaultText(ProbeFault fault) {
  switch (fault) {
    case ProbeFault::None:
      return std::nullopt;
    case ProbeFault::NoAdapter:
      return TextId::NoUsbAdapter;
    case ProbeFault::NoPort:
      return TextId::PortNotOpened;
    case ProbeFault::NoAnswer:
      return TextId::LoggerSilent;
    case ProbeFault::Garbled:
      return TextId::AnswerUnreadable;
    case ProbeFault::Streaming:
      return TextId::LoggerStillSending;
    case ProbeFault::Unsupported:
      return TextId::ModelNotServed;
  }
  return std::nullopt;
}

}  // namespace termika
