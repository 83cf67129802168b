#pragma once

#include <QMetaType>
#include <QString>
#include <cstdint>
#include <optional>

namespace termika {

// The settings of a recording start, as the link turns them into commands.
struct LogStartRequest {
  struct Reservation {
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    friend bool operator==(const Reservation&, const Reservation&) = default;
  };
  static constexpr std::uint8_t kSeconds = 130;
  static constexpr std::uint8_t kMinutes = 131;

  QString Name;  // exactly four characters, padded on the left with blanks
  bool Loop = false;
  std::uint8_t IntervalUnit = kMinutes;  // 130 seconds, 131 minutes
  int IntervalValue = 60;                // in IntervalUnit
  int UpperLimit = 40;                   // whole °C
  bool UpperEnabled = false;
  int LowerLimit = 0;
  bool LowerEnabled = false;
  QString Model;
  std::optional<Reservation> ReservedStart;

  friend bool operator==(const LogStartRequest&, const LogStartRequest&) = default;
};

}  // namespace termika

Q_DECLARE_METATYPE(termika::LogStartRequest)
