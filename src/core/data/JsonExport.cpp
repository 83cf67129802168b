#include "core/data/JsonExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "core/base/Says.h"
#include "core/data/Formats.h"

namespace termika {

namespace {

QJsonValue limitValue(const DataSet& set, const AlarmSetting& alarm) {
  const bool alarms = set.Model == QLatin1String("QM120-RH");
  return alarms && alarm.Enabled != 0 ? QJsonValue(alarm.Limit) : QJsonValue(QJsonValue::Null);
}

}  // namespace

Result<QByteArray> JsonBytes(const DataSet& set, const std::vector<DataRecord>& records,
                             const QTimeZone& zone) {
  if (records.empty()) return Error{says("The data set holds no points to save.")};
  const QJsonObject header{
      {QStringLiteral("loggerName"), set.LoggerName},
      {QStringLiteral("model"), set.Model},
      {QStringLiteral("start"), fmt::isoLocalTime(records.front().DateTime, zone)},
      {QStringLiteral("end"), fmt::isoLocalTime(records.back().DateTime, zone)},
      {QStringLiteral("pointCount"), static_cast<qint64>(records.size())},
      {QStringLiteral("intervalSeconds"), set.Interval},
      {QStringLiteral("upperLimit"), limitValue(set, set.UpperAlarm)},
      {QStringLiteral("lowerLimit"), limitValue(set, set.LowerAlarm)},
      {QStringLiteral("temperatureUnit"), QStringLiteral("°C")},
      {QStringLiteral("humidityUnit"), QStringLiteral("%RH")},
  };
  QJsonArray points;
  int pointNo = 0;
  for (const DataRecord& r : records) {
    points.append(QJsonObject{
        {QStringLiteral("no"), ++pointNo},
        {QStringLiteral("time"), fmt::isoLocalTime(r.DateTime, zone)},
        {QStringLiteral("temperature"), fmt::measuredNumber(r.Temperature)},
        {QStringLiteral("humidity"), fmt::measuredNumber(r.Humidity)},
        {QStringLiteral("block"), static_cast<int>(std::lround(r.Segment))},
        {QStringLiteral("remarks"), unpaddedRemarks(r.Remarks)},
    });
  }
  return QJsonDocument(
             QJsonObject{{QStringLiteral("header"), header}, {QStringLiteral("points"), points}})
      .toJson(QJsonDocument::Indented);
}

}  // namespace termika
