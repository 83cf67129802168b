#include "core/report/ReportPoints.h"

#include <cmath>

#include "core/data/Formats.h"

namespace termika::report {

std::vector<Point> pointsFromRecords(const std::vector<DataRecord>& records) {
  std::vector<Point> points;
  points.reserve(records.size());
  for (const DataRecord& r : records) {
    points.push_back({r.dateTime, fmt::measuredNumber(r.temperature),
                      fmt::measuredNumber(r.humidity), static_cast<int>(std::lround(r.segment))});
  }
  return points;
}

}  // namespace termika::report
