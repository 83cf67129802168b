#pragma once

#include <QtGlobal>

namespace termika {

// The latency timer of the USB serial adapters these loggers ship with: an
// answer waits this long in the adapter before the PC sees it.
inline constexpr int kRealAdapterLatencyMs = 16;

// Misbehaviour the simulated logger can be told to show, so the program's
// recovery paths can be exercised without a broken device at hand. Counts
// are consumed as requests arrive; zero or a negative number means "off".
struct SimFaults {
  // The switches below (all but the probe delay, pacing and latency) sleep
  // until a request with code `armOnCode` arrives for the (armAfter + 1)th
  // time, so a fault can be aimed at one phase of a session, e.g. the tenth
  // point of a slow download. A negative code arms on any request, which with
  // armAfter 0 means from the start.
  int armOnCode = -1;
  int armAfter = 0;
  int silentRequests = 0;            // the next N complete requests get no answer at all
  int rejectedRequests = 0;          // the next N requests are answered 0xEE 0xFF and not acted on
  int noiseBytes = 0;                // stray bytes put in front of every answer
  int overlongAnswers = 0;           // the next N answers are 120 bytes without a terminator
  int stallAfterPoints = -1;         // a fast download falls silent after this many points
  int rejectStreamAfterPoints = -1;  // the next fast download stops with 0xEE 0xFF after this many
  int unplugAfterRequests = -1;      // the port vanishes once this many requests have arrived
  int probeDelayMs = 0;              // extra delay of the identify answer
  bool paced = false;                // bytes leave at the baud rate, 10 bits each
  int baud = 57600;
  int latencyMs = 0;  // adapter latency timer: every answer waits this long
};

}  // namespace termika
