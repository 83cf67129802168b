#include "core/print/PrintHeader.h"

#include "core/data/Formats.h"
#include "core/data/LoggerModel.h"

namespace termika {
namespace {

const QString kFullWidthBlank = QStringLiteral("\u3000");

QString limitText(const AlarmSetting& alarm, const UiText& texts) {
  if (alarm.enabled == 0) return QStringLiteral("OFF");
  return QStringLiteral("ON\u3000") + QString::number(alarm.limit) + texts.text(1122);
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

std::vector<HeaderLine> headerBlockLines(const PrintHeaderInput& in, const UiText& texts) {
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
