#pragma once

#include <cstdint>

namespace termika {

// The command codes of the logger's protocol: byte b1 of every request and
// of its answer. One name for each code the program or the simulator uses.
enum class Opcode : std::uint8_t {
  ClockWriteMonthYear = 1,
  ClockWriteHourDay = 2,
  ClockWriteSecondMinute = 3,
  ClockReadMonthYear = 4,
  ClockReadHourDay = 5,
  ClockReadSecondMinute = 6,  // ends a clock read
  ReadMemory = 8,             // four bytes at an address: recording header, slow download
  StartRecording = 11,
  StopRecording = 12,  // also cancels a reservation
  ReadRecordingFlag = 15,
  ReadBatteryLow = 16,
  StartReservedRecording = 17,
  ReadHumidity = 21,
  ReadTemperature = 22,
  ReadRecordingInfo = 23,  // the item is chosen by b2 (RecordingInfo)
  SetResolution = 25,
  ReadState = 30,
  SetReservationDay = 31,
  SetReservationHour = 32,
  SetReservationMinute = 33,
  ReadReservationDay = 34,
  ReadReservationHour = 35,
  ReadReservationMinute = 36,
  ReadInterval = 37,
  ReadUsedMemory = 38,
  WriteNameFirstHalf = 40,
  WriteNameSecondHalf = 41,
  ReadNameFirstHalf = 42,
  ReadNameSecondHalf = 43,
  StreamMemory = 44,  // the logger streams the points without further requests
  WriteUpperAlarm = 45,
  WriteLowerAlarm = 46,
  ReadUpperAlarm = 47,
  ReadLowerAlarm = 48,
  SetRecordMode = 49,
  ReadRecordMode = 50,
  ReadBatteryVoltage = 51,
  MarkDownloaded = 56,
  ReadDownloadState = 57,
  // Answered by the logger; nothing in the program sends it and what it does
  // inside the logger is not known.
  Unnamed87 = 87,
  Identify = 99,  // the answer is the model name as text and two version bytes
};

constexpr std::uint8_t toByte(Opcode code) { return static_cast<std::uint8_t>(code); }

// The items of ReadRecordingInfo, chosen by b2.
enum class RecordingInfo : std::uint8_t {
  UsedMemory = 16,
  RecordedInterval = 18,  // unit and value
  StartYearMonth = 20,    // packed decimal
  StartDayHour = 22,
  StartMinuteSecond = 24,
};

constexpr std::uint8_t toByte(RecordingInfo item) { return static_cast<std::uint8_t>(item); }

// The unit byte of an interval, in the recording start and in the answers
// that report an interval.
enum class IntervalUnit : std::uint8_t { Seconds = 130, Minutes = 131 };

constexpr std::uint8_t toByte(IntervalUnit unit) { return static_cast<std::uint8_t>(unit); }

// An interval given as unit byte and value, in seconds; any unit byte other
// than the minutes one counts in seconds, as the logger's answers do.
constexpr int intervalSeconds(std::uint8_t unit, int value) {
  return unit == toByte(IntervalUnit::Minutes) ? value * 60 : value;
}

}  // namespace termika
