#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <random>

#include "ScriptedPrompts.h"
#include "core/data/Csv.h"
#include "core/data/CsvActions.h"
#include "core/data/DayTime.h"
#include "core/data/SetRecords.h"

namespace termika {
namespace {

using testing::ScriptedPrompts;
using Kind = ScriptedPrompts::Kind;

constexpr qint64 kMay1 = 41395LL * 86400;  // 2013-05-01 in seconds since 1899-12-30

QByteArray sjis(const QString& text) { return QStringEncoder("windows-31j").encode(text); }

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The three column-name lines of an English file around the given values line.
QByteArray englishFile(const char* values) {
  return QByteArray(
             "\"Recognition name\",\"Start time\",\"Recording points\",\"Record interval\","
             "\"Upper bound temperature setting\",\"Lower bound temperature setting\"\r\n") +
         values + "\r\n\"Record number\",\"Date\",\"x\",\"y\",\"z\"\r\n";
}

// A file as a Japanese system writes it, in its code page.
QByteArray japaneseFile(const QByteArray& dataLines) {
  return sjis(QStringLiteral("\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\","
                             "\"上限温度設定\",\"下限温度設定\"\r\n"
                             "\"ﾛｶﾞｰ\",\"2013/05/01 10:00:00\",\"3\",\"60\",\"OFF\",\"5\"\r\n"
                             "\"記録番号\",\"日時\",\"温度\",\"湿度\",\"備考\"\r\n") +
              QString::fromLatin1(dataLines));
}

class CsvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_state.file(kRealTimeSet).open(path("real.rand")).ok());
    ASSERT_TRUE(m_state.file(kLogSet).open(path("log.rand")).ok());
    ASSERT_TRUE(m_state.file(kFileSet).open(path("read.rand")).ok());
    m_state.ModelName = QStringLiteral("QM120-RH");
    log().Interval = 60;
    log().LoggerName = QStringLiteral("R101");
    log().Model = QStringLiteral("QM120-RH");
  }

  DataSet& log() { return m_state.set(kLogSet); }
  RecordFile& logFile() { return m_state.file(kLogSet); }

  void add(qint64 secondsAfterMay1, float t, float h, const QString& remark = {}) {
    DataRecord r;
    r.DateTime = secondsToDaySerial(kMay1 + secondsAfterMay1);
    r.Temperature = t;
    r.Humidity = h;
    r.Segment = 1;
    r.Remarks = fitRemarks(remark);
    r.RecordNo = static_cast<std::int16_t>(++log().Count);
    ASSERT_TRUE(logFile().write(log().Count, r).ok());
  }

  QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
  void writeFile(const char* name, const QByteArray& bytes) {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  QTemporaryDir m_dir;
  AppState m_state;
  ScriptedPrompts m_prompts;
  const UiText& m_ja = m_state.Texts;
  UiText m_en = UiText::load(UiText::Language::English);
};

// 認 is 94 46 and 識 8E AF in the Windows code page.
TEST_F(CsvTest, ExactBytesOfASmallFile) {
  log().UpperAlarm = {30, 6960, 0};   // off
  log().LowerAlarm = {5, 4473, 128};  // on at 5
  add(0, 25.005f, 59.83f, QStringLiteral("上限越 "));
  add(60, -0.5f, 100.0f);
  const Result<QByteArray> bytes = CsvBytes(log(), logFile(), m_ja);
  ASSERT_TRUE(bytes.ok());
  EXPECT_EQ(*bytes, sjis(QStringLiteral("\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\","
                                        "\"上限温度設定\",\"下限温度設定\"\r\n"
                                        "\"R101\",\"2013/05/01\",\"2\",\"60\",\"OFF\",\"5\"\r\n"
                                        "\"記録番号\",\"日時\",\"温度\",\"湿度\",\"備考\"\r\n"
                                        "1,\"2013/05/01\",\"25.01\",\"59.83\",\"上限越 %1\"\r\n"
                                        "2,\"2013/05/01 0:01:00\",\"-.50\",\"100.00\",\"%2\"\r\n")
                             .arg(QString(43, u' '), QString(50, u' '))));
  EXPECT_EQ(bytes->left(5), QByteArray("\"\x94\x46\x8E\xAF"));
}

// Whatever the program saves it opens again: the log set (15000 points in
// three runs), a real-time series and single measurements (saved with
// interval 0), each reopened into the file set.
TEST_F(CsvTest, EverySetTheProgramSavesOpensAgain) {
  const struct {
    int set;
    const char* model;
    int interval, points;
  } cases[] = {{kLogSet, "QM120-RH", 60, 15000},
               {kRealTimeSet, "QM100-RH", 2, 40},
               {kRealTimeSet, "QM120-RH", 0, 3}};
  std::mt19937 random(7);
  std::uniform_int_distribution<int> temperature(-4000, 10000), humidity(0, 10000);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.interval);
    DataSet& set = m_state.set(c.set);
    set = DataSet{};
    set.Model = QString::fromLatin1(c.model);
    set.Interval = c.interval;
    set.LoggerName = QStringLiteral("ﾃｽﾄ");
    set.UpperAlarm = {30, 0, 128};
    EXPECT_FALSE(CsvBytes(set, m_state.file(c.set), m_ja).ok());  // nothing to save
    qint64 seconds = 0;
    for (int i = 0; i < c.points; ++i) {
      // Every 5000th point follows an hour's pause: a new run starts there.
      seconds += i == 0 ? 0 : (i % 5000 == 0 ? 3600 : c.interval);
      DataRecord r;
      r.DateTime = secondsToDaySerial(kMay1 + seconds);
      r.Temperature = static_cast<float>(temperature(random)) / 100.0f;
      r.Humidity = static_cast<float>(humidity(random)) / 100.0f;
      r.Remarks = fitRemarks(i % 7 == 0 ? QStringLiteral("下限越 ") : QString());
      ASSERT_TRUE(AppendRecord(set, m_state.file(c.set), r).ok());
    }
    ASSERT_TRUE(WriteCsvFile(path("set.csv"), set, m_state.file(c.set), m_ja).ok());
    ScriptedPrompts prompts;
    ASSERT_TRUE(OpenCsvIntoFileSet(m_state, prompts, path("set.csv")));
    const DataSet& read = m_state.set(kFileSet);
    EXPECT_EQ(read.Model, set.Model);
    EXPECT_EQ(m_state.FileSetName, QStringLiteral("ﾃｽﾄ"));
    EXPECT_EQ(read.Interval, c.interval);
    EXPECT_EQ(read.AnnouncedCount, c.points);
    EXPECT_EQ(read.UpperAlarm.Limit, set.Model == QStringLiteral("QM120-RH") ? 30 : 0);
    EXPECT_EQ(daySerialToSeconds(read.AnnouncedStart), kMay1);
    ASSERT_EQ(read.Count, c.points);
    const std::vector<DataRecord> original = m_state.file(c.set).readRange(1, c.points);
    const std::vector<DataRecord> back = m_state.file(kFileSet).readRange(1, c.points);
    for (size_t i = 0; i < original.size(); ++i) {
      const DataRecord &a = original[i], &b = back[i];
      ASSERT_EQ(b.Temperature, a.Temperature) << i;
      ASSERT_EQ(b.Humidity, a.Humidity) << i;
      ASSERT_EQ(daySerialToSeconds(b.DateTime), daySerialToSeconds(a.DateTime)) << i;
      ASSERT_EQ(b.Remarks, a.Remarks) << i;
      ASSERT_EQ(b.RecordNo, static_cast<int>(i) + 1);
      ASSERT_EQ(b.Segment, static_cast<float>(1 + i / 5000)) << i;
      ASSERT_EQ(b.Raw, (std::array<std::uint8_t, 4>{}));
    }
  }
}

// A gap of 60 s stays in the run, 61 s starts a new one, going backwards does not; midnight is
// the date alone.
TEST_F(CsvTest, SegmentsStartAfterAGapLongerThanTheInterval) {
  const CsvReadResult read =
      ParseCsv(englishFile("\"A\",\"2013/05/01 10:00:00\",\"4\",\"60\",\"OFF\",\"20\"") +
                   "1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
                   "2,\"2013/05/01 10:01:00\",\"20.00\",\"50.00\",\"\"\r\n"
                   "3,\"2013/05/01 10:02:01\",\"20.00\",\"50.00\",\"\"\r\n"
                   "4,\"2013/05/01 10:03:01\",\"20.00\",\"50.00\",\"\"\r\n"
                   "5,\"2013/05/01 9:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
                   "6,\"2013/05/02\",\"20.00\",\"50.00\",\"\"\r\n",
               m_en);
  ASSERT_TRUE(read.ok()) << read.error.message.toStdString();
  const std::vector<float> segments = {1, 1, 2, 2, 2, 3};
  ASSERT_EQ(read.content->Records.size(), segments.size());
  for (size_t i = 0; i < segments.size(); ++i)
    EXPECT_EQ(read.content->Records[i].Segment, segments[i]) << i;
  EXPECT_EQ(daySerialToSeconds(read.content->Records[5].DateTime), kMay1 + 86400);
  EXPECT_EQ(read.content->UpperAlarm.Enabled, 0);
  EXPECT_EQ(read.content->LowerAlarm.Limit, 20);
  EXPECT_EQ(read.content->LowerAlarm.Enabled, 1);
  // An empty data part is a file without points, not an error.
  const CsvReadResult empty =
      ParseCsv(englishFile("\"A\",\"2013/05/01\",\"0\",\"60\",\"\",\"\""), m_en);
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
  QString crOnly = text;
  crOnly.replace(QStringLiteral("\r\n"), QStringLiteral("\r")).replace(u'\n', u'\r');
  for (const QByteArray& bytes :
       {sjis(text), text.toUtf8(), QByteArray("\xEF\xBB\xBF") + text.toUtf8(), sjis(crOnly)}) {
    const CsvReadResult read = ParseCsv(bytes, m_ja);
    ASSERT_TRUE(read.ok()) << read.error.message.toStdString();
    EXPECT_EQ(read.content->Model, "QM100-RH");
    EXPECT_EQ(read.content->LoggerName, QStringLiteral("ﾃｽﾄ"));
    ASSERT_EQ(read.content->Records.size(), 1u);
    EXPECT_EQ(read.content->Records[0].Temperature, -0.5f);
    EXPECT_EQ(read.content->Records[0].Humidity, 0.5f);
    EXPECT_EQ(read.content->Records[0].Remarks, QStringLiteral("最高温度") + QString(42, u' '));
  }
  // The program's own English file: plain ASCII but for the name in half-width
  // katakana, whose code-page bytes DB B6 DE B0 happen to be valid UTF-8 too.
  const CsvReadResult english =
      ParseCsv(englishFile("\"\xDB\xB6\xDE\xB0\",\"2013/05/01\",\"0\",\"60\",\"\",\"\""), m_en);
  ASSERT_TRUE(english.ok()) << english.error.message.toStdString();
  EXPECT_EQ(english.content->LoggerName, QStringLiteral("ﾛｶﾞｰ"));
}

TEST_F(CsvTest, BadFilesAreRejectedNamingTheLine) {
  const QByteArray good = englishFile("\"A\",\"2013/05/01\",\"2\",\"60\",\"OFF\",\"OFF\"");
  const QByteArray point = good + "1,\"2013/05/01\",\"20.00\",\"50.00\",\"\"\r\n";
  QByteArray garbage(4000, '\0');
  std::mt19937 random(3);
  for (char& c : garbage) c = static_cast<char>(random());
  const struct {
    const char* name;
    QByteArray bytes;
    bool wrongHeader;
    int line;
  } cases[] = {
      {"truncated line", point + "2,\"2013/05/01 0:01:00\",\"-.5", false, 5},
      {"too few items", point + "2,\"2013/05/01 0:01:00\",\"-.50\"\r\n", false, 5},
      {"too many items", good + "1,\"2013/05/01\",\"1\",\"1\",\"\",\"\"\r\n", false, 4},
      {"non-numeric", good + "1,\"2013/05/01\",\"abc\",\"50.00\",\"\"\r\n", false, 4},
      {"not finite", good + "1,\"2013/05/01\",\"nan\",\"50.00\",\"\"\r\n", false, 4},
      {"huge", good + "1,\"2013/05/01\",\"" + QByteArray(400, '9') + "\",\"50\",\"\"\r\n", false,
       4},
      {"too hot", good + "1,\"2013/05/01\",\"100.01\",\"50.00\",\"\"\r\n", false, 4},
      {"negative humidity", good + "1,\"2013/05/01\",\"20\",\"-1\",\"\"\r\n", false, 4},
      {"no such date", point + "2,\"2013/02/30\",\"20\",\"50\",\"\"\r\n", false, 5},
      {"stray text", good + "1,\"2013/05/01\"x,\"20\",\"50\",\"\"\r\n", false, 4},
      {"line too long", point + QByteArray(5000, ' ') + "\r\n", false, 5},
      {"binary in data", point + QByteArray("1,\0,2,3,4\r\n", 11), false, 5},
      {"invalid code page text", good + "1,\"2013/05/01\",\"20\",\"50\",\"\x85\x40\"\r\n", false,
       4},
      {"negative interval", englishFile("\"A\",\"2013/05/01\",\"2\",\"-1\",\"OFF\",\"OFF\""), false,
       2},
      {"bad start", englishFile("\"A\",\"soon\",\"2\",\"60\",\"OFF\",\"OFF\""), false, 2},
      {"bad limit", englishFile("\"A\",\"2013/05/01\",\"2\",\"60\",\"hot\",\"OFF\""), false, 2},
      {"header values cut", englishFile("\"A\",\"2013/05/01\",\"2\""), false, 2},
      {"japanese header read in english", japaneseFile(""), true, 1},
      {"one alarm column",
       "\"Recognition name\",\"Start time\",\"Recording points\",\"Record interval\","
       "\"Upper bound temperature setting\",\"\"\r\n",
       true, 1},
      {"empty file", QByteArray(), true, 0},
      {"binary garbage", garbage, true, 1},
  };
  for (const auto& c : cases) {
    const CsvReadResult read = ParseCsv(c.bytes, m_en);
    ASSERT_FALSE(read.ok()) << c.name;
    EXPECT_EQ(read.error.wrongHeader, c.wrongHeader) << c.name;
    EXPECT_EQ(read.error.line, c.line) << c.name << ": " << read.error.message.toStdString();
    if (c.line > 0) {
      EXPECT_TRUE(read.error.message.startsWith(QStringLiteral("Line %1: ").arg(c.line)))
          << c.name << ": " << read.error.message.toStdString();
    }
  }
  // A million lines stop at the row limit.
  QByteArray bytes = good;
  for (int i = 0; i < 1000000; ++i) bytes += "1,\"2013/05/01\",\"20.00\",\"50.00\",\"\"\r\n";
  const CsvReadResult read = ParseCsv(bytes, m_en);
  ASSERT_FALSE(read.ok());
  EXPECT_FALSE(read.error.wrongHeader);
  EXPECT_EQ(read.error.line, 3 + 32767 + 1);
  EXPECT_TRUE(read.error.message.contains(QStringLiteral("32767")));
}

TEST(CsvActions, ProposedNameFallsBackToTheStamp) {
  const double t = secondsToDaySerial(kMay1 + 36000);
  EXPECT_EQ(proposedCsvName(QStringLiteral("R101"), t), "R101_130501_100000");
  for (const char* name : {"R/01", "A:1", ""})
    EXPECT_EQ(proposedCsvName(QString::fromUtf8(name), t), "130501_100000") << name;
}

class CsvActionsTest : public CsvTest {
 protected:
  void SetUp() override {
    CsvTest::SetUp();
    log().Interval = 600;
    log().UpperAlarm = {30, 0, 128};
    log().Unsaved = true;
    add(36000, 20.5f, 40.25f);
    add(36600, 21.5f, 40.25f);
  }
};

TEST_F(CsvActionsTest, SaveWritesTheChosenFileAndClearsUnsaved) {
  const QString sub = path("out");
  ASSERT_TRUE(QDir().mkpath(sub));
  m_prompts.saveFiles.push_back(sub + QStringLiteral("/R101_130501_100000"));
  EXPECT_EQ(SaveDataSetCsv(m_state, kLogSet, m_prompts), SaveOutcome::Saved);
  ASSERT_EQ(m_prompts.calls.size(), 1u);
  EXPECT_EQ(m_prompts.calls[0].kind, Kind::SaveFile);
  EXPECT_EQ(m_prompts.calls[0].message, "R101_130501_100000");
  EXPECT_EQ(m_prompts.calls[0].filter, QStringLiteral(" CSVﾌｧｲﾙ(*.csv)|*.csv"));
  EXPECT_FALSE(log().Unsaved);
  EXPECT_EQ(m_state.WorkingFolder, sub);
  const QByteArray bytes = readAll(sub + QStringLiteral("/R101_130501_100000.csv"));
  EXPECT_TRUE(bytes.contains("\"R101\",\"2013/05/01 10:00:00\",\"2\",\"600\",\"30\",\"OFF\"\r\n"));
  EXPECT_TRUE(bytes.contains("2,\"2013/05/01 10:10:00\",\"21.50\",\"40.25\","));
  // Nothing to save, and the file set is never saved from here.
  ScriptedPrompts none;
  EXPECT_EQ(SaveDataSetCsv(m_state, kRealTimeSet, none), SaveOutcome::NothingToSave);
  EXPECT_EQ(SaveDataSetCsv(m_state, kFileSet, none), SaveOutcome::Failed);
  EXPECT_TRUE(none.calls.empty());
}

// A place that cannot take the file (here a folder of that name) is refused
// with text 1053 and the dialog comes again; the next place is used.
TEST_F(CsvActionsTest, UnwritablePlaceAsksAgainAndKeepsTheOldFile) {
  const QString old = path("old.csv");
  ASSERT_TRUE(QDir().mkpath(old + QStringLiteral("/precious")));
  m_prompts.saveFiles = {old, path("good.csv")};
  EXPECT_EQ(SaveDataSetCsv(m_state, kLogSet, m_prompts), SaveOutcome::Saved);
  EXPECT_EQ(m_prompts.callsOf(Kind::SaveFile).size(), 2u);
  const auto infos = m_prompts.callsOf(Kind::Info);
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_EQ(infos[0].title, "QM120-RH");
  EXPECT_TRUE(infos[0].message.startsWith(QStringLiteral("ﾌｧｲﾙ名が不正です。\r\r")));
  EXPECT_FALSE(log().Unsaved);
  EXPECT_TRUE(QFileInfo(old + QStringLiteral("/precious")).isDir());
  EXPECT_TRUE(QFile::exists(path("good.csv")));
}

TEST_F(CsvActionsTest, AskSaveOnlyWhenUnsaved) {
  const struct {
    bool unsaved;
    std::deque<bool> answers;
    std::deque<std::optional<QString>> files;
    SaveOutcome outcome;
    size_t asks;
    bool unsavedAfter;
  } cases[] = {
      {false, {true}, {}, SaveOutcome::NothingToSave, 0, false},
      {true, {false}, {}, SaveOutcome::Declined, 1, true},
      {true, {true}, {std::nullopt}, SaveOutcome::Cancelled, 1, true},
      {true, {true}, {path("asked.csv")}, SaveOutcome::Saved, 1, false},
  };
  for (const auto& c : cases) {
    ScriptedPrompts prompts;
    prompts.askAnswers = c.answers;
    prompts.saveFiles = c.files;
    log().Unsaved = c.unsaved;
    EXPECT_EQ(AskSaveDataSet(m_state, kLogSet, m_ja.text(1103), prompts), c.outcome);
    const auto asks = prompts.callsOf(Kind::Ask);
    ASSERT_EQ(asks.size(), c.asks);
    for (const auto& ask : asks) {
      EXPECT_EQ(ask.title, "QM120-RH");
      EXPECT_EQ(ask.message, QStringLiteral("ログ記録のデータを保存しますか？"));
    }
    EXPECT_EQ(log().Unsaved, c.unsavedAfter);
  }
}

// What the window shows of the opened set is the window test's; here what it keeps.
TEST_F(CsvActionsTest, OpenReplacesTheFileSet) {
  writeFile("in.csv", japaneseFile("1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
                                   "2,\"2013/05/01 10:01:00\",\"22.50\",\"45.00\",\"\"\r\n"
                                   "3,\"2013/05/01 10:05:00\",\"-1.25\",\"60.00\",\"\"\r\n"));
  m_state.set(kFileSet).Unsaved = true;  // reading never touches it
  m_prompts.openFiles.push_back(path("in.csv"));
  ASSERT_TRUE(OpenCsvIntoFileSet(m_state, m_prompts));
  ASSERT_EQ(m_prompts.calls.size(), 1u);
  EXPECT_EQ(m_prompts.calls[0].filter, QStringLiteral("csvﾌｧｲﾙ(*.csv)|*.csv"));
  const DataSet& set = m_state.set(kFileSet);
  EXPECT_EQ(set.Count, 3);
  EXPECT_EQ(set.Model, "QM120-RH");
  EXPECT_TRUE(set.Unsaved);
  EXPECT_EQ(m_state.FileSetName, QStringLiteral("ﾛｶﾞｰ"));
  EXPECT_EQ(m_state.WorkingFolder, QDir(m_dir.path()).absolutePath());
  EXPECT_EQ(set.AllExtremes.entries[Extremes::kHighTemperature].PointNo, 2);
  EXPECT_EQ(set.AllExtremes.entries[Extremes::kLowTemperature].PointNo, 3);
  EXPECT_EQ(set.AllExtremes.entries[Extremes::kLowHumidity].PointNo, 2);
  const auto third = m_state.file(kFileSet).read(3);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->Temperature, -1.25f);
  EXPECT_EQ(third->Segment, 2.0f);  // 4 minutes after the previous point
}

TEST_F(CsvActionsTest, BadFilesLeaveTheFileSetAsItWas) {
  writeFile("good.csv", japaneseFile("1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"1\"\r\n"));
  ASSERT_TRUE(OpenCsvIntoFileSet(m_state, m_prompts, path("good.csv")));
  m_state.CurrentSet = kLogSet;
  const QByteArray recordBefore = m_state.file(kFileSet).read(1)->serialize();
  writeFile("cut.csv", japaneseFile("1,\"2013/05/01 10:00:00\",\"21.00\",\"50.00\",\"\"\r\n"
                                    "2,\"2013/05/01 10:01:00\",\"2"));
  writeFile("english.csv", englishFile("\"A\",\"2013/05/01\",\"0\",\"60\",\"\",\"\""));
  const struct {
    const char *file, *messageStart;  // no file: the dialog was cancelled, no message
  } cases[] = {{"cut.csv", "ファイルエラー\r\rLine 5: "},
               {"english.csv", "ファイルの形式が違います\r\r"},
               {"missing.csv", "ファイルエラー\r\r"},
               {nullptr, nullptr}};
  m_state.WorkingFolder = QStringLiteral("/somewhere");
  for (const auto& c : cases) {
    ScriptedPrompts prompts;
    EXPECT_FALSE(c.file ? OpenCsvIntoFileSet(m_state, prompts, path(c.file))
                        : OpenCsvIntoFileSet(m_state, prompts));
    const auto infos = prompts.callsOf(Kind::Info);
    ASSERT_EQ(infos.size(), c.file ? 1u : 0u) << c.file;
    for (const auto& info : infos) {
      EXPECT_EQ(info.title, "QM120-RH");
      EXPECT_TRUE(info.message.startsWith(QString::fromUtf8(c.messageStart))) << c.file;
    }
    EXPECT_EQ(m_state.WorkingFolder, "/somewhere");
    EXPECT_EQ(m_state.set(kFileSet).Count, 1);
    EXPECT_EQ(m_state.set(kFileSet).LoggerName, QStringLiteral("ﾛｶﾞｰ"));
    EXPECT_EQ(m_state.CurrentSet, kLogSet);
    EXPECT_EQ(m_state.file(kFileSet).read(1)->serialize(), recordBefore);
  }
}

}  // namespace
}  // namespace termika
