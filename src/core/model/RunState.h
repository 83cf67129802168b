#pragma once

namespace termika {

// What the logger is doing, as the program last learned it.
enum class RunState {
  Idle,
  Recording,   // recording points
  Reserved,    // waiting for its reserved start
  Continuous,  // answering the program's series of real-time measurements
};

}  // namespace termika
