#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <random>

#include "CsvFixture.h"
#include "core/data/Csv.h"
#include "core/data/DayTime.h"
#include "core/data/Export.h"
#include "core/data/SetRecords.h"

namespace termika {
namespace {

using testing::CsvTest;
using testing::englishFile;
using testing::japaneseFile;
using testing::kMay1;
using testing::sjis;

TEST_F(CsvTest, ReadsWindows31JAndUtf8WithOrWithoutBomAndSegmentsAfterLongerGaps) {
  const QString text = QStringLiteral(
      "\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\",\"\",\"\"\r\n"
      "\"ﾃｽﾄ\",\"2013/05/01\",\"1\",\"600\",\"\",\"\"\r\n"
      "\"記録番号\",\"日時\",\"温度\",\"湿度\",\"備考\"\r\n"
      "1,\"2013/05/01\",\"-.50\",\".50\",\"最高温度\"\n");  // a bare LF ending too
  QString crOnly = text;
  crOnly.replace(QStringLiteral("\r\n"), QStringLiteral("\r")).replace(u'\n', u'\r');
  for (const QByteArray& bytes :
       {sjis(text), text.toUtf8(), QByteArray("\xEF\xBB\xBF") + text.toUtf8(), sjis(crOnly)}) {
    const CsvReadResult read = parseCsv(bytes, m_ja);
    ASSERT_TRUE(read.ok()) << read.error.message.toStdString();
    EXPECT_EQ(read.content->model + read.content->loggerName, QStringLiteral("QM100-RHﾃｽﾄ"));
    ASSERT_EQ(read.content->records.size(), 1u);
    const DataRecord& r = read.content->records[0];
    EXPECT_EQ(std::pair(r.temperature, r.humidity), std::pair(-0.5f, 0.5f));
    EXPECT_EQ(r.remarks, QStringLiteral("最高温度") + QString(42, u' '));
  }
  // The program's own English file: plain ASCII but for the name in half-width
  // katakana, whose code-page bytes DB B6 DE B0 happen to be valid UTF-8 too.
  const CsvReadResult english =
      parseCsv(englishFile("\"\xDB\xB6\xDE\xB0\",\"2013/05/01\",\"0\",\"60\",\"\",\"\""), m_en);
  ASSERT_TRUE(english.ok()) << english.error.message.toStdString();
  EXPECT_EQ(english.content->loggerName, QStringLiteral("ﾛｶﾞｰ"));
  // A gap of 60 s stays in the run, 61 s starts a new one, going backwards does not; midnight is
  // the date alone.
  const CsvReadResult read =
      parseCsv(englishFile("\"A\",\"2013/05/01 10:00:00\",\"4\",\"60\",\"OFF\",\"20\"") +
                   "1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
                   "2,\"2013/05/01 10:01:00\",\"20.00\",\"50.00\",\"\"\r\n"
                   "3,\"2013/05/01 10:02:01\",\"20.00\",\"50.00\",\"\"\r\n"
                   "4,\"2013/05/01 10:03:01\",\"20.00\",\"50.00\",\"\"\r\n"
                   "5,\"2013/05/01 9:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
                   "6,\"2013/05/02\",\"20.00\",\"50.00\",\"\"\r\n",
               m_en);
  ASSERT_TRUE(read.ok()) << read.error.message.toStdString();
  const std::vector<float> segments = {1, 1, 2, 2, 2, 3};
  ASSERT_EQ(read.content->records.size(), segments.size());
  for (size_t i = 0; i < segments.size(); ++i)
    EXPECT_EQ(read.content->records[i].segment, segments[i]) << i;
  EXPECT_EQ(daySerialToSeconds(read.content->records[5].dateTime), kMay1 + 86400);
  EXPECT_EQ(std::tuple(read.content->upperAlarm.enabled, read.content->lowerAlarm.limit,
                       read.content->lowerAlarm.enabled),
            std::tuple(0, 20, 1));
  // An empty data part is a file without points, not an error.
  const CsvReadResult empty =
      parseCsv(englishFile("\"A\",\"2013/05/01\",\"0\",\"60\",\"\",\"\""), m_en);
  ASSERT_TRUE(empty.ok());
  EXPECT_TRUE(empty.content->records.empty() && empty.content->model == "QM120-RH");
}

TEST_F(CsvTest, BadFilesAreRejectedNamingTheLine) {
  const QByteArray good = englishFile("\"A\",\"2013/05/01\",\"2\",\"60\",\"OFF\",\"OFF\"");
  const QByteArray point = good + "1,\"2013/05/01\",\"20.00\",\"50.00\",\"\"\r\n";
  QByteArray garbage(4000, '\0');
  std::mt19937 random(3);
  for (char& c : garbage) c = static_cast<char>(random());
  // What is wrong, the bytes: a wrong header or not, and the line named.
  const std::tuple<const char*, QByteArray, bool, int> cases[] = {
      {"truncated line", point + "2,\"2013/05/01 0:01:00\",\"-.5", false, 5},
      {"too few items", point + "2,\"2013/05/01 0:01:00\",\"-.50\"\r\n", false, 5},
      {"too many items", good + "1,\"2013/05/01\",\"1\",\"1\",\"\",\"\"\r\n", false, 4},
      {"non-numeric", good + "1,\"2013/05/01\",\"abc\",\"50.00\",\"\"\r\n", false, 4},
      {"not finite", good + "1,\"2013/05/01\",\"nan\",\"50.00\",\"\"\r\n", false, 4},
      {"too hot", good + "1,\"2013/05/01\",\"100.01\",\"50.00\",\"\"\r\n", false, 4},
      {"negative humidity", good + "1,\"2013/05/01\",\"20\",\"-1\",\"\"\r\n", false, 4},
      {"no such date", point + "2,\"2013/02/30\",\"20\",\"50\",\"\"\r\n", false, 5},
      {"stray text", good + "1,\"2013/05/01\"x,\"20\",\"50\",\"\"\r\n", false, 4},
      {"line too long", point + QByteArray(5000, ' ') + "\r\n", false, 5},
      {"binary in data", point + QByteArray("1,\0,2,3,4\r\n", 11), false, 5},
      {"bad code page", good + "1,\"2013/05/01\",\"20\",\"50\",\"\x85\x40\"\r\n", false, 4},
      {"interval -1", englishFile("\"A\",\"2013/05/01\",\"2\",\"-1\",\"OFF\",\"OFF\""), false, 2},
      {"bad start", englishFile("\"A\",\"soon\",\"2\",\"60\",\"OFF\",\"OFF\""), false, 2},
      {"bad limit", englishFile("\"A\",\"2013/05/01\",\"2\",\"60\",\"hot\",\"OFF\""), false, 2},
      {"header values cut", englishFile("\"A\",\"2013/05/01\",\"2\""), false, 2},
      {"japanese header read in english", japaneseFile(""), true, 1},
      {"one alarm column", englishFile("").replace("\"Lower bound temperature setting\"", "\"\""),
       true, 1},
      {"empty file", QByteArray(), true, 0},
      {"binary garbage", garbage, true, 1},
  };
  for (const auto& [name, bytes, wrongHeader, line] : cases) {
    const CsvReadResult read = parseCsv(bytes, m_en);
    ASSERT_FALSE(read.ok()) << name;
    const bool named =
        line == 0 || read.error.message.startsWith(QStringLiteral("Line %1: ").arg(line));
    EXPECT_EQ(std::tuple(read.error.wrongHeader, read.error.line, named),
              std::tuple(wrongHeader, line, true))
        << name << ": " << read.error.message.toStdString();
  }
  // A million lines stop at the row limit.
  QByteArray bytes = good;
  for (int i = 0; i < 1000000; ++i) bytes += "1,\"2013/05/01\",\"20.00\",\"50.00\",\"\"\r\n";
  const CsvReadResult read = parseCsv(bytes, m_en);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(std::pair(read.error.wrongHeader, read.error.line), std::pair(false, 3 + 32767 + 1));
  EXPECT_TRUE(read.error.message.contains(QStringLiteral("32767")));
}

// A file as the program writes it in Windows-31J, with or without the alarm
// columns: a remark with a comma and quotes, one with a leading blank, a
// negative value, a pause of four minutes (a new block), midnight as the date.
QByteArray ownFile(bool alarms) {
  return sjis(
      (alarms ? QStringLiteral("\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\","
                               "\"上限温度設定\",\"下限温度設定\"\r\n\"ﾛｶﾞｰ\",\"2013/05/01\","
                               "\"4\",\"60\",\"OFF\",\"5\"\r\n\"記録番号\",\"日時\","
                               "\"温度\",\"湿度\",\"備考\"\r\n")
              : QStringLiteral("\"Recognition name\",\"Start time\",\"Recording points\","
                               "\"Record interval\",\"\",\"\"\r\n\"ﾛｶﾞｰ\",\"2013/05/01\","
                               "\"4\",\"60\",\"\",\"\"\r\n\"Record number\",\"Date\","
                               "\"Temperature\",\"Humidity\",\"Remarks\"\r\n")) +
      QStringLiteral("1,\"2013/05/01\",\"25.01\",\"59.83\",\"上限越 \"\r\n"
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

// Read back by the program's own reader, the UTF-8 file gives the same points, name, limits and
// remarks, whatever zone wrote its offsets; its items are spelled and quoted by the code that
// writes the program's own files. JSON holds the header and every point; files are written whole.
TEST_F(CsvTest, ExactBytesOfASmallFileAndExportsForOtherPrograms) {
  // Texts, alarm columns, zone: line 2 of the export and the second point's line.
  const std::tuple<const UiText*, bool, const char*, const char*, const char*> cases[] = {
      {&m_ja, true, "Asia/Tokyo", "\"ﾛｶﾞｰ\",2013-05-01T00:00:00+09:00,4,60,\"OFF\",5",
       "2,2013-05-01T00:01:00+09:00,-0.50,100.00,\"a, \"\"quoted\"\" remark\""},
      {&m_en, false, "America/St_Johns", "\"ﾛｶﾞｰ\",2013-05-01T00:00:00-02:30,4,60,\"\",\"\"",
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
  EXPECT_FALSE(utf8CsvBytes(DataSet{}, {}, m_ja, QTimeZone::utc()).ok());
  // JSON keys come out in alphabetical order once parsed and written compactly.
  const auto [own, set] = read(ownFile(true), m_ja);
  const QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.json"));
  ASSERT_TRUE(writeExportFile(path, exportFormatNamed(QStringLiteral("json")).value(), set,
                              own.records, m_ja, QTimeZone("Asia/Tokyo"))
                  .ok());
  const QJsonDocument doc = QJsonDocument::fromJson(testing::readAll(path));
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
  EXPECT_FALSE(exportBytes(ExportFormat::Json, DataSet{}, {}, m_ja, QTimeZone::utc()).ok());
  const QString nowhere = dir.filePath(QStringLiteral("missing/out.csv"));
  EXPECT_FALSE(
      writeExportFile(nowhere, ExportFormat::Utf8Csv, set, own.records, m_ja, QTimeZone::utc())
          .ok());
  EXPECT_FALSE(QFile::exists(nowhere));
  EXPECT_FALSE(exportFormatNamed(QStringLiteral("csv")));
  log().upperAlarm = {30, 6960, 0};   // off
  log().lowerAlarm = {5, 4473, 128};  // on at 5
  add(0, 25.005f, 59.83f, QStringLiteral("上限越 "));
  add(60, -0.5f, 100.0f);
  const Result<QByteArray> bytes = csvBytes(log(), logFile(), m_ja);
  ASSERT_TRUE(bytes.ok());
  EXPECT_EQ(*bytes, sjis(QStringLiteral("\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\","
                                        "\"上限温度設定\",\"下限温度設定\"\r\n"
                                        "\"R101\",\"2013/05/01\",\"2\",\"60\",\"OFF\",\"5\"\r\n"
                                        "\"記録番号\",\"日時\",\"温度\",\"湿度\",\"備考\"\r\n"
                                        "1,\"2013/05/01\",\"25.01\",\"59.83\",\"上限越 %1\"\r\n"
                                        "2,\"2013/05/01 0:01:00\",\"-.50\",\"100.00\",\"%2\"\r\n")
                             .arg(QString(43, u' '), QString(50, u' '))));
}

}  // namespace
}  // namespace termika
