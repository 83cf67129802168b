#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/app/AppState.h"
#include "core/app/Settings.h"

namespace termika {
namespace {

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

const SettingsValues kDefaults{1, 1, QStringLiteral("/opt/termika")};

TEST(Settings, ParsesLinesFieldByField) {
  struct Case {
    const char* line;
    SettingsValues expected;
  };
  const Case cases[] = {
      {"3,3,\"/home/ann/Data\"\r\n", {3, 3, QStringLiteral("/home/ann/Data")}},
      {"3,3,\"/home/ann/Data\"\n", {3, 3, QStringLiteral("/home/ann/Data")}},
      {"3,7,\"/home/ann/Data\"", {3, 7, QStringLiteral("/home/ann/Data")}},
      {"255,1,\"/d\"\r\nsecond line ignored\r\n", {255, 1, QStringLiteral("/d")}},
      {" 4 , 5 , \"/x, with comma\" \r\n", {4, 5, QStringLiteral("/x, with comma")}},
      {"", {1, 1, QStringLiteral("/opt/termika")}},
      {"\r\n", {1, 1, QStringLiteral("/opt/termika")}},
      {"9", {9, 1, QStringLiteral("/opt/termika")}},
      {"9,12", {9, 12, QStringLiteral("/opt/termika")}},
      {"9,12,", {9, 12, QStringLiteral("/opt/termika")}},
      {"9,12,\"/home/cut-off", {9, 12, QStringLiteral("/opt/termika")}},
      {"9,12,/home/unquoted", {9, 12, QStringLiteral("/opt/termika")}},
      {"9,12,\"\"", {9, 12, QStringLiteral("/opt/termika")}},
      {"0,256,\"/d\"", {1, 1, QStringLiteral("/d")}},
      {"-3,65536,\"/d\"", {1, 1, QStringLiteral("/d")}},
      {"x,3.5,\"/d\"", {1, 1, QStringLiteral("/d")}},
      {"0x10,1e2,\"/d\"", {1, 1, QStringLiteral("/d")}},
      {"\"/d\"", {1, 1, QStringLiteral("/opt/termika")}},
      {"\x01\xff\xfe,\x80,\"\"\"", {1, 1, QStringLiteral("/opt/termika")}},
      // "データ" in the Windows code page: 83 66 81 5B 83 5E.
      {"2,2,\"C:\\\x83\x66\x81\x5B\x83\x5E\"\r\n", {2, 2, QStringLiteral("C:\\データ")}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Settings::parseLine(QByteArray(c.line), kDefaults), c.expected) << c.line;
  }
}

TEST(Settings, FormatsOneCrLfLineWithoutBlanks) {
  EXPECT_EQ(Settings::formatLine({3, 3, QStringLiteral("/home/ann/Data")}, QStringLiteral("/p")),
            QByteArray("3,3,\"/home/ann/Data\"\r\n"));
  EXPECT_EQ(
      Settings::formatLine({12, 200, QStringLiteral("/home/ann/データ")}, QStringLiteral("/p")),
      QByteArray("12,200,\"/home/ann/\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF\"\r\n"));
  // A folder that would break the line is written as the fallback.
  EXPECT_EQ(Settings::formatLine({3, 3, QStringLiteral("/a\"b")}, QStringLiteral("/p")),
            QByteArray("3,3,\"/p\"\r\n"));
  EXPECT_EQ(Settings::formatLine({3, 3, QStringLiteral("/a\nb")}, QStringLiteral("/p")),
            QByteArray("3,3,\"/p\"\r\n"));
}

TEST(Settings, FileIsCreatedWithDefaultsAndRoundTrips) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const Settings settings(dir.path(), QStringLiteral("/opt/termika"));
  const Result<SettingsValues> values = settings.load();
  ASSERT_TRUE(values.ok()) << values.error().message.toStdString();
  EXPECT_EQ(*values, kDefaults);
  EXPECT_EQ(readAll(settings.path()), QByteArray("1,1,\"/opt/termika\"\r\n"));
  const SettingsValues saved{16, 7, QStringLiteral("/home/ann/ログ, 2024")};
  ASSERT_TRUE(settings.save(saved).ok());
  EXPECT_EQ(*settings.load(), saved);
  writeAll(settings.path(), "5,6,\"/srv/data\"\n");  // LF only, written elsewhere
  EXPECT_EQ(*settings.load(), (SettingsValues{5, 6, QStringLiteral("/srv/data")}));
}

TEST(Settings, AFileOrFolderThatCannotBeUsedIsAnErrorNotALoop) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // A folder where the file should be: it exists but cannot be read or replaced.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Logger.ini")));
  EXPECT_FALSE(Settings(dir.path(), QStringLiteral("/p")).load().ok());
  const QString notAFolder = dir.filePath(QStringLiteral("plain-file"));
  writeAll(notAFolder, "x");
  const Settings settings(notAFolder, QStringLiteral("/p"));
  EXPECT_FALSE(settings.load().ok());
  EXPECT_FALSE(settings.save({2, 2, QStringLiteral("/d")}).ok());
}

TEST(Settings, LivesInTheProgramFolderWhenWritableElseTheConfigFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString configFolder = dir.filePath(QStringLiteral("config/termika"));
  const Result<Settings> preferred = Settings::locate(dir.path(), configFolder);
  ASSERT_TRUE(preferred.ok());
  EXPECT_EQ(preferred->path(), dir.filePath(QStringLiteral("Logger.ini")));
  EXPECT_FALSE(QFileInfo::exists(configFolder));
  // A path below a plain file can never be written, even by root.
  writeAll(dir.filePath(QStringLiteral("file")), "x");
  const QString programFolder = dir.filePath(QStringLiteral("file/bin"));
  const Result<Settings> settings = Settings::locate(programFolder, configFolder);
  ASSERT_TRUE(settings.ok());
  EXPECT_EQ(settings->path(), configFolder + QStringLiteral("/Logger.ini"));
  // The default working folder is still the program folder.
  EXPECT_EQ(settings->defaults().WorkingFolder, programFolder);
  ASSERT_TRUE(settings->load().ok());
  EXPECT_TRUE(QFile::exists(configFolder + QStringLiteral("/Logger.ini")));
}

TEST(Settings, SaveWritesTheWorkingFolderFieldNotTheCurrentDirectory) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const Settings settings(dir.path(), QStringLiteral("/p"));
  AppState state;
  state.PortNumber = 4;
  state.ChosenPort = 9;
  state.WorkingFolder = QStringLiteral("/home/ann/csv");
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  const Result<void> saved = Save(settings, state);
  QDir::setCurrent(before);
  ASSERT_TRUE(saved.ok());
  EXPECT_EQ(readAll(settings.path()), QByteArray("4,9,\"/home/ann/csv\"\r\n"));
}

TEST(Settings, WorkingFolderWithAQuoteIsRefusedAndValuesApply) {
  AppState state;
  state.WorkingFolder = QStringLiteral("/home/ann");
  EXPECT_FALSE(rememberWorkingFolder(state, QStringLiteral("/home/ann/\"quoted\"")));
  EXPECT_EQ(state.WorkingFolder, QStringLiteral("/home/ann"));
  EXPECT_FALSE(rememberWorkingFolder(state, QString()));
  EXPECT_EQ(state.WorkingFolder, QStringLiteral("/home/ann"));
  EXPECT_TRUE(rememberWorkingFolder(state, QStringLiteral("/home/ann/it's, fine")));
  EXPECT_EQ(state.WorkingFolder, QStringLiteral("/home/ann/it's, fine"));
  applySettings(state, {8, 3, QStringLiteral("/w")});
  EXPECT_EQ(state.PortNumber, 8);
  EXPECT_EQ(state.ChosenPort, 3);
  EXPECT_EQ(state.WorkingFolder, QStringLiteral("/w"));
  EXPECT_EQ(settingsOf(state), (SettingsValues{8, 3, QStringLiteral("/w")}));
}

}  // namespace
}  // namespace termika
