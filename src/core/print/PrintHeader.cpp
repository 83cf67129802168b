#include "core/print/PrintHeader.h"

#include "core/data/Formats.h"
#include "core/data/LoggerModel.h"

namespace termika {
namespace {

const QString kFullWidthBlank = QStringLiteral("\u3000");

QString limitText(const AlarmSetting& alarm, const UiText& texts) {
  if (alarm.Enabled == 0) return QStringLiteral("OFF");
  return QStringLiteral("ON\u3000") + QString::number(alarm.Limit) + texts.text(1122);
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

void appendExtremes(std::vector<HeaderLine>& lines, int title, const ExtremeLines& extremes,
                    const UiText& texts) {
  lines.push_back({texts.text(title), QString()});
  for (int entry = 0; entry < 4; ++entry) {
    const QString unit = entry < 2 ? texts.text(1122) : texts.text(1117);
    lines.push_back(
        {texts.text(1084 + entry), extremeText(extremes[static_cast<size_t>(entry)], unit)});
  }
}

}  // namespace

std::vector<HeaderLine> HeaderBlockLines(const PrintHeaderInput& in, const UiText& texts) {
  std::vector<HeaderLine> lines;
  lines.push_back({texts.text(1074), in.name});
  lines.push_back({texts.text(1075), fmt::dateTime(in.startTime)});
  lines.push_back({texts.text(1076), QString::number(in.count) + texts.text(1077)});
  lines.push_back(
      {texts.text(1080), fmt::interval(in.interval, texts.text(1078), texts.text(1079))});
  if (hasAlarms(in.model)) {
    lines.push_back({texts.text(1081), limitText(in.upper, texts)});
    lines.push_back({texts.text(1082), limitText(in.lower, texts)});
  }
  appendExtremes(lines, 1083, in.all, texts);
  appendExtremes(lines, 1088, in.selected, texts);
  return lines;
}

ExtremeLines ResolveExtremes(const Extremes& extremes, int count,
                             const std::function<std::optional<double>(int)>& timeOf) {
  ExtremeLines lines;
  for (size_t entry = 0; entry < extremes.entries.size(); ++entry) {
    const ExtremeEntry& e = extremes.entries[entry];
    const bool high = entry == Extremes::kHighTemperature || entry == Extremes::kHighHumidity;
    const bool reset = high ? e.Value <= Extremes::kResetHigh : e.Value >= Extremes::kResetLow;
    if (reset || e.PointNo < 1 || e.PointNo > count) continue;
    if (const std::optional<double> time = timeOf(e.PointNo)) {
      lines[entry] = ExtremeLine{e.PointNo, *time, e.Value};
    }
  }
  return lines;
}

}  // namespace termika
