#pragma once

namespace termika {

// The mode of a queued request: which session its answer belongs to.
enum class SessionMode {
  None,
  PortOpen,               // the status read of a new connection
  ClockSet,               // the read-back after a clock write
  LogStart,               // the rows of a recording start
  Download,               // the stop, the status read and the points of a download
  RecordingHeader,        // the header reads of a download
  Measurement,            // one real-time measurement
  ContinuousMeasurement,  // a point of a series
};

}  // namespace termika
