#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/model/AppState.h"

namespace termika {

// A log set of `count` points a minute apart from 2010/01/02 03:00:00:
// temperature 20 + (n mod 7), humidity 40 + (n mod 11), all in one segment,
// point 2 carrying a padded remark.
inline void fillLogSet(AppState& state, const QTemporaryDir& dir, int count,
                       const QString& model = QStringLiteral("QM100-RH")) {
  RecordFile& file = state.file(kLogSet);
  if (!file.isOpen()) {
    ASSERT_TRUE(file.open(dir.filePath(QStringLiteral("log.rand"))).ok());
  }
  DataSet& set = state.set(kLogSet);
  set.allExtremes.reset();
  const double start = *toDaySerial(CivilTime{2010, 1, 2, 3, 0, 0});
  std::vector<DataRecord> records;
  for (int n = 1; n <= count; ++n) {
    records.push_back({20.0f + static_cast<float>(n % 7),
                       40.0f + static_cast<float>(n % 11),
                       {},
                       start + (n - 1) / 1440.0,
                       1.0f,
                       fitRemarks(n == 2 ? QStringLiteral("上限越 ") : QString()),
                       static_cast<std::int16_t>(n)});
    updateExtremes(records.back(), set.allExtremes);
  }
  ASSERT_TRUE(file.writeRange(1, records).ok());
  set.count = count;
  set.interval = 60;
  set.model = model;
  set.loggerName = QStringLiteral("T001");
  set.upperAlarm = AlarmSetting{30, 0, 128};
  state.currentSet = kLogSet;
}

// Text of a PDF page by page (pdftotext separates pages with form feeds).
inline QString pdfText(const QString& path) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Text extraction guesses at blanks and maps a few shared CJK glyphs to their
// radicals; comparisons drop every blank and map those back.
inline QString squeezed(QString text) {
  text.replace(QChar(0x2FBC), QChar(0x9AD8));  // KANGXI RADICAL TALL -> 高
  text.remove(QRegularExpression(QStringLiteral("[\\s\\x{3000}]")));
  return text;
}

// pdftotext ends every page with a form feed.
inline int pdfPages(const QString& path) { return static_cast<int>(pdfText(path).count(u'\f')); }

}  // namespace termika
