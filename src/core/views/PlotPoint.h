#pragma once

#include <QtGlobal>
#include <cstdint>
#include <span>
#include <vector>

#include "core/data/DataRecord.h"
#include "core/data/RecordFile.h"

namespace termika {

// What the views need of one record: its time in whole seconds (so window
// arithmetic never loses seconds), its two values and its segment mark.
struct PlotPoint {
  qint64 time = 0;  // seconds since 1899-12-30
  float temperature = 0.0f;
  float humidity = 0.0f;
  float segment = 0.0f;
  std::int16_t recordNo = 0;

  friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

PlotPoint toPlotPoint(const DataRecord& record);

// Records 1..count of a set in one read; a short file yields fewer points.
std::vector<PlotPoint> loadPlotPoints(const RecordFile& file, int count);

// Number (1-based) of the last point whose time is <= t among points ordered
// by time, clamped to 1..count; 0 when there are no points.
int findRecordByTime(qint64 t, std::span<const PlotPoint> points);

}  // namespace termika
