#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <random>

#include "CsvFixture.h"
#include "core/app/CsvActions.h"
#include "core/data/Csv.h"
#include "core/data/SetRecords.h"

namespace termika {
namespace {

using testing::CsvTest;
using testing::englishFile;
using testing::japaneseFile;
using testing::kMay1;
using testing::readAll;
using testing::ScriptedPrompts;
using Kind = ScriptedPrompts::Kind;

// Whatever the program saves it opens again: the log set (15000 points in
// three runs), a real-time series and single measurements (saved with
// interval 0), each reopened into the file set.
TEST_F(CsvTest, EverySetTheProgramSavesOpensAgain) {
  const std::tuple<int, const char*, int, int> cases[] = {{kLogSet, "QM120-RH", 60, 15000},
                                                          {kRealTimeSet, "QM100-RH", 2, 40},
                                                          {kRealTimeSet, "QM120-RH", 0, 3}};
  std::mt19937 random(7);
  std::uniform_int_distribution<int> temperature(-4000, 10000), humidity(0, 10000);
  for (const auto& [setNo, model, interval, points] : cases) {
    SCOPED_TRACE(interval);
    DataSet& set = m_state.set(setNo);
    set = DataSet{};
    set.model = QString::fromLatin1(model);
    set.interval = interval;
    set.loggerName = QStringLiteral("ﾃｽﾄ");
    set.upperAlarm = {30, 0, 128};
    EXPECT_FALSE(csvBytes(set, m_state.file(setNo), m_ja).ok());  // nothing to save
    qint64 seconds = 0;
    for (int i = 0; i < points; ++i) {
      // Every 5000th point follows an hour's pause: a new run starts there.
      seconds += i == 0 ? 0 : (i % 5000 == 0 ? 3600 : interval);
      DataRecord r;
      r.dateTime = secondsToDaySerial(kMay1 + seconds);
      r.temperature = static_cast<float>(temperature(random)) / 100.0f;
      r.humidity = static_cast<float>(humidity(random)) / 100.0f;
      r.remarks = fitRemarks(i % 7 == 0 ? QStringLiteral("下限越 ") : QString());
      r.recordNo = static_cast<std::int16_t>(++set.count);
      ASSERT_TRUE(m_state.file(setNo).write(set.count, r).ok());
    }
    ASSERT_TRUE(writeCsvFile(path("set.csv"), set, m_state.file(setNo), m_ja).ok());
    ScriptedPrompts prompts;
    ASSERT_TRUE(openCsvIntoFileSet(m_state, prompts, path("set.csv")));
    const DataSet& read = m_state.set(kFileSet);
    EXPECT_TRUE(read.model == set.model && m_state.fileSetName == QStringLiteral("ﾃｽﾄ"));
    EXPECT_EQ(
        std::tuple(read.interval, read.announcedCount, read.upperAlarm.limit,
                   daySerialToSeconds(read.announcedStart)),
        std::tuple(interval, points, set.model == QStringLiteral("QM120-RH") ? 30 : 0, kMay1));
    ASSERT_EQ(read.count, points);
    const std::vector<DataRecord> original = m_state.file(setNo).readRange(1, points);
    const std::vector<DataRecord> back = m_state.file(kFileSet).readRange(1, points);
    for (size_t i = 0; i < original.size(); ++i) {  // each run its own segment, no raw counts
      DataRecord want = original[i];
      want.segment = static_cast<float>(1 + i / 5000);
      ASSERT_EQ(daySerialToSeconds(back[i].dateTime), daySerialToSeconds(want.dateTime)) << i;
      want.dateTime = back[i].dateTime;
      ASSERT_EQ(back[i].serialize(), want.serialize()) << i;
    }
  }
}

class CsvActionsTest : public CsvTest {
 protected:
  void SetUp() override {
    CsvTest::SetUp();
    log().interval = 600;
    log().upperAlarm = {30, 0, 128};
    log().unsaved = true;
    add(36000, 20.5f, 40.25f);
    add(36600, 21.5f, 40.25f);
  }
};

TEST_F(CsvActionsTest, SaveWritesTheChosenFileTypeAndOnlyCsvClearsUnsaved) {
  const QString sub = path("out");
  ASSERT_TRUE(QDir().mkpath(sub));
  m_prompts.saveFiles.push_back(sub + QStringLiteral("/R101_130501_100000"));
  EXPECT_EQ(saveDataSetCsv(m_state, kLogSet, m_prompts), SaveOutcome::Saved);
  ASSERT_EQ(m_prompts.calls.size(), 1u);
  EXPECT_EQ(std::pair(m_prompts.calls[0].kind, m_prompts.calls[0].message),
            std::pair(Kind::SaveFile, QStringLiteral("R101_130501_100000")));
  EXPECT_TRUE(m_prompts.calls[0].filter.startsWith(QStringLiteral(" CSVﾌｧｲﾙ(*.csv)|*.csv|")));
  EXPECT_TRUE(!log().unsaved && m_state.workingFolder == sub);
  EXPECT_TRUE(readAll(sub + QStringLiteral("/R101_130501_100000.csv"))
                  .contains("\"R101\",\"2013/05/01 10:00:00\",\"2\",\"600\",\"30\",\"OFF\"\r\n"));
  // Nothing to save, and the file set is never saved from here.
  ScriptedPrompts none;
  EXPECT_EQ(saveDataSetCsv(m_state, kRealTimeSet, none), SaveOutcome::NothingToSave);
  EXPECT_EQ(saveDataSetCsv(m_state, kFileSet, none), SaveOutcome::Failed);
  EXPECT_TRUE(none.calls.empty());
  const double t = secondsToDaySerial(kMay1 + 36000);
  for (const char* name : {"R/01", "A:1", ""})
    EXPECT_EQ(proposedCsvName(QString::fromUtf8(name), t), "130501_100000") << name;
  // The dialog's other file types export for other programs: UTF-8 CSV, which the
  // program also opens (so the set counts as saved), and JSON, which it does not.
  // File type, name chosen, name written, its start, and whether the set stays unsaved.
  const std::tuple<int, const char*, const char*, const char*, bool> cases[] = {
      {1, "utf8", "utf8.csv", "\xEF\xBB\xBF\"", false}, {2, "points", "points.json", "{", true}};
  for (const auto& [type, chosen, written, start, unsavedAfter] : cases) {
    SCOPED_TRACE(written);
    log().unsaved = true;
    m_prompts.saveFiles = {path(chosen)};
    m_prompts.saveTypes = {type};
    EXPECT_EQ(saveDataSetCsv(m_state, kLogSet, m_prompts), SaveOutcome::Saved);
    EXPECT_TRUE(readAll(path(written)).startsWith(start));
    EXPECT_EQ(log().unsaved, unsavedAfter);
  }
}

// A place that cannot take the file (here a folder of that name) is refused
// with text `FileNameInvalid` and the dialog comes again; the next place is used.
TEST_F(CsvActionsTest, UnwritablePlaceAsksAgainKeepingTheOldFileAndOnlyUnsavedSetsAreOffered) {
  const QString old = path("old.csv");
  ASSERT_TRUE(QDir().mkpath(old + QStringLiteral("/precious")));
  m_prompts.saveFiles = {old, path("good.csv")};
  EXPECT_EQ(saveDataSetCsv(m_state, kLogSet, m_prompts), SaveOutcome::Saved);
  EXPECT_EQ(m_prompts.callsOf(Kind::SaveFile).size(), 2u);
  const auto infos = m_prompts.callsOf(Kind::Info);
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_TRUE((infos[0].title + infos[0].message).startsWith(u"QM120-RHﾌｧｲﾙ名が不正です。\r\r"));
  EXPECT_TRUE(!log().unsaved && QFileInfo(old + QStringLiteral("/precious")).isDir() &&
              QFile::exists(path("good.csv")));
  // Unsaved before, answers, files chosen: outcome, questions asked, unsaved after.
  const std::tuple<bool, std::deque<bool>, std::deque<std::optional<QString>>, SaveOutcome, size_t,
                   bool>
      cases[] = {
          {false, {true}, {}, SaveOutcome::NothingToSave, 0, false},
          {true, {false}, {}, SaveOutcome::Declined, 1, true},
          {true, {true}, {std::nullopt}, SaveOutcome::Cancelled, 1, true},
          {true, {true}, {path("asked.csv")}, SaveOutcome::Saved, 1, false},
      };
  for (const auto& [unsaved, answers, files, outcome, askCount, unsavedAfter] : cases) {
    ScriptedPrompts prompts;
    prompts.askAnswers = answers;
    prompts.saveFiles = files;
    log().unsaved = unsaved;
    EXPECT_EQ(askSaveDataSet(m_state, kLogSet, m_ja[TextId::ExitSaveLogQuestion], prompts),
              outcome);
    const auto asks = prompts.callsOf(Kind::Ask);
    ASSERT_EQ(asks.size(), askCount);
    for (const auto& ask : asks)
      EXPECT_EQ(ask.title + ask.message,
                QStringLiteral("QM120-RHログ記録のデータを保存しますか？"));
    EXPECT_EQ(log().unsaved, unsavedAfter);
  }
}

// What the window shows of the opened set is the window test's; here what it keeps, and that a
// bad file leaves it as it was.
TEST_F(CsvActionsTest, OpenReplacesTheFileSetAndBadFilesLeaveItAsItWas) {
  writeFile("in.csv", japaneseFile("1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
                                   "2,\"2013/05/01 10:01:00\",\"22.50\",\"45.00\",\"\"\r\n"
                                   "3,\"2013/05/01 10:05:00\",\"-1.25\",\"60.00\",\"\"\r\n"));
  m_state.set(kFileSet).unsaved = true;  // reading never touches it
  m_prompts.openFiles.push_back(path("in.csv"));
  ASSERT_TRUE(openCsvIntoFileSet(m_state, m_prompts));
  ASSERT_EQ(m_prompts.calls.size(), 1u);
  const DataSet& set = m_state.set(kFileSet);
  EXPECT_TRUE(set.count == 3 && set.model == "QM120-RH" && set.unsaved);
  EXPECT_EQ(m_state.fileSetName, QStringLiteral("ﾛｶﾞｰ"));
  EXPECT_EQ(m_state.workingFolder, QDir(m_dir.path()).absolutePath());
  const auto& e = set.allExtremes.entries;  // highest and lowest temperature, lowest humidity
  EXPECT_EQ(std::tuple(e[Extremes::kHighTemperature].pointNo, e[Extremes::kLowTemperature].pointNo,
                       e[Extremes::kLowHumidity].pointNo),
            std::tuple(2, 3, 2));
  const auto third = m_state.file(kFileSet).read(3);  // 4 minutes after the previous point
  EXPECT_EQ(std::pair(third->temperature, third->segment), std::pair(-1.25f, 2.0f));

  m_state.currentSet = kLogSet;
  const QByteArray recordBefore = third->serialize();
  writeFile("cut.csv", japaneseFile("1,\"2013/05/01 10:00:00\",\"21.00\",\"50.00\",\"\"\r\n"
                                    "2,\"2013/05/01 10:01:00\",\"2"));
  writeFile("english.csv", englishFile("\"A\",\"2013/05/01\",\"0\",\"60\",\"\",\"\""));
  // No file: the dialog was cancelled, no message.
  const std::pair<const char*, const char*> cases[] = {
      {"cut.csv", "ファイルエラー\r\rLine 5: "},
      {"english.csv", "ファイルの形式が違います\r\r"},
      {"missing.csv", "ファイルエラー\r\r"},
      {nullptr, nullptr}};
  m_state.workingFolder = QStringLiteral("/somewhere");
  for (const auto& [file, messageStart] : cases) {
    ScriptedPrompts prompts;
    EXPECT_FALSE(file ? openCsvIntoFileSet(m_state, prompts, path(file))
                      : openCsvIntoFileSet(m_state, prompts));
    const auto infos = prompts.callsOf(Kind::Info);
    ASSERT_EQ(infos.size(), file ? 1u : 0u) << file;
    for (const auto& info : infos)
      EXPECT_TRUE((info.title + info.message)
                      .startsWith(QStringLiteral("QM120-RH") + QString::fromUtf8(messageStart)))
          << file;
    EXPECT_TRUE(m_state.workingFolder == "/somewhere" && m_state.currentSet == kLogSet);
    EXPECT_TRUE(set.count == 3 && set.loggerName == QStringLiteral("ﾛｶﾞｰ"));
    EXPECT_EQ(m_state.file(kFileSet).read(3)->serialize(), recordBefore);
  }
}

}  // namespace
}  // namespace termika
