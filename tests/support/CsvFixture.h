#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "ScriptedPrompts.h"
#include "core/data/DataRecord.h"
#include "core/data/DayTime.h"
#include "core/model/AppState.h"

namespace termika::testing {

inline constexpr qint64 kMay1 = 41395LL * 86400;  // 2013-05-01 in seconds since 1899-12-30

inline QByteArray sjis(const QString& text) { return QStringEncoder("windows-31j").encode(text); }

inline QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The three column-name lines of an English file around the given values line.
inline QByteArray englishFile(const char* values) {
  return QByteArray(
             "\"Recognition name\",\"Start time\",\"Recording points\",\"Record interval\","
             "\"Upper bound temperature setting\",\"Lower bound temperature setting\"\r\n") +
         values + "\r\n\"Record number\",\"Date\",\"x\",\"y\",\"z\"\r\n";
}

// A file as a Japanese system writes it, in its code page.
inline QByteArray japaneseFile(const QByteArray& dataLines) {
  return sjis(QStringLiteral("\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\","
                             "\"上限温度設定\",\"下限温度設定\"\r\n"
                             "\"ﾛｶﾞｰ\",\"2013/05/01 10:00:00\",\"3\",\"60\",\"OFF\",\"5\"\r\n"
                             "\"記録番号\",\"日時\",\"温度\",\"湿度\",\"備考\"\r\n") +
              QString::fromLatin1(dataLines));
}

// The three record files in a temporary folder and a log set of a QM120-RH.
class CsvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_state.file(kRealTimeSet).open(path("real.rand")).ok());
    ASSERT_TRUE(m_state.file(kLogSet).open(path("log.rand")).ok());
    ASSERT_TRUE(m_state.file(kFileSet).open(path("read.rand")).ok());
    m_state.modelName = QStringLiteral("QM120-RH");
    log().interval = 60;
    log().loggerName = QStringLiteral("R101");
    log().model = QStringLiteral("QM120-RH");
  }

  DataSet& log() { return m_state.set(kLogSet); }
  RecordFile& logFile() { return m_state.file(kLogSet); }

  void add(qint64 secondsAfterMay1, float t, float h, const QString& remark = {}) {
    DataRecord r;
    r.dateTime = secondsToDaySerial(kMay1 + secondsAfterMay1);
    r.temperature = t;
    r.humidity = h;
    r.segment = 1;
    r.remarks = fitRemarks(remark);
    r.recordNo = static_cast<std::int16_t>(++log().count);
    ASSERT_TRUE(logFile().write(log().count, r).ok());
  }

  QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
  void writeFile(const char* name, const QByteArray& bytes) {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  QTemporaryDir m_dir;
  AppState m_state;
  ScriptedPrompts m_prompts;
  const UiText& m_ja = m_state.texts;
  UiText m_en = UiText::load(UiText::Language::English);
};

}  // namespace termika::testing
