// Every file the program writes goes through one safe replacement: a full
// disk or a name held by a pipe or a device give an error naming the cause and
// leave whatever was there exactly as it was (a missing folder: the print form
// and settings tests).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDir>
#include <QFile>
#include <cstdio>
#include <functional>
#include <optional>

#include "FileFixtures.h"
#include "PrintTestSupport.h"
#include "core/app/Settings.h"
#include "core/data/Csv.h"
#include "ui/print/PrintActions.h"

namespace termika {
namespace {

using testing::fileState;
using testing::TinyDisk;

TEST(OutputFiles, FullDiskPipeOrDeviceLeaveWhatWasThereAndSayWhy) {
  QTemporaryDir records;
  AppState state;
  fillLogSet(state, records, 40, QStringLiteral("QM120-RH"));
  // Each writer, given a folder, writes its file there.
  const std::pair<const char*, std::function<Result<void>(const QString&)>> writers[] = {
      {"keep.csv",
       [&state](const QString& path) {
         return writeCsvFile(path, state.set(kLogSet), state.file(kLogSet), state.texts);
       }},
      {"keep.pdf",
       [&state](const QString& path) {
         const Result<int> pages = printSetToPdf(state, kLogSet, true, path);
         return pages ? Result<void>() : Result<void>(pages.error());
       }},
      {"Logger.ini",
       [](const QString& path) {
         return Settings(QFileInfo(path).path(), QStringLiteral("/opt/termika"))
             .save({7, 7, QStringLiteral("/home/ann/data")});
       }},
  };
  enum class Place { FullDisk, Fifo, Device };
  for (const auto& [place, cause] : {std::pair{Place::FullDisk, "No space left on device"},
                                     {Place::Fifo, "not a regular file"},
                                     {Place::Device, "not a regular file"}}) {
    for (const auto& [name, write] : writers) {
      SCOPED_TRACE(std::to_string(static_cast<int>(place)) + ", " + name);
      std::optional<TinyDisk> disk;
      QTemporaryDir plain;
      if (place == Place::FullDisk && !disk.emplace().mounted()) {
        std::printf("[  SKIPPED ] %s\n", qPrintable(disk->why()));
        continue;
      }
      const QDir folder(disk ? disk->path() : plain.path());
      const QString target = folder.filePath(QString::fromLatin1(name));
      const QByteArray native = QFile::encodeName(target);
      QFile old(target);
      const bool made =
          place == Place::FullDisk ? old.open(QIODevice::WriteOnly) && old.write("old\r\n") == 5
          : place == Place::Fifo   ? ::mkfifo(native.constData(), 0600) == 0
                                 : ::mknod(native.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
      if (!made) {
        std::printf("[  SKIPPED ] %s cannot be made here\n", name);
        continue;
      }
      old.close();
      if (disk) disk->fill();
      const QByteArray before = fileState(target);
      const auto entries = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
      const QStringList others = folder.entryList(entries);
      const Result<void> written = write(target);
      EXPECT_TRUE(!written.ok() && written.error().message.contains(QString::fromUtf8(cause)))
          << (written.ok() ? std::string("saved") : written.error().message.toStdString());
      EXPECT_EQ(fileState(target), before);
      EXPECT_EQ(folder.entryList(entries), others);  // no half-written file left beside it
    }
  }
}

}  // namespace
}  // namespace termika
