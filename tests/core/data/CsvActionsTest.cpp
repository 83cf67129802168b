#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "ScriptedPrompts.h"
#include "core/data/CsvActions.h"
#include "core/data/DayTime.h"

namespace termika {
namespace {

using testing::ScriptedPrompts;
using Kind = ScriptedPrompts::Kind;

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CsvActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(m_state.file(kRealTimeSet).open(path("real.rand")).ok());
    ASSERT_TRUE(m_state.file(kLogSet).open(path("log.rand")).ok());
    ASSERT_TRUE(m_state.file(kFileSet).open(path("read.rand")).ok());
    m_state.ModelName = QStringLiteral("QM120-RH");
    DataSet& log = m_state.set(kLogSet);
    log.Interval = 600;
    log.Model = QStringLiteral("QM120-RH");
    log.LoggerName = QStringLiteral("R101");
    log.UpperAlarm = {30, 0, 128};
    log.Unsaved = true;
    // 2013-05-01 10:00:00 and 10:10:00
    for (int i = 0; i < 2; ++i) {
      DataRecord r;
      r.DateTime = secondsToDaySerial(41395LL * 86400 + 36000 + 600 * i);
      r.Temperature = 20.5f + static_cast<float>(i);
      r.Humidity = 40.25f;
      r.RecordNo = static_cast<std::int16_t>(i + 1);
      ASSERT_TRUE(m_state.file(kLogSet).write(i + 1, r).ok());
    }
    log.Count = 2;
  }

  QString path(const QString& name) const { return m_dir.filePath(name); }
  QString path(const char* name) const { return path(QLatin1String(name)); }

  QTemporaryDir m_dir;
  AppState m_state;
  ScriptedPrompts m_prompts;
};

TEST(CsvActions, ProposedNameFallsBackToTheStamp) {
  const double t = secondsToDaySerial(41395LL * 86400 + 36000);
  EXPECT_EQ(proposedCsvName(QStringLiteral("R101"), t), "R101_130501_100000");
  EXPECT_EQ(proposedCsvName(QStringLiteral("R/01"), t), "130501_100000");
  EXPECT_EQ(proposedCsvName(QStringLiteral("A:1"), t), "130501_100000");
  EXPECT_EQ(proposedCsvName(QString(), t), "130501_100000");
}

TEST_F(CsvActionsTest, SaveWritesTheChosenFileAndClearsUnsaved) {
  const QString sub = path("out");
  ASSERT_TRUE(QDir().mkpath(sub));
  m_prompts.saveFiles.push_back(sub + QStringLiteral("/R101_130501_100000"));
  EXPECT_EQ(SaveDataSetCsv(m_state, kLogSet, m_prompts), SaveOutcome::Saved);
  ASSERT_EQ(m_prompts.calls.size(), 1u);
  EXPECT_EQ(m_prompts.calls[0].kind, Kind::SaveFile);
  EXPECT_EQ(m_prompts.calls[0].message, "R101_130501_100000");
  EXPECT_EQ(m_prompts.calls[0].filter, QStringLiteral(" CSVﾌｧｲﾙ(*.csv)|*.csv"));
  EXPECT_FALSE(m_state.set(kLogSet).Unsaved);
  EXPECT_EQ(m_state.WorkingFolder, sub);
  const QByteArray bytes = readAll(sub + QStringLiteral("/R101_130501_100000.csv"));
  EXPECT_TRUE(bytes.contains("\"R101\",\"2013/05/01 10:00:00\",\"2\",\"600\",\"30\",\"OFF\"\r\n"));
  EXPECT_TRUE(bytes.contains("2,\"2013/05/01 10:10:00\",\"21.50\",\"40.25\","));
}

TEST_F(CsvActionsTest, UnwritablePlaceAsksAgainAndKeepsTheOldFile) {
  // A folder in the way of the final rename: the write fails even for a privileged user.
  const QString old = path("old.csv");
  ASSERT_TRUE(QDir().mkpath(old + QStringLiteral("/precious")));
  m_prompts.saveFiles = {old, std::nullopt};
  EXPECT_EQ(SaveDataSetCsv(m_state, kLogSet, m_prompts), SaveOutcome::Cancelled);
  EXPECT_EQ(m_prompts.callsOf(Kind::SaveFile).size(), 2u);
  const auto infos = m_prompts.callsOf(Kind::Info);
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_EQ(infos[0].title, "QM120-RH");
  EXPECT_TRUE(infos[0].message.startsWith(QStringLiteral("ﾌｧｲﾙ名が不正です。\r\r")));
  EXPECT_TRUE(m_state.set(kLogSet).Unsaved);
  EXPECT_TRUE(QFileInfo(old + QStringLiteral("/precious")).isDir());

  // Then a good place: saved at the second attempt.
  m_prompts.calls.clear();
  m_prompts.saveFiles = {old, path("good.csv")};
  EXPECT_EQ(SaveDataSetCsv(m_state, kLogSet, m_prompts), SaveOutcome::Saved);
  EXPECT_EQ(m_prompts.callsOf(Kind::Info).size(), 1u);
  EXPECT_FALSE(m_state.set(kLogSet).Unsaved);
  EXPECT_TRUE(QFileInfo(old + QStringLiteral("/precious")).isDir());
  EXPECT_TRUE(QFile::exists(path("good.csv")));
}

TEST_F(CsvActionsTest, NothingToSaveAndNotTheFileSet) {
  EXPECT_EQ(SaveDataSetCsv(m_state, kRealTimeSet, m_prompts), SaveOutcome::NothingToSave);
  EXPECT_EQ(SaveDataSetCsv(m_state, kFileSet, m_prompts), SaveOutcome::Failed);
  EXPECT_TRUE(m_prompts.calls.empty());
}

TEST_F(CsvActionsTest, AskSaveOnlyWhenUnsaved) {
  const QString prompt = m_state.Texts.text(1103);
  struct Case {
    bool unsaved;
    std::deque<bool> answers;
    std::deque<std::optional<QString>> files;
    SaveOutcome outcome;
    size_t asks;
    bool unsavedAfter;
  };
  const Case cases[] = {
      {false, {true}, {}, SaveOutcome::NothingToSave, 0, false},
      {true, {false}, {}, SaveOutcome::Declined, 1, true},
      {true, {true}, {std::nullopt}, SaveOutcome::Cancelled, 1, true},
      {true, {true}, {path("asked.csv")}, SaveOutcome::Saved, 1, false},
  };
  for (const Case& c : cases) {
    ScriptedPrompts prompts;
    prompts.askAnswers = c.answers;
    prompts.saveFiles = c.files;
    m_state.set(kLogSet).Unsaved = c.unsaved;
    EXPECT_EQ(AskSaveDataSet(m_state, kLogSet, prompt, prompts), c.outcome);
    const auto asks = prompts.callsOf(Kind::Ask);
    ASSERT_EQ(asks.size(), c.asks);
    if (c.asks > 0) {
      EXPECT_EQ(asks[0].title, "QM120-RH");
      EXPECT_EQ(asks[0].message, QStringLiteral("ログ記録のデータを保存しますか？"));
    }
    EXPECT_EQ(m_state.set(kLogSet).Unsaved, c.unsavedAfter);
  }
}

class OpenCsvTest : public CsvActionsTest {
 protected:
  void writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  // A file as a Japanese system writes it, in its code page.
  QByteArray japaneseFile(const QByteArray& dataLines) {
    return QStringEncoder("windows-31j")
        .encode(QStringLiteral("\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\","
                               "\"上限温度設定\",\"下限温度設定\"\r\n"
                               "\"ﾛｶﾞｰ\",\"2013/05/01 10:00:00\",\"3\",\"60\",\"OFF\",\"5\"\r\n"
                               "\"記録番号\",\"日時\",\"温度\",\"湿度\",\"備考\"\r\n") +
                QString::fromLatin1(dataLines));
  }
};

TEST_F(OpenCsvTest, ReplacesTheFileSet) {
  writeFile(QStringLiteral("in.csv"),
            japaneseFile("1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
                         "2,\"2013/05/01 10:01:00\",\"22.50\",\"45.00\",\"\"\r\n"
                         "3,\"2013/05/01 10:05:00\",\"-1.25\",\"60.00\",\"\"\r\n"));
  m_state.set(kFileSet).Unsaved = true;  // reading never touches it
  m_prompts.openFiles.push_back(path("in.csv"));
  ASSERT_TRUE(OpenCsvIntoFileSet(m_state, m_prompts));
  ASSERT_EQ(m_prompts.calls.size(), 1u);
  EXPECT_EQ(m_prompts.calls[0].filter, QStringLiteral("csvﾌｧｲﾙ(*.csv)|*.csv"));
  const DataSet& set = m_state.set(kFileSet);
  EXPECT_EQ(set.Count, 3);
  EXPECT_EQ(set.Interval, 60);
  EXPECT_EQ(set.Model, "QM120-RH");
  EXPECT_EQ(set.LoggerName, QStringLiteral("ﾛｶﾞｰ"));
  EXPECT_EQ(set.AnnouncedCount, 3);
  EXPECT_EQ(set.UpperAlarm.Enabled, 0);
  EXPECT_EQ(set.LowerAlarm.Enabled, 1);
  EXPECT_EQ(set.LowerAlarm.Limit, 5);
  EXPECT_TRUE(set.Unsaved);
  EXPECT_EQ(m_state.FileSetName, QStringLiteral("ﾛｶﾞｰ"));
  EXPECT_EQ(m_state.CurrentSet, kFileSet);
  EXPECT_EQ(m_state.WorkingFolder, QDir(m_dir.path()).absolutePath());
  EXPECT_EQ(set.AllExtremes.entries[Extremes::kHighTemperature].PointNo, 2);
  EXPECT_EQ(set.AllExtremes.entries[Extremes::kLowTemperature].PointNo, 3);
  EXPECT_EQ(set.AllExtremes.entries[Extremes::kLowHumidity].PointNo, 2);
  const auto third = m_state.file(kFileSet).read(3);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->Temperature, -1.25f);
  EXPECT_EQ(third->Segment, 2.0f);  // 4 minutes after the previous point
}

TEST_F(OpenCsvTest, BadFilesLeaveTheFileSetAsItWas) {
  writeFile(QStringLiteral("good.csv"),
            japaneseFile("1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"first\"\r\n"));
  ASSERT_TRUE(OpenCsvIntoFileSet(m_state, m_prompts, path("good.csv")));
  m_state.CurrentSet = kLogSet;
  const QByteArray recordBefore = m_state.file(kFileSet).read(1)->serialize();

  writeFile(QStringLiteral("cut.csv"),
            japaneseFile("1,\"2013/05/01 10:00:00\",\"21.00\",\"50.00\",\"\"\r\n"
                         "2,\"2013/05/01 10:01:00\",\"2"));
  writeFile(
      QStringLiteral("english.csv"),
      "\"Recognition name\",\"Start time\",\"Recording points\",\"Record interval\",\"\",\"\"\r\n");
  struct Case {
    QString file;
    QString messageStart;
  };
  const Case cases[] = {
      {QStringLiteral("cut.csv"), QStringLiteral("ファイルエラー\r\rLine 5: ")},
      {QStringLiteral("english.csv"), QStringLiteral("ファイルの形式が違います\r\r")},
      {QStringLiteral("missing.csv"), QStringLiteral("ファイルエラー\r\r")},
      {QString(), QString()},  // the dialog was cancelled: no message
  };
  m_state.WorkingFolder = QStringLiteral("/somewhere");
  for (const Case& c : cases) {
    ScriptedPrompts prompts;
    EXPECT_FALSE(c.file.isEmpty() ? OpenCsvIntoFileSet(m_state, prompts)
                                  : OpenCsvIntoFileSet(m_state, prompts, path(c.file)));
    const auto infos = prompts.callsOf(Kind::Info);
    ASSERT_EQ(infos.size(), c.file.isEmpty() ? 0u : 1u) << c.file.toStdString();
    if (!infos.empty()) {
      EXPECT_EQ(infos[0].title, "QM120-RH");
    }
    if (!infos.empty()) {
      EXPECT_TRUE(infos[0].message.startsWith(c.messageStart));
    }
    EXPECT_EQ(m_state.WorkingFolder, "/somewhere");
    const DataSet& set = m_state.set(kFileSet);
    EXPECT_EQ(set.Count, 1);
    EXPECT_EQ(set.LoggerName, QStringLiteral("ﾛｶﾞｰ"));
    EXPECT_EQ(m_state.CurrentSet, kLogSet);
    EXPECT_EQ(m_state.file(kFileSet).read(1)->serialize(), recordBefore);
  }
}

}  // namespace
}  // namespace termika
