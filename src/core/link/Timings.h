#pragma once

#include <algorithm>
#include <chrono>

namespace termika {

// Every timer interval of the program in one place. Tests scale them down so
// the suite never sleeps through real 500 ms time-outs; the program uses the
// defaults.
struct Timings {
  using ms = std::chrono::milliseconds;

  ms timeOut{500};           // resend after silence
  ms busyPointer{700};       // the busy pointer of a slow answer
  ms adapterCheck{500};      // is the adapter still plugged in
  ms downloadWatchdog{100};  // the download watchdog's tick
  ms continuation{1000};     // continuous measurement tick
  ms clock{200};             // the status bar clock
  ms pulseLead{250};         // probe: wait before the high pulse
  ms pulseHigh{100};         // probe: CBUS lines high
  ms pulseTrail{250};        // probe: wait after the low pulse
  ms probeAnswer{500};       // probe: wait for the identify answer
  ms drainSilence{300};      // quiet time that ends the draining of stray input
  ms portReturn{2000};       // probe: longest wait for the port to come back after a pulse

  // All intervals divided by `divisor` (at least 1 ms each).
  Timings scaled(int divisor) const {
    Timings t = *this;
    for (ms* v : {&t.timeOut, &t.busyPointer, &t.adapterCheck, &t.downloadWatchdog, &t.continuation,
                  &t.clock, &t.pulseLead, &t.pulseHigh, &t.pulseTrail, &t.probeAnswer,
                  &t.drainSilence, &t.portReturn}) {
      *v = std::max(ms{1}, *v / divisor);
    }
    return t;
  }
};

}  // namespace termika
