#include "core/print/PrintHeader.h"

#include "core/data/Formats.h"
#include "core/data/LoggerModel.h"

namespace termika {
namespace {

const QString kFullWidthBlank = QStringLiteral("\u3000");

QString limitText(const AlarmSetting& alarm, const UiText& texts) {
  if (alarm.enabled == 0) return QStringLiteral("OFF");
  return QStringLiteral("ON\u3000") + QString::number(alarm.limit) + texts[TextId::PrintDegrees];
}

QString extremeText(const std::optional<ExtremeLine>& line, const QString& unit) {
  if (!line) {
    return QStringLiteral("-----") + kFullWidthBlank + QStringLiteral("----/--/-- --:--:--") +
           kFullWidthBlank + QStringLiteral("--.--") + unit;
  }
  return fmt::pointNo(line->pointNo) + kFullWidthBlank + fmt::dateTime(line->time) +
         kFullWidthBlank +
         fmt::measuredValue(static_cast<float>(line->value), fmt::LeadingZero::Kept) + unit;
}

void appendExtremes(std::vector<HeaderLine>& lines, TextId title, const ExtremeLines& extremes,
                    const UiText& texts) {
  lines.push_back({texts[title], QString()});
  for (int entry = 0; entry < 4; ++entry) {
    const QString unit = entry < 2 ? texts[TextId::PrintDegrees] : texts[TextId::HumidityUnit];
    lines.push_back({texts.inRange(TextId::PrintMaximumTemperature, entry),
                     extremeText(extremes[static_cast<size_t>(entry)], unit)});
  }
}

}  // namespace

std::vector<HeaderLine> headerBlockLines(const PrintHeaderInput& in, const UiText& texts) {
  std::vector<HeaderLine> lines;
  lines.push_back({texts[TextId::PrintName], in.name});
  lines.push_back({texts[TextId::PrintStartTime], fmt::dateTime(in.startTime)});
  lines.push_back({texts[TextId::PrintRecordedPoints],
                   QString::number(in.count) + texts[TextId::PrintPointsUnit]});
  lines.push_back(
      {texts[TextId::PrintRecordInterval],
       fmt::interval(in.interval, texts[TextId::PrintMinutes], texts[TextId::PrintSeconds])});
  if (hasAlarms(in.model)) {
    lines.push_back({texts[TextId::PrintUpperLimit], limitText(in.upper, texts)});
    lines.push_back({texts[TextId::PrintLowerLimit], limitText(in.lower, texts)});
  }
  appendExtremes(lines, TextId::PrintAllRecords, in.all, texts);
  appendExtremes(lines, TextId::PrintSelectedRange, in.selected, texts);
  return lines;
}

ExtremeLines resolveExtremes(const Extremes& extremes, int count,
                             const std::function<std::optional<double>(int)>& timeOf) {
  ExtremeLines lines;
  for (size_t entry = 0; entry < extremes.entries.size(); ++entry) {
    const ExtremeEntry& e = extremes.entries[entry];
    const bool high = entry == Extremes::kHighTemperature || entry == Extremes::kHighHumidity;
    const bool reset = high ? e.value <= Extremes::kResetHigh : e.value >= Extremes::kResetLow;
    if (reset || e.pointNo < 1 || e.pointNo > count) continue;
    if (const std::optional<double> time = timeOf(e.pointNo)) {
      lines[entry] = ExtremeLine{e.pointNo, *time, e.value};
    }
  }
  return lines;
}

}  // namespace termika
