#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/app/AppState.h"
#include "core/app/ProgramFiles.h"
#include "core/app/WritableFolder.h"

namespace termika {
namespace {

const QStringList kNames{QStringLiteral("real.rand"), QStringLiteral("log.rand"),
                         QStringLiteral("disp.rand"), QStringLiteral("read.rand")};

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(ProgramFiles, OpensEmptiedFilesAndDeletesThemInTheOrderRealLogDispRead) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // What a crashed run leaves: a full record in each file, never to be read as data.
  for (const QString& name : kNames) writeAll(dir.filePath(name), QByteArray(84, '\x7f'));
  AppState state;
  ProgramFiles files(dir.path());
  ASSERT_TRUE(files.open(state).ok());
  for (const QString& name : kNames)
    EXPECT_EQ(QFileInfo(dir.filePath(name)).size(), 0) << name.toStdString();
  EXPECT_EQ(state.set(kLogSet).FileNo, 2);
  EXPECT_EQ(state.set(kRealTimeSet).FileNo, 1);
  EXPECT_EQ(state.set(kFileSet).FileNo, 4);
  EXPECT_EQ(state.file(kLogSet).path(), dir.filePath(QStringLiteral("log.rand")));
  EXPECT_EQ(state.file(kRealTimeSet).path(), dir.filePath(QStringLiteral("real.rand")));
  EXPECT_EQ(state.file(kFileSet).path(), dir.filePath(QStringLiteral("read.rand")));
  for (int set = 0; set < kSetCount; ++set) {
    EXPECT_TRUE(state.file(set).isOpen()) << set;
    EXPECT_FALSE(state.file(set).read(1).has_value()) << set;
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
}

TEST(ProgramFiles, FailsVisiblyAndLeavesNothingOpenWhenAFileCannotBeOpened) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  AppState state;
  {
    // A folder that cannot hold files at all.
    writeAll(dir.filePath(QStringLiteral("file")), "x");
    ProgramFiles files(dir.filePath(QStringLiteral("file")));
    const Result<void> opened = files.open(state);
    ASSERT_FALSE(opened.ok());
    EXPECT_FALSE(opened.error().message.isEmpty());
    for (int set = 0; set < kSetCount; ++set) EXPECT_FALSE(state.file(set).isOpen()) << set;
  }
  {
    // read.rand is taken by a folder, which can be neither deleted nor opened.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("read.rand")));
    ProgramFiles files(dir.path());
    const Result<void> opened = files.open(state);
    ASSERT_FALSE(opened.ok());
    EXPECT_TRUE(opened.error().message.contains(QStringLiteral("read.rand")));
    for (int set = 0; set < kSetCount; ++set) EXPECT_FALSE(state.file(set).isOpen()) << set;
    for (const QString& name :
         {QStringLiteral("real.rand"), QStringLiteral("log.rand"), QStringLiteral("disp.rand")}) {
      EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name.toStdString();
    }
  }
}

TEST(WritableFolder, FallsBackWhenThePreferredFolderCannotBeWritten) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  writeAll(dir.filePath(QStringLiteral("file")), "x");
  const QString blocked = dir.filePath(QStringLiteral("file/bin"));
  const QString cache = dir.filePath(QStringLiteral("cache/termika"));
  EXPECT_TRUE(isWritableFolder(dir.path()));
  EXPECT_FALSE(isWritableFolder(blocked));
  EXPECT_FALSE(isWritableFolder(dir.filePath(QStringLiteral("file"))));
  EXPECT_FALSE(isWritableFolder(QString()));

  const Result<QString> chosen = chooseWritableFolder(blocked, cache);
  ASSERT_TRUE(chosen.ok());
  EXPECT_EQ(*chosen, cache);
  EXPECT_TRUE(QFileInfo(cache).isDir());

  const Result<QString> preferred = chooseWritableFolder(dir.path(), cache);
  ASSERT_TRUE(preferred.ok());
  EXPECT_EQ(*preferred, dir.path());

  EXPECT_FALSE(chooseWritableFolder(blocked, dir.filePath(QStringLiteral("file/cache"))).ok());
  // No probe file is left behind.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("file")});
}

}  // namespace
}  // namespace termika
