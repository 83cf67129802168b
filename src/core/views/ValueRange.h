#pragma once

namespace termika {

enum class GraphKind { Temperature, Humidity };

// The value window of a graph in tenths of its unit, so grid steps of 0.1
// stay exact integers.
struct ValueRange {
  int bottomTenths = 0;
  int topTenths = 0;

  double bottom() const { return bottomTenths / 10.0; }
  double top() const { return topTenths / 10.0; }
  friend bool operator==(const ValueRange&, const ValueRange&) = default;
};

// Temperature is centre +/- half-span with no clamping.
ValueRange temperatureRange(int centre, int halfSpan);
// Humidity keeps the window inside 0..100 %RH: the centre moves first so the
// span survives, then both ends are cut.
ValueRange humidityRange(int centre, int halfSpan);

}  // namespace termika
