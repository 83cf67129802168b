#include "core/data/JsonExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "core/base/Says.h"
#include "core/data/Formats.h"
#include "core/data/LoggerModel.h"

namespace termika {

namespace {

QJsonValue limitValue(const DataSet& set, const AlarmSetting& alarm) {
  return hasAlarms(set.model) && alarm.enabled != 0 ? QJsonValue(alarm.limit)
                                                    : QJsonValue(QJsonValue::Null);
}

}  // namespace

Result<QByteArray> jsonBytes(const DataSet& set, const std::vector<DataRecord>& records,
                             const QTimeZone& zone) {
  if (records.empty()) return Error{says("The data set holds no points to save.")};
  const QJsonObject header{
      {QStringLiteral("loggerName"), set.loggerName},
      {QStringLiteral("model"), set.model},
      {QStringLiteral("start"), fmt::isoLocalTime(records.front().dateTime, zone)},
      {QStringLiteral("end"), fmt::isoLocalTime(records.back().dateTime, zone)},
      {QStringLiteral("pointCount"), static_cast<qint64>(records.size())},
      {QStringLiteral("intervalSeconds"), set.interval},
      {QStringLiteral("upperLimit"), limitValue(set, set.upperAlarm)},
      {QStringLiteral("lowerLimit"), limitValue(set, set.lowerAlarm)},
      {QStringLiteral("temperatureUnit"), QStringLiteral("°C")},
      {QStringLiteral("humidityUnit"), QStringLiteral("%RH")},
  };
  QJsonArray points;
  int pointNo = 0;
  for (const DataRecord& r : records) {
    points.append(QJsonObject{
        {QStringLiteral("no"), ++pointNo},
        {QStringLiteral("time"), fmt::isoLocalTime(r.dateTime, zone)},
        {QStringLiteral("temperature"), fmt::measuredNumber(r.temperature)},
        {QStringLiteral("humidity"), fmt::measuredNumber(r.humidity)},
        {QStringLiteral("block"), static_cast<int>(std::lround(r.segment))},
        {QStringLiteral("remarks"), unpaddedRemarks(r.remarks)},
    });
  }
  return QJsonDocument(
             QJsonObject{{QStringLiteral("header"), header}, {QStringLiteral("points"), points}})
      .toJson(QJsonDocument::Indented);
}

}  // namespace termika
