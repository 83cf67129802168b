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
    int day = 0;
    int hour = 0;
    int minute = 0;
    friend bool operator==(const Reservation&, const Reservation&) = default;
  };
  QString name;  // exactly four characters, padded on the left with blanks
  bool loop = false;
  IntervalUnit intervalUnit = IntervalUnit::Minutes;
  int intervalValue = 60;  // in intervalUnit
  int upperLimit = 40;     // whole °C
  bool upperEnabled = false;
  int lowerLimit = 0;
  bool lowerEnabled = false;
  QString model;
  std::optional<Reservation> reservedStart;

  friend bool operator==(const LogStartRequest&, const LogStartRequest&) = default;
};

}  // namespace termika

Q_DECLARE_METATYPE(termika::LogStartRequest)
