#include "core/report/ReportSheet.h"

#include "core/base/Says.h"
#include "core/data/Formats.h"

namespace termika::report {

namespace {

using Kind = SheetLine::Kind;

QString number(double value) { return QString::number(value, 'f', 2); }

QString shareText(double share) { return QString::number(share * 100.0, 'f', 2) + " %"; }

QString limitText(const std::optional<double>& limit) {
  return limit ? number(*limit) + QStringLiteral(" °C") : says("not checked");
}

void field(std::vector<SheetLine>& lines, const QString& label, const QString& value) {
  lines.push_back({Kind::Field, {label, value}});
}

void header(std::vector<SheetLine>& lines, const Summary& s, const Source& source) {
  field(lines, says("Logger"), (source.model + QLatin1Char(' ') + source.loggerName).trimmed());
  field(lines, says("Source"), source.origin);
  field(lines, says("First reading"), fmt::dateTime(s.first));
  field(lines, says("Last reading"), fmt::dateTime(s.last));
  field(lines, says("Interval"),
        s.intervalSeconds > 0 ? says("%1 s").arg(s.intervalSeconds) : says("single measurements"));
  field(lines, says("Readings"), says("%1 in %2 block(s)").arg(s.count).arg(s.blocks));
  field(lines, says("Recorded time"), durationText(s.recordedSeconds));
}

// Quantities in rows and figures in columns, each time under its value, so
// the table stays within the page's width.
void statistics(std::vector<SheetLine>& lines, const Summary& s) {
  lines.push_back({Kind::Heading, {says("Statistics")}});
  lines.push_back({Kind::TableHeading,
                   {QString(), says("Minimum"), says("Maximum"), says("Mean"), says("Std. dev.")}});
  const std::pair<QString, const ValueFigures*> rows[] = {
      {says("Temperature (°C)"), &s.temperature}, {says("Humidity (%RH)"), &s.humidity}};
  for (const auto& [name, f] : rows) {
    lines.push_back({Kind::TableRow,
                     {name, number(f->minimum.value), number(f->maximum.value), number(f->mean),
                      number(f->standardDeviation)}});
    lines.push_back(
        {Kind::TableRow,
         {says("  at"), fmt::dateTime(f->minimum.time), fmt::dateTime(f->maximum.time)}});
  }
  field(lines, says("Mean kinetic temperature"),
        s.meanKineticTemperature ? says("%1 °C (activation energy %2 kJ/mol)")
                                       .arg(number(*s.meanKineticTemperature))
                                       .arg(QString::number(s.activationEnergyKJPerMol, 'g', 8))
                                 : QStringLiteral("-"));
}

void limits(std::vector<SheetLine>& lines, const Summary& s) {
  lines.push_back({Kind::Heading, {says("Limits")}});
  field(lines, says("Upper limit"), limitText(s.limits.upper));
  field(lines, says("Lower limit"), limitText(s.limits.lower));
  if (!s.limits.any()) return;
  field(lines, says("Time above the upper limit"),
        says("%1 (%2 of the recording, %3 reading(s))")
            .arg(durationText(s.secondsAbove), shareText(s.shareAbove))
            .arg(s.readingsAbove));
  field(lines, says("Time below the lower limit"),
        says("%1 (%2 of the recording, %3 reading(s))")
            .arg(durationText(s.secondsBelow), shareText(s.shareBelow))
            .arg(s.readingsBelow));
}

void excursions(std::vector<SheetLine>& lines, const Summary& s) {
  if (!s.limits.any()) return;
  lines.push_back({Kind::Heading, {says("Excursions: %1").arg(s.excursions.size())}});
  if (s.excursions.empty()) return;
  lines.push_back({Kind::TableHeading,
                   {says("No."), says("Start"), says("End"), says("Duration"), says("Peak (°C)")}});
  int n = 0;
  for (const Excursion& e : s.excursions) {
    const QString side = e.side == Side::Above ? says("above") : says("below");
    lines.push_back({Kind::TableRow,
                     {QString::number(++n) + QLatin1Char(' ') + side, fmt::dateTime(e.start),
                      fmt::dateTime(e.end), durationText(e.seconds), number(e.peak.value)}});
  }
}

void gaps(std::vector<SheetLine>& lines, const Summary& s) {
  lines.push_back({Kind::Heading, {says("Gaps between blocks: %1").arg(s.gaps.size())}});
  if (s.gaps.empty()) return;
  lines.push_back({Kind::TableHeading, {says("No."), says("From"), says("To"), says("Duration")}});
  int n = 0;
  for (const Gap& g : s.gaps) {
    lines.push_back({Kind::TableRow,
                     {QString::number(++n), fmt::dateTime(g.start), fmt::dateTime(g.end),
                      durationText(g.seconds)}});
  }
}

QString verdictText(const Summary& s) {
  switch (s.verdict) {
    case Verdict::Pass:
      return says("PASS: every reading within the limits");
    case Verdict::Fail:
      return says("FAIL: %1 excursion(s) beyond the limits").arg(s.excursions.size());
    case Verdict::NoLimits:
      break;
  }
  return says("No limits set: no verdict");
}

}  // namespace

QString durationText(std::int64_t seconds) {
  const std::int64_t hours = seconds / 3600;
  return QStringLiteral("%1:%2:%3")
      .arg(hours)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::vector<SheetLine> summarySheet(const Summary& summary, const Source& source) {
  std::vector<SheetLine> lines;
  lines.push_back({Kind::Title, {says("Recording report")}});
  // The verdict comes first and again at the end: it is what an auditor looks for.
  lines.push_back({Kind::Verdict, {verdictText(summary)}});
  lines.push_back({Kind::Blank, {}});
  header(lines, summary, source);
  statistics(lines, summary);
  limits(lines, summary);
  excursions(lines, summary);
  gaps(lines, summary);
  lines.push_back({Kind::Blank, {}});
  lines.push_back({Kind::Verdict, {verdictText(summary)}});
  return lines;
}

}  // namespace termika::report
