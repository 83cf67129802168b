#pragma once

#include <QByteArray>

namespace termika {

// Why no logger was found, from the least to the most telling: a scan keeps
// the most telling cause it met on any port. Explained by texts 1950..1955
// in this order.
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

// The number of the text that explains `fault` under text 1071 (0 for None).
int probeFaultText(ProbeFault fault);

}  // namespace termika
