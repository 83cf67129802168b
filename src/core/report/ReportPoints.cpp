#include "core/report/ReportPoints.h"

#include <cmath>

#include "core/data/Formats.h"

namespace termika::report {

std::vector<Point> pointsFromRecords(const std::vector<DataRecord>& records) {
  std::vector<Point> points;
  points.reserve(records.size());
  for (const DataRecord& r : records) {
    points.push_back({r.DateTime, fmt::measuredNumber(r.Temperature),
                      fmt::measuredNumber(r.Humidity), static_cast<int>(std::lround(r.Segment))});
  }
  return points;
}

}  // namespace termika::report
