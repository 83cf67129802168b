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

// Records every step and answers the questions per set from letters: N nothing unsaved, S save,
// D discard, X cancel the closing; a save succeeds unless it is the set's next entry in `failing`.
struct Script {
  std::map<int, std::deque<char>> answers;
  std::map<int, int> failing;
  QStringList log;

  ShutdownSteps steps() {
    ShutdownSteps s;
    s.ask = [this](int set, const QString& prompt) -> std::optional<CloseChoice> {
      log << QStringLiteral("ask %1 %2").arg(set).arg(prompt);
      const char answer = answers[set].empty() ? 'N' : answers[set].front();
      if (!answers[set].empty()) answers[set].pop_front();
      if (answer == 'N') return std::nullopt;
      return answer == 'S'   ? CloseChoice::Save
             : answer == 'D' ? CloseChoice::Discard
                             : CloseChoice::Cancel;
    };
    s.save = [this](int set) {
      log << QStringLiteral("save %1").arg(set);
      return failing[set]-- <= 0;
    };
    s.stopLink = [this] { log << QStringLiteral("stop link"); };
    s.closeFiles = [this] { log << QStringLiteral("close files"); };
    s.saveSettings = [this] { log << QStringLiteral("save settings"); };
    s.deleteRecordFiles = [this] { log << QStringLiteral("delete record files"); };
    return s;
  }
};

// Nothing stops before the questions; a failed or cancelled save asks again, and Cancel leaves
// the link and the files running.
TEST(Shutdown, AsksLogBeforeRealTimeThenStopsEverythingUnlessCancelled) {
  // Answers for the log set and the real-time set, failing log saves: the steps taken.
  const std::tuple<const char*, const char*, int, const char*> cases[] = {
      {"N", "N", 0, "ask 0|ask 1|stop"},
      {"S", "D", 0, "ask 0|save 0|ask 1|stop"},
      {"SS", "S", 1, "ask 0|save 0|ask 0|save 0|ask 1|save 1|stop"},
      {"SD", "N", 1, "ask 0|save 0|ask 0|ask 1|stop"},
      {"X", "S", 0, "ask 0"},
      {"D", "X", 0, "ask 0|ask 1"},
  };
  const UiText texts = UiText::load(UiText::Language::Japanese);
  for (const auto& [log, real, failingLogSaves, steps] : cases) {
    Script script;
    script.answers[kLogSet].assign(log, log + strlen(log));
    script.answers[kRealTimeSet].assign(real, real + strlen(real));
    script.failing[kLogSet] = failingLogSaves;
    const bool closed = runShutdown(texts, script.steps());
    QStringList got;
    for (const QString& step : script.log) got << step.section(u' ', 0, 1);
    QString expected = QString::fromLatin1(steps);
    expected.replace(QStringLiteral("stop"),
                     QStringLiteral("stop link|close files|save settings|delete record"));
    EXPECT_EQ(got.join(u'|'), expected) << log << " " << real;
    EXPECT_EQ(closed, expected.contains(QStringLiteral("stop link")));
  }
  Script asked;  // each set's own question
  runShutdown(texts, asked.steps());
  EXPECT_EQ(asked.log.mid(0, 2).join(u'|'),
            QStringLiteral(
                "ask 0 ログ記録のデータを保存しますか？|ask 1 リアルタイムデータを保存しますか？"));
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
  // The arguments after the program name and what they give: language, port map, adapter, files,
  // screenshot and help; "refused" for an error with a message.
  const std::pair<const char*, const char*> cases[] = {
      {"", "ja|||||no help"},
      {"--lang en", "en|||||no help"},
      {"--lang=ja", "ja|||||no help"},
      {"--port-map /tmp/tty%1 --adapter sim:/tmp/pins", "ja|/tmp/tty%1|sim:/tmp/pins|||no help"},
      {"data.csv --lang en", "en|||data.csv||no help"},
      {"--screenshot /tmp/a.png -h", "ja||||/tmp/a.png|help"},
      {"--lang de", "refused"},
      {"--lang", "refused"},
      {"--colour", "refused"}};
  for (const auto& [args, expected] : cases) {
    const Result<CommandLine> line =
        CommandLine::parse(QStringList{QStringLiteral("termika")} +
                           QString::fromUtf8(args).split(u' ', Qt::SkipEmptyParts));
    const QString got =
        !line.ok() ? (line.error().message.isEmpty() ? QStringLiteral("no message") : "refused")
                   : QStringList{line->language == UiText::Language::English ? "en" : "ja",
                                 line->portMap,
                                 line->adapter,
                                 line->files.join(u' '),
                                 line->screenshot,
                                 line->help ? "help" : "no help"}
                         .join(u'|');
    EXPECT_EQ(got, QString::fromUtf8(expected)) << args;
  }
  EXPECT_TRUE(CommandLine::usage().contains(QStringLiteral("--port-map")));
}

// 96 dpi: 15 twips a pixel, 7000/15 = 466.7 -> 467, 6200/15 = 413.3 -> 414. 144 dpi: 10 twips a
// pixel. 120 dpi: 12 twips a pixel, 7000/12 = 583.3 -> 584, 6200/12 = 516.7 -> 517. Unknown dpi:
// 96. The window starts at the screen's size, however large, never below the minimum.
TEST(WindowLimits, TwipMinimumInPixelsAndTheStartingSize) {
  const std::pair<double, QSize> cases[] = {
      {96.0, {467, 414}}, {144.0, {700, 620}}, {120.0, {584, 517}}, {0.0, {467, 414}}};
  for (const auto& [dpi, minimum] : cases) EXPECT_EQ(windowLimits(dpi).minimum, minimum) << dpi;
  const WindowLimits limits = windowLimits(96.0);
  EXPECT_EQ(initialWindowSize({1920, 1080}, limits), QSize(1920, 1080));
  EXPECT_EQ(initialWindowSize({320, 1200}, limits), QSize(467, 1200));
}

TEST(DialogFilter, PipeFiltersBecomeQtFilters) {
  const std::pair<const char*, const char*> cases[] = {
      {" CSVﾌｧｲﾙ(*.csv)|*.csv", "CSVﾌｧｲﾙ(*.csv)"},
      {"Text|*.txt", "Text (*.txt)"},
      {"CSV|*.csv|All|*.*", "CSV (*.csv);;All (*.*)"},
      {"CSV|", ""},
      {"CSV (*.csv)", "CSV (*.csv)"},
      {"", ""}};
  for (const auto& [pipe, qt] : cases)
    EXPECT_EQ(dialogFilter(QString::fromUtf8(pipe)), QString::fromUtf8(qt)) << pipe;
}

}  // namespace
}  // namespace termika
