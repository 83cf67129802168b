// Every file the program writes goes through one safe replacement: a full
// disk, a name held by a pipe or a device, or a missing folder give an error
// naming the cause and leave whatever was there exactly as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDir>
#include <QFile>
#include <cstdio>
#include <functional>
#include <optional>

#include "PrintTestSupport.h"
#include "TinyDisk.h"
#include "core/app/Settings.h"
#include "core/data/Csv.h"
#include "ui/print/PrintActions.h"

namespace termika {
namespace {

using testing::TinyDisk;

struct Writer {
  const char* name;  // the file it writes
  std::function<Result<void>(const AppState&, const QString& folder)> write;
};

QByteArray contentOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// The kind of file at `path` and its bytes when it is a regular one.
QByteArray stateOf(const QString& path) {
  struct stat st {};
  if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return "(none)";
  if (S_ISFIFO(st.st_mode)) return "(fifo)";
  if (S_ISCHR(st.st_mode)) return "(character device)";
  return contentOf(path);
}

TEST(OutputFiles, FullDiskPipeDeviceOrMissingFolderLeaveWhatWasThereAndSayWhy) {
  QTemporaryDir records;
  AppState state;
  FillLogSet(state, records, 40, QStringLiteral("QM120-RH"));
  const Writer writers[] = {
      {"keep.csv",
       [](const AppState& s, const QString& folder) {
         return WriteCsvFile(QDir(folder).filePath(QStringLiteral("keep.csv")), s.set(kLogSet),
                             s.file(kLogSet), s.Texts);
       }},
      {"keep.pdf",
       [](const AppState& s, const QString& folder) -> Result<void> {
         const Result<int> pages =
             printSetToPdf(s, kLogSet, true, QDir(folder).filePath(QStringLiteral("keep.pdf")));
         if (!pages) return pages.error();
         return {};
       }},
      {"Logger.ini",
       [](const AppState&, const QString& folder) {
         return Settings(folder, QStringLiteral("/opt/termika"))
             .save({7, 7, QStringLiteral("/home/ann/data")});
       }},
  };
  struct Place {
    const char* name;
    const char* cause;  // in the message
    // Prepares the folder and the name; false when this machine cannot.
    std::function<bool(const QString& path)> prepare;
    bool fullDisk = false;
  };
  const Place places[] = {
      {"full disk", "No space left on device",
       [](const QString& path) {
         QFile old(path);
         return old.open(QIODevice::WriteOnly) && old.write("old content\r\n") == 13;
       },
       true},
      {"fifo", "not a regular file",
       [](const QString& path) {
         return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
       }},
      {"device node", "not a regular file",
       [](const QString& path) {
         return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
       }},
      {"missing folder", "does not exist", [](const QString&) { return true; }},
  };
  for (const Place& place : places) {
    for (const Writer& writer : writers) {
      SCOPED_TRACE(std::string(place.name) + ", " + writer.name);
      std::optional<TinyDisk> disk;
      QTemporaryDir plain;
      if (place.fullDisk && !disk.emplace().mounted()) {
        std::printf("[  SKIPPED ] %s\n", qPrintable(disk->why()));
        continue;
      }
      const QString base = place.fullDisk ? disk->path() : plain.path();
      const QString folder = QString::fromUtf8(place.name) == QStringLiteral("missing folder")
                                 ? QDir(base).filePath(QStringLiteral("missing"))
                                 : base;
      const QString target = QDir(folder).filePath(QString::fromLatin1(writer.name));
      if (!place.prepare(target)) {
        std::printf("[  SKIPPED ] %s: cannot be made here\n", place.name);
        continue;
      }
      if (disk) disk->fill();
      const QByteArray before = stateOf(target);
      const QStringList others = QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                      QDir::Hidden | QDir::System);
      const Result<void> written = writer.write(state, folder);
      EXPECT_FALSE(written.ok());
      if (written.ok()) continue;
      EXPECT_TRUE(written.error().message.contains(QString::fromUtf8(place.cause)))
          << written.error().message.toStdString();
      EXPECT_EQ(stateOf(target), before);
      EXPECT_EQ(QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                     QDir::System),
                others);
    }
  }
}

}  // namespace
}  // namespace termika
