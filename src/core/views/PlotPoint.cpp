#include "core/views/PlotPoint.h"

#include "core/data/DayTime.h"

namespace termika {

PlotPoint toPlotPoint(const DataRecord& record) {
  return PlotPoint{daySerialToSeconds(record.dateTime), record.temperature, record.humidity,
                   record.segment, record.recordNo};
}

std::vector<PlotPoint> loadPlotPoints(const RecordFile& file, int count) {
  std::vector<PlotPoint> points;
  if (count < 1) return points;
  // One block read keeps a 15000-point redraw from seeking 15000 times.
  const std::vector<DataRecord> records = file.readRange(1, count);
  points.reserve(records.size());
  for (const DataRecord& r : records) points.push_back(toPlotPoint(r));
  return points;
}

int findRecordByTime(qint64 t, std::span<const PlotPoint> points) {
  const auto count = static_cast<int>(points.size());
  if (count == 0) return 0;
  // Invariant: every point before `lo` is <= t, every point from `hi` on is > t.
  int lo = 0;
  int hi = count;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (points[static_cast<size_t>(mid)].time <= t) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return std::max(lo, 1);
}

}  // namespace termika
