#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "core/data/Csv.h"
#include "core/data/Export.h"

namespace termika {
namespace {

// A file as the program writes it in Windows-31J, with or without the alarm
// columns: a remark with a comma and quotes, one with a leading blank, a
// negative value, a pause of four minutes (a new block), midnight as the date.
QByteArray ownFile(bool alarms) {
  return QStringEncoder("windows-31j")
      .encode((alarms
                   ? QStringLiteral("\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\","
                                    "\"上限温度設定\",\"下限温度設定\"\r\n\"ﾛｶﾞｰ\",\"2013/05/01\","
                                    "\"4\",\"60\",\"OFF\",\"5\"\r\n\"記録番号\",\"日時\","
                                    "\"温度\",\"湿度\",\"備考\"\r\n")
                   : QStringLiteral("\"Recognition name\",\"Start time\",\"Recording points\","
                                    "\"Record interval\",\"\",\"\"\r\n\"ﾛｶﾞｰ\",\"2013/05/01\","
                                    "\"4\",\"60\",\"\",\"\"\r\n\"Record number\",\"Date\","
                                    "\"Temperature\",\"Humidity\",\"Remarks\"\r\n")) +
              QStringLiteral(
                  "1,\"2013/05/01\",\"25.01\",\"59.83\",\"上限越 \"\r\n"
                  "2,\"2013/05/01 0:01:00\",\"-.50\",\"100.00\",\"a, \"\"quoted\"\" remark\"\r\n"
                  "3,\"2013/05/01 0:05:00\",\".00\",\".50\",\"\"\r\n"
                  "4,\"2013/05/01 0:06:00\",\"-40.00\",\"33.33\",\" 最高温度 \"\r\n"));
}

// The content of a file and the set it describes.
std::pair<CsvContent, DataSet> read(const QByteArray& bytes, const UiText& texts) {
  const CsvReadResult read = parseCsv(bytes, texts);
  EXPECT_TRUE(read.ok()) << read.error.message.toStdString();
  std::pair<CsvContent, DataSet> out{read.content.value_or(CsvContent{}), {}};
  applyCsvContent(out.second, out.first);
  return out;
}

// Read back by the program's own reader, the UTF-8 file gives the same
// points, name, limits and remarks, whatever zone wrote its offsets. Its
// items are spelled and quoted by the code that writes the program's own
// files.
TEST(Export, Utf8CsvReadsBackToTheSamePoints) {
  const UiText ja = UiText::load(UiText::Language::Japanese);
  const UiText en = UiText::load(UiText::Language::English);
  // Texts, alarm columns, zone: line 2 of the export and the second point's line.
  const std::tuple<const UiText*, bool, const char*, const char*, const char*> cases[] = {
      {&ja, true, "Asia/Tokyo", "\"ﾛｶﾞｰ\",2013-05-01T00:00:00+09:00,4,60,\"OFF\",5",
       "2,2013-05-01T00:01:00+09:00,-0.50,100.00,\"a, \"\"quoted\"\" remark\""},
      {&en, false, "America/St_Johns", "\"ﾛｶﾞｰ\",2013-05-01T00:00:00-02:30,4,60,\"\",\"\"",
       "2,2013-05-01T00:01:00-02:30,-0.50,100.00,\"a, \"\"quoted\"\" remark\""}};
  for (const auto& [texts, alarms, zone, values, secondPoint] : cases) {
    SCOPED_TRACE(zone);
    auto [own, set] = read(ownFile(alarms), *texts);
    if (!alarms) set.upperAlarm = {30, 0, 128};  // a model without alarms writes none
    const auto bytes = exportBytes(exportFormatNamed(QStringLiteral("csv-utf8")).value(), set,
                                   own.records, *texts, QTimeZone(zone));
    ASSERT_TRUE(bytes.ok());
    ASSERT_TRUE(bytes->startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes->mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 8);  // three header lines, four points, the end
    EXPECT_EQ(lines[1] + u'\n' + lines[4], QString::fromUtf8(values) + u'\n' + secondPoint);
    // Written again from what was read back, the same bytes: name, start, limits alike.
    const auto [back, backSet] = read(*bytes, *texts);
    EXPECT_EQ(back.records, own.records);
    EXPECT_EQ(utf8CsvBytes(backSet, back.records, *texts, QTimeZone(zone)).value(), *bytes);
  }
  EXPECT_FALSE(utf8CsvBytes(DataSet{}, {}, ja, QTimeZone::utc()).ok());
}

// Keys come out in alphabetical order once parsed and written compactly.
TEST(Export, JsonHoldsTheHeaderAndEveryPointAndFilesAreWrittenWhole) {
  const UiText ja = UiText::load(UiText::Language::Japanese);
  const auto [own, set] = read(ownFile(true), ja);
  const QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.json"));
  ASSERT_TRUE(writeExportFile(path, exportFormatNamed(QStringLiteral("json")).value(), set,
                              own.records, ja, QTimeZone("Asia/Tokyo"))
                  .ok());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  EXPECT_EQ(QString::fromUtf8(doc.toJson(QJsonDocument::Compact)),
            QStringLiteral(
                R"({"header":{"end":"2013-05-01T00:06:00+09:00","humidityUnit":"%RH",)"
                R"("intervalSeconds":60,"loggerName":"ﾛｶﾞｰ","lowerLimit":5,"model":"QM120-RH",)"
                R"("pointCount":4,"start":"2013-05-01T00:00:00+09:00","temperatureUnit":"°C",)"
                R"("upperLimit":null},"points":[)"
                R"({"block":1,"humidity":59.83,"no":1,"remarks":"上限越","temperature":25.01,)"
                R"("time":"2013-05-01T00:00:00+09:00"},)"
                R"({"block":1,"humidity":100,"no":2,"remarks":"a, \"quoted\" remark",)"
                R"("temperature":-0.5,"time":"2013-05-01T00:01:00+09:00"},)"
                R"({"block":2,"humidity":0.5,"no":3,"remarks":"","temperature":0,)"
                R"("time":"2013-05-01T00:05:00+09:00"},)"
                R"({"block":2,"humidity":33.33,"no":4,"remarks":" 最高温度","temperature":-40,)"
                R"("time":"2013-05-01T00:06:00+09:00"}]})"));
  // No points, no folder to write to, or a format of another name: an error and no file.
  EXPECT_FALSE(exportBytes(ExportFormat::Json, DataSet{}, {}, ja, QTimeZone::utc()).ok());
  const QString nowhere = dir.filePath(QStringLiteral("missing/out.csv"));
  EXPECT_FALSE(
      writeExportFile(nowhere, ExportFormat::Utf8Csv, set, own.records, ja, QTimeZone::utc()).ok());
  EXPECT_FALSE(QFile::exists(nowhere));
  EXPECT_FALSE(exportFormatNamed(QStringLiteral("csv")));
}

}  // namespace
}  // namespace termika
