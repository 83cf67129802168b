#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <chrono>
#include <future>

#include "FileFixtures.h"
#include "core/app/CommandLine.h"
#include "core/app/DialogFilter.h"
#include "core/app/ProgramFiles.h"
#include "core/app/RecentFiles.h"
#include "core/app/Settings.h"
#include "core/app/Shutdown.h"
#include "core/app/SingleInstance.h"
#include "core/app/WindowLimits.h"
#include "core/app/WritableFolder.h"
#include "core/data/DataSet.h"
#include "core/model/AppState.h"

namespace termika {
namespace {

// Nothing stops before the questions; a failed or cancelled save asks again, and Cancel leaves
// the link and the files running.
TEST(Shutdown, AsksLogBeforeRealTimeThenStopsEverythingUnlessCancelled) {
  // Answers for the log set and the real-time set (N nothing unsaved, S save, D discard, X cancel
  // the closing) and the log saves that fail: the steps taken.
  const std::tuple<const char*, const char*, int, const char*> cases[] = {
      {"N", "N", 0, "ask 0|ask 1|stop"},
      {"S", "D", 0, "ask 0|save 0|ask 1|stop"},
      {"SS", "S", 1, "ask 0|save 0|ask 0|save 0|ask 1|save 1|stop"},
      {"SD", "N", 1, "ask 0|save 0|ask 0|ask 1|stop"},
      {"X", "S", 0, "ask 0"},
      {"D", "X", 0, "ask 0|ask 1"},
  };
  const UiText texts = UiText::load(UiText::Language::Japanese);
  const QString questions[] = {QStringLiteral("ログ記録のデータを保存しますか？"),
                               QStringLiteral("リアルタイムデータを保存しますか？")};
  for (const auto& [log, real, failingLogSaves, steps] : cases) {
    QByteArray answers[] = {log, real};
    int failing = failingLogSaves;
    QStringList got;
    ShutdownSteps s;
    s.ask = [&](int set, const QString& prompt) -> std::optional<CloseChoice> {
      got << QStringLiteral("ask %1").arg(set);
      EXPECT_EQ(prompt, questions[set]);  // each set's own question
      const char answer = answers[set].isEmpty() ? 'N' : answers[set].front();
      answers[set].remove(0, 1);
      if (answer == 'N') return std::nullopt;
      return answer == 'S'   ? CloseChoice::Save
             : answer == 'D' ? CloseChoice::Discard
                             : CloseChoice::Cancel;
    };
    s.save = [&](int set) {
      got << QStringLiteral("save %1").arg(set);
      return set != kLogSet || failing-- <= 0;
    };
    s.stopLink = [&] { got << QStringLiteral("stop link"); };
    s.closeFiles = [&] { got << QStringLiteral("close files"); };
    s.saveSettings = [&] { got << QStringLiteral("save settings"); };
    s.deleteRecordFiles = [&] { got << QStringLiteral("delete record"); };
    const bool closed = runShutdown(texts, s);
    QString expected = QString::fromLatin1(steps);
    expected.replace(QStringLiteral("stop"),
                     QStringLiteral("stop link|close files|save settings|delete record"));
    EXPECT_EQ(got.join(u'|'), expected) << log << " " << real;
    EXPECT_EQ(closed, expected.contains(QStringLiteral("stop link")));
  }
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
                   : QStringLiteral("%1|%2|%3|%4|%5|%6")
                         .arg(line->language == UiText::Language::English ? "en" : "ja",
                              line->portMap, line->adapter, line->files.join(u' '),
                              line->screenshot, line->help ? "help" : "no help");
    EXPECT_EQ(got, QString::fromUtf8(expected)) << args;
  }
}

// 96 dpi: 15 twips a pixel, 7000/15 = 466.7 -> 467, 6200/15 = 413.3 -> 414. 144 dpi: 10 twips a
// pixel. 120 dpi: 12 twips a pixel, 7000/12 = 583.3 -> 584, 6200/12 = 516.7 -> 517. Unknown dpi:
// 96. The window starts at the screen's size, however large, never below the minimum.
TEST(WindowHelpers, TwipMinimumStartingSizeAndDialogFiltersInQtForm) {
  const std::pair<double, QSize> cases[] = {
      {96.0, {467, 414}}, {144.0, {700, 620}}, {120.0, {584, 517}}, {0.0, {467, 414}}};
  for (const auto& [dpi, minimum] : cases) EXPECT_EQ(windowLimits(dpi).minimum, minimum) << dpi;
  EXPECT_EQ(initialWindowSize({1920, 1080}, windowLimits(96.0)), QSize(1920, 1080));
  EXPECT_EQ(initialWindowSize({320, 1200}, windowLimits(96.0)), QSize(467, 1200));
  const std::pair<const char*, const char*> filters[] = {
      {" CSVﾌｧｲﾙ(*.csv)|*.csv", "CSVﾌｧｲﾙ(*.csv)"},
      {"CSV|*.csv|All|*.*", "CSV (*.csv);;All (*.*)"},
      {"CSV|", ""},
      {"CSV (*.csv)", "CSV (*.csv)"},
      {"", ""}};
  for (const auto& [pipe, qt] : filters)
    EXPECT_EQ(dialogFilter(QString::fromUtf8(pipe)), QString::fromUtf8(qt)) << pipe;
}

const QStringList kNames{QStringLiteral("real.rand"), QStringLiteral("log.rand"),
                         QStringLiteral("disp.rand"), QStringLiteral("read.rand")};
const SettingsValues kDefaults{1, 1, QStringLiteral("/opt/termika")};

using testing::fileState;
using testing::writeAll;

TEST(ProgramFiles, OpensEmptiedFilesDeletesThemInOrderAndFailsVisiblyLeavingNothingOpen) {
  QTemporaryDir dir;
  // What a crashed run leaves: a full record in each file, never to be read as data.
  for (const QString& name : kNames) writeAll(dir.filePath(name), QByteArray(84, '\x7f'));
  AppState state;
  ProgramFiles files(dir.path());
  ASSERT_TRUE(files.open(state).ok());
  for (const QString& name : kNames)
    EXPECT_EQ(QFileInfo(dir.filePath(name)).size(), 0) << name.toStdString();
  const std::pair<int, const char*> sets[] = {
      {kLogSet, "log.rand"}, {kRealTimeSet, "real.rand"}, {kFileSet, "read.rand"}};
  for (const auto& [set, name] : sets) {
    EXPECT_EQ(state.file(set).path(), dir.filePath(QString::fromUtf8(name)));
    EXPECT_TRUE(state.file(set).isOpen() && !state.file(set).read(1).has_value()) << set;
  }
  files.close(state);
  for (int set = 0; set < kSetCount; ++set) EXPECT_FALSE(state.file(set).isOpen()) << set;
  QStringList order;
  const QStringList failed = files.remove([&](const QString& path) {
    order << QFileInfo(path).fileName();
    return !path.endsWith(QStringLiteral("disp.rand")) && QFile::remove(path);
  });
  EXPECT_EQ(order, kNames);
  EXPECT_EQ(failed, QStringList{QStringLiteral("disp.rand")});  // reported, not hidden
  EXPECT_TRUE(files.remove().isEmpty());
  for (const QString& name : kNames) EXPECT_FALSE(QFile::exists(dir.filePath(name)));
  writeAll(dir.filePath(QStringLiteral("file")), "x");
  // read.rand is taken by a folder, which can be neither deleted nor opened.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("read.rand")));
  for (const QString& folder : {dir.filePath(QStringLiteral("file")), dir.path()}) {
    AppState state;
    const Result<void> opened = ProgramFiles(folder).open(state);
    ASSERT_FALSE(opened.ok()) << folder.toStdString();
    EXPECT_FALSE(opened.error().message.isEmpty());
    for (int set = 0; set < kSetCount; ++set) EXPECT_FALSE(state.file(set).isOpen()) << set;
  }
  EXPECT_TRUE(ProgramFiles(dir.path()).open(state).error().message.contains(kNames[3]));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("file")});
}

TEST(Settings, LinesFieldByFieldTheFileItsFolderRoundTripsAndUnusablePlacesAreErrors) {
  const std::pair<const char*, SettingsValues> cases[] = {
      {"3,3,\"/home/ann/Data\"\r\n", {3, 3, QStringLiteral("/home/ann/Data")}},
      {"3,7,\"/home/ann/Data\"\n", {3, 7, QStringLiteral("/home/ann/Data")}},
      {"255,1,\"/d\"\r\nsecond line ignored\r\n", {255, 1, QStringLiteral("/d")}},
      {" 4 , 5 , \"/x, with comma\" \r\n", {4, 5, QStringLiteral("/x, with comma")}},
      {"9", {9, 1, kDefaults.workingFolder}},
      {"9,12,\"/home/cut-off", {9, 12, kDefaults.workingFolder}},
      {"9,12,/home/unquoted", {9, 12, kDefaults.workingFolder}},
      {"9,12,\"\"", {9, 12, kDefaults.workingFolder}},
      {"0,256,\"/d\"", {1, 1, QStringLiteral("/d")}},
      {"x,3.5,\"/d\"", {1, 1, QStringLiteral("/d")}},
      // "データ" in the Windows code page: 83 66 81 5B 83 5E.
      {"2,2,\"C:\\\x83\x66\x81\x5B\x83\x5E\"\r\n", {2, 2, QStringLiteral("C:\\データ")}},
  };
  for (const auto& [line, expected] : cases)
    EXPECT_EQ(Settings::parseLine(QByteArray(line), kDefaults), expected) << line;
  for (const char* line : {"", "\r\n", "\"/d\"", "\x01\xff\xfe,\x80,\"\"\""})
    EXPECT_EQ(Settings::parseLine(QByteArray(line), kDefaults), kDefaults) << line;
  const std::pair<SettingsValues, QByteArray> lines[] = {
      {{3, 3, QStringLiteral("/home/ann/Data")}, "3,3,\"/home/ann/Data\"\r\n"},
      {{12, 200, QStringLiteral("/home/ann/データ")},
       "12,200,\"/home/ann/\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF\"\r\n"},
      // A folder that would break the line is written as the fallback.
      {{3, 3, QStringLiteral("/a\"b")}, "3,3,\"/p\"\r\n"},
      {{3, 3, QStringLiteral("/a\nb")}, "3,3,\"/p\"\r\n"},
  };
  for (const auto& [values, line] : lines)
    EXPECT_EQ(Settings::formatLine(values, QStringLiteral("/p")), line);
  QTemporaryDir dir;
  const Settings settings(dir.path(), QStringLiteral("/opt/termika"));
  const Result<SettingsValues> values = settings.load();
  ASSERT_TRUE(values.ok()) << values.error().message.toStdString();
  EXPECT_EQ(*values, kDefaults);
  EXPECT_EQ(fileState(settings.path()), QByteArray("1,1,\"/opt/termika\"\r\n"));
  const SettingsValues saved{16, 7, QStringLiteral("/home/ann/ログ, 2024")};
  ASSERT_TRUE(settings.save(saved).ok());
  EXPECT_EQ(*settings.load(), saved);
  writeAll(settings.path(), "5,6,\"/srv/data\"\n");  // LF only, written elsewhere
  EXPECT_EQ(*settings.load(), (SettingsValues{5, 6, QStringLiteral("/srv/data")}));
  // A folder where the file should be, or a plain file as the folder: an error, not a loop.
  QTemporaryDir other;
  ASSERT_TRUE(QDir(other.path()).mkdir(QStringLiteral("Logger.ini")));
  EXPECT_FALSE(Settings(other.path(), QStringLiteral("/p")).load().ok());
  writeAll(other.filePath(QStringLiteral("file")), "x");
  const Settings blocked(other.filePath(QStringLiteral("file")), QStringLiteral("/p"));
  EXPECT_FALSE(blocked.load().ok() || blocked.save({2, 2, QStringLiteral("/d")}).ok());
  // A pipe in its place is never opened (it would wait for a writer for ever):
  // an error, so the defaults are used, and the pipe stays.
  QTemporaryDir piped;
  const Settings fifo(piped.path(), QStringLiteral("/p"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo.path()).constData(), 0600), 0);
  auto loaded = std::async(std::launch::async, [&fifo] { return fifo.load().ok(); });
  const bool waited = loaded.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
  if (waited) QFile(fifo.path()).open(QIODevice::WriteOnly);  // lets the test end
  EXPECT_FALSE(waited || loaded.get());
  EXPECT_EQ(fileState(fifo.path()), "(fifo)");
  // The folder field is saved, not the current directory; a quote cannot be stored.
  AppState state;
  applySettings(state, {4, 9, QStringLiteral("/home/ann/csv")});
  EXPECT_EQ(settingsOf(state), (SettingsValues{4, 9, QStringLiteral("/home/ann/csv")}));
  EXPECT_FALSE(rememberWorkingFolder(state, QStringLiteral("/home/ann/\"quoted\"")) ||
               rememberWorkingFolder(state, QString()));
  EXPECT_EQ(state.workingFolder, QStringLiteral("/home/ann/csv"));
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  const Result<void> written = saveSettings(settings, state);
  QDir::setCurrent(before);
  ASSERT_TRUE(written.ok());
  EXPECT_EQ(fileState(settings.path()), QByteArray("4,9,\"/home/ann/csv\"\r\n"));
  EXPECT_TRUE(rememberWorkingFolder(state, QStringLiteral("/home/ann/it's, fine")));
  EXPECT_EQ(state.workingFolder, QStringLiteral("/home/ann/it's, fine"));
  // The program folder when it is writable, else the configuration folder.
  QTemporaryDir home;
  const QString configFolder = home.filePath(QStringLiteral("config/termika"));
  const Result<Settings> preferred = Settings::locate(home.path(), configFolder);
  ASSERT_TRUE(preferred.ok());
  EXPECT_EQ(preferred->path(), home.filePath(QStringLiteral("Logger.ini")));
  EXPECT_FALSE(QFileInfo::exists(configFolder));
  // A path below a plain file can never be written, even by root.
  writeAll(home.filePath(QStringLiteral("file")), "x");
  const QString programFolder = home.filePath(QStringLiteral("file/bin"));
  const Result<Settings> located = Settings::locate(programFolder, configFolder);
  ASSERT_TRUE(located.ok());
  EXPECT_EQ(located->path(), configFolder + QStringLiteral("/Logger.ini"));
  EXPECT_EQ(located->defaults().workingFolder, programFolder);  // still the program folder
  ASSERT_TRUE(located->load().ok());
  EXPECT_TRUE(QFile::exists(configFolder + QStringLiteral("/Logger.ini")));
  EXPECT_FALSE(chooseWritableFolder(programFolder, home.filePath(QStringLiteral("file/c"))).ok() ||
               isWritableFolder(QString()));
  // No probe file is left behind.
  EXPECT_EQ(QDir(home.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("file")});
}

QStringList paths(const char* names) {
  QStringList out;
  for (const QString& n : QString::fromLatin1(names).split(u' ', Qt::SkipEmptyParts))
    out << QStringLiteral("/data/") + n + QStringLiteral(".csv");
  return out;
}

TEST(RecentFiles, NewestFirstEachFileOnceAtMostEight) {
  // Stored (newest first), added and removed in order: the list.
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {"", "a b c", "", "c b a"},
      {"a b c", "b", "x", "b a c"},
      {"a a b a", "", "", "a b"},
      {"a b c d e f g h i j", "", "b", "a c d e f g h"},
      {"", "a b c d e f g h i", "", "i h g f e d c b"},
      {"", "x/../a ./a", "", "a"},  // one file, however it is spelled
  };
  for (const auto& [stored, added, removed, expected] : cases) {
    RecentFiles recent(paths(stored));
    for (const QString& p : paths(added)) recent.add(p);
    for (const QString& p : paths(removed)) recent.remove(p);
    EXPECT_EQ(recent.files(), paths(expected)) << stored << " + " << added;
  }
}

}  // namespace
}  // namespace termika
