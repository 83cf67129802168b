#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <random>

#include "core/app/UiText.h"
#include "core/data/Csv.h"
#include "core/data/DayTime.h"
#include "core/data/Formats.h"

namespace termika {
namespace {

constexpr double kMay1 = 41395.0;  // 2013-05-01

QByteArray sjis(const QString& text) {
  QStringEncoder encoder("windows-31j");
  return encoder.encode(text);
}

double at(qint64 secondsAfterMay1) {
  return secondsToDaySerial(41395LL * 86400 + secondsAfterMay1);
}

class CsvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(m_file.open(m_dir.filePath(QStringLiteral("log.rand"))).ok());
    m_set.Interval = 60;
    m_set.LoggerName = QStringLiteral("R101");
  }

  void add(double time, float t, float h, const QString& remark = {}) {
    DataRecord r;
    r.DateTime = time;
    r.Temperature = t;
    r.Humidity = h;
    r.Segment = 1;
    r.Remarks = fitRemarks(remark);
    r.RecordNo = static_cast<std::int16_t>(++m_set.Count);
    ASSERT_TRUE(m_file.write(m_set.Count, r).ok());
  }

  QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

  QTemporaryDir m_dir;
  RecordFile m_file;
  DataSet m_set;
  UiText m_ja = UiText::load(UiText::Language::Japanese);
  UiText m_en = UiText::load(UiText::Language::English);
};

TEST_F(CsvTest, ExactBytesOfASmallFile) {
  m_set.Model = QStringLiteral("QM120-RH");
  m_set.UpperAlarm = {30, 6960, 0};   // off
  m_set.LowerAlarm = {5, 4473, 128};  // on at 5
  add(kMay1, 25.005f, 59.83f, QStringLiteral("上限越 "));
  add(at(60), -0.5f, 100.0f);
  const Result<QByteArray> bytes = CsvBytes(m_set, m_file, m_ja);
  ASSERT_TRUE(bytes.ok());
  const QString expected = QStringLiteral(
                               "\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\","
                               "\"上限温度設定\",\"下限温度設定\"\r\n"
                               "\"R101\",\"2013/05/01\",\"2\",\"60\",\"OFF\",\"5\"\r\n"
                               "\"記録番号\",\"日時\",\"温度\",\"湿度\",\"備考\"\r\n"
                               "1,\"2013/05/01\",\"25.01\",\"59.83\",\"上限越 %1\"\r\n"
                               "2,\"2013/05/01 0:01:00\",\"-.50\",\"100.00\",\"%2\"\r\n")
                               .arg(QString(43, u' '), QString(50, u' '));
  EXPECT_EQ(*bytes, sjis(expected));
  // 認 is 94 46 and 識 8E AF in the Windows code page.
  EXPECT_EQ(bytes->left(5), QByteArray("\"\x94\x46\x8E\xAF"));
}

TEST_F(CsvTest, ModelWithoutAlarmsWritesEmptyColumnsAndQuotesAreDoubled) {
  m_set.Model = QStringLiteral("QM100-RH");
  m_set.LoggerName = QStringLiteral("A\"B");
  m_set.UpperAlarm = {30, 0, 128};  // ignored for this model
  add(at(36000), 20.0f, 50.0f, QStringLiteral("say \"hi\""));
  const Result<QByteArray> bytes = CsvBytes(m_set, m_file, m_en);
  ASSERT_TRUE(bytes.ok());
  const QList<QByteArray> lines = bytes->split('\n');
  EXPECT_EQ(
      lines[0],
      "\"Recognition name\",\"Start time\",\"Recording points\",\"Record interval\",\"\",\"\"\r");
  EXPECT_EQ(lines[1], "\"A\"\"B\",\"2013/05/01 10:00:00\",\"1\",\"60\",\"\",\"\"\r");
  const CsvReadResult read = ParseCsv(*bytes, m_en);
  ASSERT_TRUE(read.ok()) << read.error.message.toStdString();
  EXPECT_EQ(read.content->LoggerName, QStringLiteral("A\"B"));
  EXPECT_EQ(read.content->Records[0].Remarks, QStringLiteral("say \"hi\"") + QString(42, u' '));
}

TEST_F(CsvTest, RoundTripOf15000Points) {
  m_set.Model = QStringLiteral("QM120-RH");
  m_set.UpperAlarm = {30, 0, 128};
  m_set.LowerAlarm = {-5, 0, 128};
  std::mt19937 random(7);
  std::uniform_int_distribution<int> temperature(-4000, 10000);
  std::uniform_int_distribution<int> humidity(0, 10000);
  qint64 seconds = 0;
  std::vector<int> expectedSegments;
  int segment = 1;
  for (int i = 0; i < 15000; ++i) {
    // Every 5000th point follows a pause: a new run starts there.
    const qint64 step = i == 0 ? 0 : (i % 5000 == 0 ? 3600 : 60);
    if (step > 60) ++segment;
    seconds += step;
    expectedSegments.push_back(segment);
    const QString remark = i % 7 == 0 ? QStringLiteral("下限越 ") : QString();
    add(at(seconds), static_cast<float>(temperature(random)) / 100.0f,
        static_cast<float>(humidity(random)) / 100.0f, remark);
  }
  ASSERT_TRUE(WriteCsvFile(path("big.csv"), m_set, m_file, m_ja).ok());
  const CsvReadResult read = ReadCsvFile(path("big.csv"), m_ja);
  ASSERT_TRUE(read.ok()) << read.error.message.toStdString();
  const CsvContent& c = *read.content;
  EXPECT_EQ(c.Model, "QM120-RH");
  EXPECT_EQ(c.LoggerName, "R101");
  EXPECT_EQ(c.Interval, 60);
  EXPECT_EQ(c.AnnouncedCount, 15000);
  EXPECT_EQ(c.UpperAlarm.Limit, 30);
  EXPECT_EQ(c.UpperAlarm.Enabled, 1);
  EXPECT_EQ(c.LowerAlarm.Limit, -5);
  EXPECT_EQ(daySerialToSeconds(c.StartTime), 41395LL * 86400);
  ASSERT_EQ(c.Records.size(), 15000u);
  const std::vector<DataRecord> original = m_file.readRange(1, 15000);
  for (size_t i = 0; i < original.size(); ++i) {
    const DataRecord& a = original[i];
    const DataRecord& b = c.Records[i];
    ASSERT_EQ(b.Temperature, a.Temperature) << i;
    ASSERT_EQ(b.Humidity, a.Humidity) << i;
    ASSERT_EQ(daySerialToSeconds(b.DateTime), daySerialToSeconds(a.DateTime)) << i;
    ASSERT_EQ(b.Remarks, a.Remarks) << i;
    ASSERT_EQ(b.RecordNo, static_cast<int>(i) + 1);
    ASSERT_EQ(b.Segment, static_cast<float>(expectedSegments[i])) << i;
    ASSERT_EQ(b.Raw, (std::array<std::uint8_t, 4>{}));
    ASSERT_EQ(b.Reserved, (std::array<std::uint8_t, 8>{}));
  }
}

QByteArray header(const UiText& texts, const QString& values) {
  return QStringLiteral(
             "\"%1\",\"%2\",\"%3\",\"%4\",\"%5\",\"%6\"\r\n%7\r\n\"%8\",\"%9\",\"x\",\"y\","
             "\"z\"\r\n")
      .arg(texts.text(1054), texts.text(1055), texts.text(1056), texts.text(1057), texts.text(1058),
           texts.text(1059), values, texts.text(1060), texts.text(1061))
      .toUtf8();
}

TEST_F(CsvTest, SegmentsStartAfterAGapLongerThanTheInterval) {
  const QByteArray file =
      header(m_en, QStringLiteral("\"A\",\"2013/05/01 10:00:00\",\"4\",\"60\",\"OFF\",\"20\"")) +
      "1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
      "2,\"2013/05/01 10:01:00\",\"20.00\",\"50.00\",\"\"\r\n"  // 60 s: same run
      "3,\"2013/05/01 10:02:01\",\"20.00\",\"50.00\",\"\"\r\n"  // 61 s: new run
      "4,\"2013/05/01 10:03:01\",\"20.00\",\"50.00\",\"\"\r\n"
      "5,\"2013/05/01 9:00:00\",\"20.00\",\"50.00\",\"\"\r\n"  // backwards: same run
      "6,\"2013/05/02\",\"20.00\",\"50.00\",\"\"\r\n";         // midnight, date alone
  const CsvReadResult read = ParseCsv(file, m_en);
  ASSERT_TRUE(read.ok()) << read.error.message.toStdString();
  const std::vector<float> segments = {1, 1, 2, 2, 2, 3};
  ASSERT_EQ(read.content->Records.size(), segments.size());
  for (size_t i = 0; i < segments.size(); ++i) {
    EXPECT_EQ(read.content->Records[i].Segment, segments[i]) << i;
  }
  EXPECT_EQ(daySerialToSeconds(read.content->Records[5].DateTime), 41396LL * 86400);
  EXPECT_EQ(read.content->UpperAlarm.Enabled, 0);
  EXPECT_EQ(read.content->LowerAlarm.Limit, 20);
  EXPECT_EQ(read.content->LowerAlarm.Enabled, 1);
  // An empty data part is a file without points, not an error.
  const CsvReadResult empty =
      ParseCsv(header(m_en, QStringLiteral("\"A\",\"2013/05/01\",\"0\",\"60\",\"\",\"\"")), m_en);
  ASSERT_TRUE(empty.ok());
  EXPECT_TRUE(empty.content->Records.empty());
  EXPECT_EQ(empty.content->Model, "QM120-RH");
}

TEST_F(CsvTest, ReadsWindows31JAndUtf8WithOrWithoutBom) {
  const QString text = QStringLiteral(
      "\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\",\"\",\"\"\r\n"
      "\"ﾃｽﾄ\",\"2013/05/01\",\"1\",\"600\",\"\",\"\"\r\n"
      "\"記録番号\",\"日時\",\"温度\",\"湿度\",\"備考\"\r\n"
      "1,\"2013/05/01\",\"-.50\",\".50\",\"最高温度\"\n");  // a bare LF ending too
  for (const QByteArray& bytes :
       {sjis(text), text.toUtf8(), QByteArray("\xEF\xBB\xBF") + text.toUtf8()}) {
    const CsvReadResult read = ParseCsv(bytes, m_ja);
    ASSERT_TRUE(read.ok()) << read.error.message.toStdString();
    EXPECT_EQ(read.content->Model, "QM100-RH");
    EXPECT_EQ(read.content->LoggerName, QStringLiteral("ﾃｽﾄ"));
    ASSERT_EQ(read.content->Records.size(), 1u);
    EXPECT_EQ(read.content->Records[0].Temperature, -0.5f);
    EXPECT_EQ(read.content->Records[0].Humidity, 0.5f);
    EXPECT_EQ(read.content->Records[0].Remarks, QStringLiteral("最高温度") + QString(42, u' '));
  }
}

TEST_F(CsvTest, BadFilesAreRejectedNamingTheLine) {
  const QByteArray good =
      header(m_en, QStringLiteral("\"A\",\"2013/05/01\",\"2\",\"60\",\"OFF\",\"OFF\""));
  const QByteArray point = "1,\"2013/05/01\",\"20.00\",\"50.00\",\"\"\r\n";
  struct Case {
    const char* name;
    QByteArray bytes;
    bool wrongHeader;
    int line;
  };
  QByteArray garbage(4000, '\0');
  std::mt19937 random(3);
  for (char& c : garbage) c = static_cast<char>(random());
  const Case cases[] = {
      {"truncated line", good + point + "2,\"2013/05/01 0:01:00\",\"-.5", false, 5},
      {"too few items", good + point + "2,\"2013/05/01 0:01:00\",\"-.50\"\r\n", false, 5},
      {"too many items", good + "1,\"2013/05/01\",\"1\",\"1\",\"\",\"\"\r\n", false, 4},
      {"non-numeric", good + "1,\"2013/05/01\",\"abc\",\"50.00\",\"\"\r\n", false, 4},
      {"not finite", good + "1,\"2013/05/01\",\"nan\",\"50.00\",\"\"\r\n", false, 4},
      {"huge", good + "1,\"2013/05/01\",\"" + QByteArray(400, '9') + "\",\"50\",\"\"\r\n", false,
       4},
      {"too hot", good + "1,\"2013/05/01\",\"100.01\",\"50.00\",\"\"\r\n", false, 4},
      {"negative humidity", good + "1,\"2013/05/01\",\"20\",\"-1\",\"\"\r\n", false, 4},
      {"no such date", good + point + "2,\"2013/02/30\",\"20\",\"50\",\"\"\r\n", false, 5},
      {"stray text", good + "1,\"2013/05/01\"x,\"20\",\"50\",\"\"\r\n", false, 4},
      {"line too long", good + point + QByteArray(5000, ' ') + "\r\n", false, 5},
      {"binary in data", good + point + QByteArray("1,\0,2,3,4\r\n", 11), false, 5},
      {"invalid code page text", good + "1,\"2013/05/01\",\"20\",\"50\",\"\x85\x40\"\r\n", false,
       4},
      {"zero interval",
       header(m_en, QStringLiteral("\"A\",\"2013/05/01\",\"2\",\"0\",\"OFF\",\"OFF\"")), false, 2},
      {"bad start", header(m_en, QStringLiteral("\"A\",\"soon\",\"2\",\"60\",\"OFF\",\"OFF\"")),
       false, 2},
      {"bad limit",
       header(m_en, QStringLiteral("\"A\",\"2013/05/01\",\"2\",\"60\",\"hot\",\"OFF\"")), false, 2},
      {"header values cut", header(m_en, QStringLiteral("\"A\",\"2013/05/01\",\"2\"")), false, 2},
      {"japanese header read in english",
       header(m_ja, QStringLiteral("\"A\",\"2013/05/01\",\"2\",\"60\",\"OFF\",\"OFF\"")), true, 1},
      {"one alarm column",
       QByteArray("\"Recognition name\",\"Start time\",\"Recording points\","
                  "\"Record interval\",\"Upper bound temperature setting\",\"\"\r\n"),
       true, 1},
      {"empty file", QByteArray(), true, 0},
      {"binary garbage", garbage, true, 1},
  };
  for (const Case& c : cases) {
    const CsvReadResult read = ParseCsv(c.bytes, m_en);
    ASSERT_FALSE(read.ok()) << c.name;
    EXPECT_EQ(read.error.wrongHeader, c.wrongHeader) << c.name;
    EXPECT_EQ(read.error.line, c.line) << c.name << ": " << read.error.message.toStdString();
    if (c.line > 0) {
      EXPECT_TRUE(read.error.message.startsWith(QStringLiteral("Line %1: ").arg(c.line)))
          << c.name << ": " << read.error.message.toStdString();
    }
  }
}

TEST_F(CsvTest, AMillionLinesStopAtTheRowLimit) {
  QByteArray bytes =
      header(m_en, QStringLiteral("\"A\",\"2013/05/01\",\"2\",\"60\",\"OFF\",\"OFF\""));
  const QByteArray point = "1,\"2013/05/01\",\"20.00\",\"50.00\",\"\"\r\n";
  bytes.reserve(bytes.size() + point.size() * 1000000);
  for (int i = 0; i < 1000000; ++i) bytes += point;
  const CsvReadResult read = ParseCsv(bytes, m_en);
  ASSERT_FALSE(read.ok());
  EXPECT_FALSE(read.error.wrongHeader);
  EXPECT_EQ(read.error.line, 3 + 32767 + 1);
  EXPECT_TRUE(read.error.message.contains(QStringLiteral("32767")));
}

TEST_F(CsvTest, EmptySetOrAnUnwritablePlaceWritesNothing) {
  EXPECT_FALSE(CsvBytes(m_set, m_file, m_ja).ok());
  EXPECT_FALSE(WriteCsvFile(path("empty.csv"), m_set, m_file, m_ja).ok());
  EXPECT_FALSE(QFile::exists(path("empty.csv")));
  add(kMay1, 20.0f, 50.0f);
  // A directory in the way: the final rename fails even for a privileged user.
  const QString blocked = path("blocked.csv");
  ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/inside")));
  EXPECT_FALSE(WriteCsvFile(blocked, m_set, m_file, m_ja).ok());
  EXPECT_TRUE(QFileInfo(blocked + QStringLiteral("/inside")).isDir());
  // A folder that does not exist.
  EXPECT_FALSE(WriteCsvFile(path("missing/x.csv"), m_set, m_file, m_ja).ok());
  EXPECT_FALSE(QFileInfo::exists(path("missing")));
}

}  // namespace
}  // namespace termika
