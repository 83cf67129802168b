#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <deque>
#include <map>

#include "core/app/CommandLine.h"
#include "core/app/DialogFilter.h"
#include "core/app/Shutdown.h"
#include "core/app/SingleInstance.h"
#include "core/app/WindowLimits.h"
#include "core/data/DataSet.h"

namespace termika {
namespace {

// Records every step and answers the save questions per set from letters: N nothing to save,
// S saved, D declined, C cancelled, F failed.
struct Script {
  std::map<int, std::deque<char>> answers;
  QStringList log;

  ShutdownSteps steps() {
    ShutdownSteps s;
    s.stopLink = [this] { log << QStringLiteral("stop link"); };
    s.askSave = [this](int set, const QString& prompt) {
      log << QStringLiteral("ask %1 %2").arg(set).arg(prompt);
      const char answer = answers[set].empty() ? 'N' : answers[set].front();
      if (!answers[set].empty()) answers[set].pop_front();
      const std::map<char, SaveOutcome> outcomes{{'N', SaveOutcome::NothingToSave},
                                                 {'S', SaveOutcome::Saved},
                                                 {'D', SaveOutcome::Declined},
                                                 {'C', SaveOutcome::Cancelled},
                                                 {'F', SaveOutcome::Failed}};
      return outcomes.at(answer);
    };
    s.closeFiles = [this] { log << QStringLiteral("close files"); };
    s.saveSettings = [this] { log << QStringLiteral("save settings"); };
    s.deleteRecordFiles = [this] { log << QStringLiteral("delete record files"); };
    return s;
  }
};

const QStringList kTail{QStringLiteral("close files"), QStringLiteral("save settings"),
                        QStringLiteral("delete record files")};

// A cancelled or failed save asks again: the data is never dropped without a No.
TEST(Shutdown, StopsTheLinkThenAsksLogBeforeRealTimeUntilAnsweredThenCleansUp) {
  const struct {
    const char *log, *real;
    int logAsks, realAsks;
  } cases[] = {{"N", "N", 1, 1},  {"S", "S", 1, 1},   {"D", "D", 1, 1},
               {"CS", "D", 2, 1}, {"FFD", "N", 3, 1}, {"D", "CFS", 1, 3}};
  const UiText texts = UiText::load(UiText::Language::Japanese);
  for (const auto& c : cases) {
    Script script;
    script.answers[kLogSet].assign(c.log, c.log + strlen(c.log));
    script.answers[kRealTimeSet].assign(c.real, c.real + strlen(c.real));
    runShutdown(texts, script.steps());
    QStringList expected{QStringLiteral("stop link")};
    for (int i = 0; i < c.logAsks; ++i)
      expected << QStringLiteral("ask 0 ログ記録のデータを保存しますか？");
    for (int i = 0; i < c.realAsks; ++i)
      expected << QStringLiteral("ask 1 リアルタイムデータを保存しますか？");
    EXPECT_EQ(script.log, expected + kTail) << c.log << " " << c.real;
  }
  Script english;
  runShutdown(UiText::load(UiText::Language::English), english.steps());
  EXPECT_EQ(english.log.mid(1, 2),
            QStringList({QStringLiteral("ask 0 Is the data of the log record preserved?"),
                         QStringLiteral("ask 1 Is real-time data preserved?")}));
  Script script;  // missing steps are skipped
  ShutdownSteps steps = script.steps();
  steps.stopLink = nullptr;
  steps.askSave = nullptr;
  runShutdown(texts, steps);
  EXPECT_EQ(script.log, kTail);
}

TEST(SingleInstance, ASecondCopyIsRefusedUntilTheFirstEnds) {
  QTemporaryDir dir;
  const QString lock = dir.filePath(QStringLiteral("termika.lock"));
  auto first = std::make_unique<SingleInstance>(lock);
  ASSERT_TRUE(first->acquire());
  EXPECT_TRUE(first->acquire());  // asking again keeps the lock
  SingleInstance second(lock);
  EXPECT_FALSE(second.acquire());
  EXPECT_TRUE(second.holder().contains(QString::number(QCoreApplication::applicationPid())));
  first.reset();
  EXPECT_TRUE(second.acquire());
  EXPECT_TRUE(SingleInstance::defaultLockPath().endsWith(QStringLiteral("/termika.lock")));
  // A lock that names no live process, even an empty or garbled one, is taken over.
  for (const QByteArray& stale :
       {QByteArray(), QByteArray("\x01garbage\n"),
        "999999999\ntermika\n" + QSysInfo::machineHostName().toUtf8() + '\n'}) {
    QFile file(dir.filePath(QStringLiteral("stale.lock")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(stale) == stale.size());
    file.close();
    EXPECT_TRUE(SingleInstance(file.fileName()).acquire()) << stale.toStdString();
  }
}

TEST(CommandLine, ParsesLanguageLinkOptionsAndFiles) {
  using L = UiText::Language;
  const auto parse = [](const char* args) {  // after the program name
    return CommandLine::parse(QStringList{QStringLiteral("termika")} +
                              QString::fromUtf8(args).split(u' ', Qt::SkipEmptyParts));
  };
  const struct {
    const char* args;
    L language;
    const char *portMap, *adapter, *files;
  } cases[] = {
      {"", L::Japanese, "", "", ""},
      {"--lang en", L::English, "", "", ""},
      {"--lang=ja", L::Japanese, "", "", ""},
      {"--port-map /tmp/termika/tty%1 --adapter sim:/tmp/pins", L::Japanese, "/tmp/termika/tty%1",
       "sim:/tmp/pins", ""},
      {"data.csv --lang en", L::English, "", "", "data.csv"},
  };
  for (const auto& c : cases) {
    const Result<CommandLine> line = parse(c.args);
    ASSERT_TRUE(line.ok()) << c.args;
    EXPECT_EQ(line->language, c.language) << c.args;
    EXPECT_EQ(line->portMap, QString::fromUtf8(c.portMap)) << c.args;
    EXPECT_EQ(line->adapter, QString::fromUtf8(c.adapter)) << c.args;
    EXPECT_EQ(line->files.join(u' '), QString::fromUtf8(c.files)) << c.args;
    EXPECT_FALSE(line->help) << c.args;
  }
  for (const char* refused : {"--lang de", "--lang", "--colour"}) {
    const Result<CommandLine> line = parse(refused);
    ASSERT_FALSE(line.ok()) << refused;
    EXPECT_FALSE(line.error().message.isEmpty()) << refused;
  }
  const Result<CommandLine> line = parse("--screenshot /tmp/a.png -h");
  ASSERT_TRUE(line.ok());
  EXPECT_EQ(line->screenshot, QStringLiteral("/tmp/a.png"));
  EXPECT_TRUE(line->help);
  EXPECT_TRUE(CommandLine::usage().contains(QStringLiteral("--port-map")));
}

// 96 dpi: 15 twips a pixel, 7000/15 = 466.7 -> 467, 11600/15 = 773.3 -> 773, 6200/15 = 413.3 ->
// 414, 10500/15 = 700. 144 dpi: 10 twips a pixel. 120 dpi: 12 twips a pixel, 7000/12 = 583.3 ->
// 584, 11600/12 = 966.7 -> 966, 6200/12 = 516.7 -> 517, 10500/12 = 875. Unknown dpi: 96.
TEST(WindowLimits, TwipLimitsInPixelsAndTheStartingSize) {
  const struct {
    double dpi;
    int minWidth, minHeight, maxWidth, maxHeight;
  } cases[] = {{96.0, 467, 414, 773, 700},
               {144.0, 700, 620, 1160, 1050},
               {120.0, 584, 517, 966, 875},
               {0.0, 467, 414, 773, 700}};
  for (const auto& c : cases) {
    const WindowLimits limits = windowLimits(c.dpi);
    EXPECT_EQ(limits.minimum, QSize(c.minWidth, c.minHeight)) << c.dpi;
    EXPECT_EQ(limits.maximum, QSize(c.maxWidth, c.maxHeight)) << c.dpi;
  }
  const WindowLimits limits = windowLimits(96.0);
  EXPECT_EQ(initialWindowSize({1600, 1000}, limits), QSize(773, 700));
  EXPECT_EQ(initialWindowSize({640, 480}, limits), QSize(640, 480));
  EXPECT_EQ(initialWindowSize({320, 200}, limits), QSize(467, 414));
  EXPECT_EQ(initialWindowSize({700, 1200}, limits), QSize(700, 700));
}

TEST(DialogFilter, PipeFiltersBecomeQtFilters) {
  const struct {
    const char *pipe, *qt;
  } cases[] = {{" CSVﾌｧｲﾙ(*.csv)|*.csv", "CSVﾌｧｲﾙ(*.csv)"},
               {"Text|*.txt", "Text (*.txt)"},
               {"CSV|*.csv|All|*.*", "CSV (*.csv);;All (*.*)"},
               {"CSV|", ""},
               {"CSV (*.csv)", "CSV (*.csv)"},
               {"", ""}};
  for (const auto& c : cases)
    EXPECT_EQ(dialogFilter(QString::fromUtf8(c.pipe)), QString::fromUtf8(c.qt)) << c.pipe;
}

}  // namespace
}  // namespace termika
