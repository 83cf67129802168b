#include "core/report/Summary.h"

#include <cmath>

#include "core/data/DayTime.h"
#include "core/report/MeanKineticTemperature.h"

namespace termika::report {

namespace {

ValueFigures figuresOf(const std::vector<Point>& points, double Point::*field) {
  ValueFigures f;
  const Point& front = points.front();
  f.minimum = f.maximum = {front.*field, front.time, 0};
  double sum = 0.0;
  for (int i = 0; i < static_cast<int>(points.size()); ++i) {
    const Point& p = points[static_cast<size_t>(i)];
    const double v = p.*field;
    if (v < f.minimum.value) f.minimum = {v, p.time, i};
    if (v > f.maximum.value) f.maximum = {v, p.time, i};
    sum += v;
  }
  const double n = static_cast<double>(points.size());
  f.mean = sum / n;
  // Two passes: the sum of squared deviations loses nothing to cancellation.
  double squares = 0.0;
  for (const Point& p : points) squares += (p.*field - f.mean) * (p.*field - f.mean);
  f.standardDeviation = std::sqrt(squares / n);
  return f;
}

std::optional<Side> sideOf(double temperature, const Limits& limits) {
  if (limits.upper && temperature > *limits.upper) return Side::Above;
  if (limits.lower && temperature < *limits.lower) return Side::Below;
  return std::nullopt;
}

double plusSeconds(double daySerial, std::int64_t seconds) {
  return secondsToDaySerial(daySerialToSeconds(daySerial) + seconds);
}

}  // namespace

std::optional<Summary> summarize(const Input& input) {
  const std::vector<Point>& points = input.points;
  if (points.empty()) return std::nullopt;
  Summary s;
  const std::int64_t interval = input.intervalSeconds;
  s.count = static_cast<int>(points.size());
  s.first = points.front().time;
  s.last = points.back().time;
  s.intervalSeconds = input.intervalSeconds;
  s.recordedSeconds = s.count * interval;
  s.temperature = figuresOf(points, &Point::temperature);
  s.humidity = figuresOf(points, &Point::humidity);
  s.activationEnergyKJPerMol = input.activationEnergyKJPerMol;
  s.meanKineticTemperature = meanKineticTemperature(points, input.activationEnergyKJPerMol);
  s.limits = input.limits;

  int open = -1;  // the excursion the previous reading belongs to
  for (int i = 0; i < s.count; ++i) {
    const Point& p = points[static_cast<size_t>(i)];
    if (i > 0 && p.block != points[static_cast<size_t>(i) - 1].block) {
      const double blockEnd = plusSeconds(points[static_cast<size_t>(i) - 1].time, interval);
      const std::int64_t pause = daySerialToSeconds(p.time) - daySerialToSeconds(blockEnd);
      s.gaps.push_back({blockEnd, p.time, pause > 0 ? pause : 0});
      open = -1;
    }
    const std::optional<Side> side = sideOf(p.temperature, input.limits);
    if (!side) {
      open = -1;
      continue;
    }
    (*side == Side::Above ? s.readingsAbove : s.readingsBelow) += 1;
    if (open < 0 || s.excursions[static_cast<size_t>(open)].side != *side) {
      s.excursions.push_back({*side, p.time, p.time, 0, 0, {p.temperature, p.time, i}});
      open = static_cast<int>(s.excursions.size()) - 1;
    }
    Excursion& e = s.excursions[static_cast<size_t>(open)];
    e.readings += 1;
    e.seconds = e.readings * interval;
    e.end = plusSeconds(e.start, e.seconds);
    const bool further =
        *side == Side::Above ? p.temperature > e.peak.value : p.temperature < e.peak.value;
    if (further) e.peak = {p.temperature, p.time, i};
  }
  s.blocks = static_cast<int>(s.gaps.size()) + 1;
  s.secondsAbove = s.readingsAbove * interval;
  s.secondsBelow = s.readingsBelow * interval;
  s.shareAbove = static_cast<double>(s.readingsAbove) / s.count;
  s.shareBelow = static_cast<double>(s.readingsBelow) / s.count;
  if (input.limits.any()) s.verdict = s.excursions.empty() ? Verdict::Pass : Verdict::Fail;
  return s;
}

}  // namespace termika::report
