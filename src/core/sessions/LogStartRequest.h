#pragma once

#include <QMetaType>
#include <QString>
#include <cstdint>
#include <optional>

#include "core/link/Protocol.h"

namespace termika {

// The settings of a recording start, as the link turns them into commands.
struct LogStartRequest {
  struct Reservation {
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    friend bool operator==(const Reservation&, const Reservation&) = default;
  };
  QString Name;  // exactly four characters, padded on the left with blanks
  bool Loop = false;
  IntervalUnit intervalUnit = IntervalUnit::Minutes;
  int IntervalValue = 60;  // in intervalUnit
  int UpperLimit = 40;     // whole °C
  bool UpperEnabled = false;
  int LowerLimit = 0;
  bool LowerEnabled = false;
  QString Model;
  std::optional<Reservation> ReservedStart;

  friend bool operator==(const LogStartRequest&, const LogStartRequest&) = default;
};

}  // namespace termika

Q_DECLARE_METATYPE(termika::LogStartRequest)
