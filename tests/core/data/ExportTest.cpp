#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>

#include "core/data/Csv.h"
#include "core/data/JsonExport.h"

namespace termika {
namespace {

// A file as the program writes it in Windows-31J: a remark with a comma and
// quotes, one with a leading blank, a negative value, a pause of four minutes
// (a new block) and midnight as the date alone.
QByteArray ownFile(const UiText& texts, bool alarms) {
  const auto line = [&texts, alarms](int first, int last) {
    QStringList items;
    for (int title = first; title <= last; ++title)
      items << QStringLiteral("\"%1\"").arg(
          alarms || title < 1058 || title > 1059 ? texts.text(title) : QString());
    return items.join(u',') + QStringLiteral("\r\n");
  };
  const QString text =
      line(1054, 1059) + QStringLiteral("\"ﾛｶﾞｰ\",\"2013/05/01\",\"4\",\"60\"") +
      (alarms ? QStringLiteral(",\"OFF\",\"5\"\r\n") : QStringLiteral(",\"\",\"\"\r\n")) +
      line(1060, 1064) +
      QStringLiteral(
          "1,\"2013/05/01\",\"25.01\",\"59.83\",\"上限越 \"\r\n"
          "2,\"2013/05/01 0:01:00\",\"-.50\",\"100.00\",\"a, \"\"quoted\"\" remark\"\r\n"
          "3,\"2013/05/01 0:05:00\",\".00\",\".50\",\"\"\r\n"
          "4,\"2013/05/01 0:06:00\",\"-40.00\",\"33.33\",\" 最高温度 \"\r\n");
  return QStringEncoder("windows-31j").encode(text);
}

struct Exported {
  CsvContent content;
  DataSet set;
};

Exported readOwnFile(const UiText& texts, bool alarms) {
  const CsvReadResult read = ParseCsv(ownFile(texts, alarms), texts);
  EXPECT_TRUE(read.ok()) << read.error.message.toStdString();
  Exported e{read.content.value_or(CsvContent{}), {}};
  ApplyCsvContent(e.set, e.content);
  return e;
}

// Read back by the program's own reader, the UTF-8 file gives the same
// points, name, limits and remarks, whatever zone wrote its offsets.
TEST(Export, Utf8CsvReadsBackToTheSamePoints) {
  const UiText ja = UiText::load(UiText::Language::Japanese);
  const UiText en = UiText::load(UiText::Language::English);
  const struct {
    const UiText& texts;
    bool alarms;
    const char* zone;
    const char* values;  // line 2 of the export
    const char* secondPoint;
  } cases[] = {{ja, true, "Asia/Tokyo", "\"ﾛｶﾞｰ\",2013-05-01T00:00:00+09:00,4,60,\"OFF\",5",
                "2,2013-05-01T00:01:00+09:00,-0.50,100.00,\"a, \"\"quoted\"\" remark\""},
               {en, false, "America/St_Johns", "\"ﾛｶﾞｰ\",2013-05-01T00:00:00-02:30,4,60,\"\",\"\"",
                "2,2013-05-01T00:01:00-02:30,-0.50,100.00,\"a, \"\"quoted\"\" remark\""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.zone);
    const Exported own = readOwnFile(c.texts, c.alarms);
    ASSERT_EQ(own.content.Records.size(), 4u);
    const Result<QByteArray> bytes =
        Utf8CsvBytes(own.set, own.content.Records, c.texts, QTimeZone(c.zone));
    ASSERT_TRUE(bytes.ok());
    ASSERT_TRUE(bytes->startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes->mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 8);  // three header lines, four points, the end
    EXPECT_EQ(lines[1], QString::fromUtf8(c.values));
    EXPECT_EQ(lines[4], QString::fromUtf8(c.secondPoint));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral(",25.01,59.83,\"上限越\"")))
        << lines[3].toStdString();

    const CsvReadResult back = ParseCsv(*bytes, c.texts);
    ASSERT_TRUE(back.ok()) << back.error.message.toStdString();
    EXPECT_EQ(back.content->Records, own.content.Records);
    EXPECT_EQ(back.content->LoggerName, QStringLiteral("ﾛｶﾞｰ"));
    EXPECT_EQ(back.content->Model, own.content.Model);
    EXPECT_EQ(back.content->UpperAlarm, own.content.UpperAlarm);
    EXPECT_EQ(back.content->LowerAlarm, own.content.LowerAlarm);
    EXPECT_EQ(back.content->StartTime, own.content.StartTime);
    EXPECT_EQ(back.content->Interval, 60);
  }
  EXPECT_FALSE(Utf8CsvBytes(DataSet{}, {}, ja, QTimeZone::utc()).ok());
}

TEST(Export, JsonHoldsTheHeaderAndEveryPoint) {
  const UiText ja = UiText::load(UiText::Language::Japanese);
  const Exported own = readOwnFile(ja, true);
  const Result<QByteArray> bytes = JsonBytes(own.set, own.content.Records, QTimeZone("Asia/Tokyo"));
  ASSERT_TRUE(bytes.ok());
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(*bytes, &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  const QJsonObject header = doc[QLatin1String("header")].toObject();
  const QJsonObject expectedHeader{{"loggerName", QStringLiteral("ﾛｶﾞｰ")},
                                   {"model", "QM120-RH"},
                                   {"start", "2013-05-01T00:00:00+09:00"},
                                   {"end", "2013-05-01T00:06:00+09:00"},
                                   {"pointCount", 4},
                                   {"intervalSeconds", 60},
                                   {"upperLimit", QJsonValue::Null},
                                   {"lowerLimit", 5},
                                   {"temperatureUnit", QStringLiteral("°C")},
                                   {"humidityUnit", "%RH"}};
  EXPECT_EQ(header, expectedHeader) << QJsonDocument(header).toJson().toStdString();
  const QJsonArray points = doc[QLatin1String("points")].toArray();
  ASSERT_EQ(points.size(), 4);
  const struct {
    const char* time;
    double temperature, humidity;
    int block;
    QString remarks;
  } expected[] = {
      {"2013-05-01T00:00:00+09:00", 25.01, 59.83, 1, QStringLiteral("上限越")},
      {"2013-05-01T00:01:00+09:00", -0.5, 100.0, 1, QStringLiteral("a, \"quoted\" remark")},
      {"2013-05-01T00:05:00+09:00", 0.0, 0.5, 2, QString()},
      {"2013-05-01T00:06:00+09:00", -40.0, 33.33, 2, QStringLiteral(" 最高温度")}};
  for (int i = 0; i < 4; ++i) {
    const QJsonObject p = points[i].toObject();
    const auto& x = expected[i];
    EXPECT_EQ(p[QLatin1String("no")].toInt(), i + 1);
    EXPECT_EQ(p[QLatin1String("time")].toString(), QLatin1String(x.time)) << i;
    EXPECT_EQ(p[QLatin1String("temperature")].toDouble(), x.temperature) << i;
    EXPECT_EQ(p[QLatin1String("humidity")].toDouble(), x.humidity) << i;
    EXPECT_EQ(p[QLatin1String("block")].toInt(), x.block) << i;
    EXPECT_EQ(p[QLatin1String("remarks")].toString(), x.remarks) << i;
  }
  EXPECT_FALSE(JsonBytes(DataSet{}, {}, QTimeZone::utc()).ok());
}

}  // namespace
}  // namespace termika
