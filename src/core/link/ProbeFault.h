#pragma once

#include <QByteArray>
#include <optional>

#include "core/base/TextId.h"

namespace termika {

// Why no logger was found, from the least to the most telling: a scan keeps
// the most telling cause it met on any port.
enum class ProbeFault {
  None,
  NoAdapter,    // no USB adapter at all
  NoPort,       // no port could be opened
  NoAnswer,     // a port opened, nothing came back
  Garbled,      // bytes came back that name no model
  Streaming,    // a stream of point frames: a transfer from an earlier run goes on
  Unsupported,  // a model this program does not serve (QM200-RHA)
};

// What an identify answer that named no served model says about the port.
ProbeFault classifyProbeAnswer(const QByteArray& answer);

// The text that explains `fault` under TextId::ModelNotConnected (none for None).
std::optional<TextId> probeFaultText(ProbeFault fault);

}  // namespace termika
