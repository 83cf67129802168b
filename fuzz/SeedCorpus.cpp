// Writes the seed corpora of the fuzz targets: CSV files from the program's
// own writer, answers and streams of the simulated logger, Logger.ini lines
// and record files. Usage: make_seeds CORPUS_DIR SCENARIO_DIR
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "FuzzSessions.h"
#include "core/data/Csv.h"
#include "core/data/DataRecord.h"
#include "core/data/DayTime.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/Commands.h"
#include "sim/SimulatedLogger.h"

namespace termika {
namespace {

// The index of a row mode in a fuzz_answer input.
class SeedWriter final {
 public:
  SeedWriter(QString corpus, QString scenarios)
      : m_corpus(std::move(corpus)), m_scenarios(std::move(scenarios)) {}

  bool put(const char* target, const QString& name, const QByteArray& bytes) {
    const QDir dir(QDir(m_corpus).filePath(QLatin1String(target)));
    if (!QDir().mkpath(dir.path())) return fail(dir.path());
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
      return fail(file.fileName());
    return true;
  }

  std::optional<SimScenario> scenario(const char* file) {
    Result<SimScenario> s = loadScenario(QDir(m_scenarios).filePath(QLatin1String(file)));
    if (!s) {
      std::fprintf(stderr, "%s: %s\n", file, qPrintable(s.error().message));
      return std::nullopt;
    }
    return *s;
  }

  bool ok() const { return m_ok; }

 private:
  bool fail(const QString& what) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(what));
    m_ok = false;
    return false;
  }

  QString m_corpus;
  QString m_scenarios;
  bool m_ok = true;
};

// Everything the logger sends back to `rows`, one request at a time.
QByteArray answersTo(SimulatedLogger& logger, const CommandRows& rows) {
  QByteArray out;
  for (const CommandRow& r : rows) {
    logger.receive(frame::encode(r.bytes()));
    for (const SimChunk& c : logger.takeOutputUntil(logger.now() + 10'000'000)) out += c.bytes;
  }
  return out;
}

// The fuzz_answer input for `rows` (at most 32) and the simulator's answers.
QByteArray answerSeed(SimulatedLogger& logger, const CommandRows& rows) {
  QByteArray seed(1, static_cast<char>(rows.size() - 1));
  for (const CommandRow& r : rows) {
    seed.append(static_cast<char>(r.b1));
    seed.append(static_cast<char>(r.b2));
    seed.append(static_cast<char>(r.b3));
    seed.append(static_cast<char>(r.mode));
  }
  return seed + answersTo(logger, rows);
}

void writeAnswerSeeds(SeedWriter& w) {
  const char* scenarios[] = {"qm120-three-blocks.json", "fresh-qm100.json", "low-voltage.json",
                             "fault-noise.json", "fault-reject.json"};
  for (const char* file : scenarios) {
    const std::optional<SimScenario> s = w.scenario(file);
    if (!s) continue;
    const QString base = QString::fromLatin1(file).chopped(5);
    SimulatedLogger logger(*s);
    w.put("fuzz_answer", base + QStringLiteral("-connect"),
          answerSeed(logger, commands::connectRows()));
    w.put("fuzz_answer", base + QStringLiteral("-download-start"),
          answerSeed(logger, commands::downloadStartRows()));
    w.put("fuzz_answer", base + QStringLiteral("-measure"),
          answerSeed(logger, commands::singleMeasurementRows()));
    w.put("fuzz_answer", base + QStringLiteral("-clock-set"),
          answerSeed(logger, commands::nowTimeSetRows(CivilTime{2026, 12, 6, 10, 30, 15})));
    CommandRows identify{commands::row(Opcode{99}, 0, 0, SessionMode::PortOpen)};
    w.put("fuzz_answer", base + QStringLiteral("-identify"), answerSeed(logger, identify));
  }
}

void writeReceiverSeeds(SeedWriter& w) {
  const std::optional<SimScenario> s = w.scenario("qm120-three-blocks.json");
  if (!s) return;
  SimulatedLogger logger(*s);
  const QByteArray connect = answersTo(logger, commands::connectRows());
  // Cut points: none, then a few uneven ones, then every 9 bytes.
  w.put("fuzz_frame_receiver", QStringLiteral("connect-whole"), QByteArray(1, '\0') + connect);
  w.put("fuzz_frame_receiver", QStringLiteral("connect-uneven"),
        QByteArray("\x04\x01\x07\x0d\x02", 5) + connect);
  // A fast transfer of 64 bytes: 16 points streamed back to back.
  const QByteArray stream =
      answersTo(logger, {commands::row(Opcode{44}, 0, 64, SessionMode::Download)});
  w.put("fuzz_frame_receiver", QStringLiteral("stream-64"),
        QByteArray("\x03\x09\x09\x09", 4) + stream);
  w.put("fuzz_frame_receiver", QStringLiteral("noise-overlong"),
        QByteArray(1, '\x01') + QByteArray(1, '\x50') + QByteArray(120, '\x3c') + connect.left(18));
}

void writeSettingsSeeds(SeedWriter& w) {
  const char* lines[] = {
      "1,1,\"C:\\Program Files\\Termika\"\r\n",
      "3,5,\"/home/user/data, 2013\"\r\n",
      "255,12,\"/tmp\"",
      "0,300,\"\"\r\n",
      " 7 , 8 ,  \"/srv/log\"  \r\n",
      "4,4,\"/cut/off\r\n",
      "\r\n",
  };
  int i = 0;
  for (const char* line : lines) {
    w.put("fuzz_settings", QStringLiteral("line-%1.ini").arg(++i), QByteArray(line));
  }
  // A folder name in the code page a Windows machine wrote it in.
  w.put("fuzz_settings", QStringLiteral("cp932.ini"),
        QByteArray("2,2,\"C:\\\x83\x66\x81\x5b\x83\x5e\"\r\n"));
}

DataRecord sample(int n, double time, float t, float h, const char* remark) {
  DataRecord r;
  r.temperature = t;
  r.humidity = h;
  r.dateTime = time;
  r.segment = 1;
  r.remarks = fitRemarks(QString::fromUtf8(remark));
  r.recordNo = static_cast<std::int16_t>(n);
  r.raw = {0x19, 0x80, 0x06, 0x40};
  return r;
}

void writeDataSeeds(SeedWriter& w) {
  QTemporaryDir dir;
  RecordFile file;
  if (!dir.isValid() || !file.open(dir.filePath(QStringLiteral("log.rand"))).ok()) return;
  const double may1 = 41395.0;
  const std::vector<DataRecord> records = {
      sample(1, may1, 21.5f, 45.25f, ""),
      sample(2, may1 + 60.0 / 86400, 30.75f, 80.0f, "上限警報"),
      sample(3, may1 + 120.0 / 86400, -5.0f, 12.5f, "say \"hi\", ok"),
      sample(4, may1 + 3600.0 / 86400, 22.0f, 50.0f, ""),
  };
  if (!file.writeRange(1, records).ok()) return;

  QByteArray recordBytes;
  for (const DataRecord& r : records) recordBytes += r.serialize();
  // Head: 3 rows past the end, sorted by date descending, extremes 2, 3, 2, 3.
  w.put("fuzz_record_file", QStringLiteral("four-records"),
        QByteArray("\x03\x01\x01\x02\x03\x02\x03", 7) + recordBytes);
  w.put("fuzz_record_file", QStringLiteral("cut-short"),
        QByteArray("\x00\x04\x00\x01\x01\x04\x04", 7) + recordBytes.left(200));

  DataSet set;
  set.count = static_cast<int>(records.size());
  set.interval = 60;
  set.loggerName = QStringLiteral("R101");
  const UiText texts[] = {UiText::load(UiText::Language::Japanese),
                          UiText::load(UiText::Language::English)};
  for (const UiText& t : texts) {
    const QString lang =
        t.language() == UiText::Language::Japanese ? QStringLiteral("ja") : QStringLiteral("en");
    set.model = QStringLiteral("QM120-RH");
    set.upperAlarm = {30, 6960, 128};
    set.lowerAlarm = {5, 4473, 0};
    if (const Result<QByteArray> csv = csvBytes(set, file, t); csv.ok()) {
      w.put("fuzz_csv", QStringLiteral("qm120-%1.csv").arg(lang), *csv);
    }
    set.model = QStringLiteral("QM100-RH");
    if (const Result<QByteArray> csv = csvBytes(set, file, t); csv.ok()) {
      w.put("fuzz_csv", QStringLiteral("qm100-%1.csv").arg(lang), *csv);
    }
  }
}

// A session started by `what` (the first byte of a fuzz_sessions input) run
// against the simulated logger; the seed is that byte and every answer.
QByteArray sessionSeed(const SimScenario& scenario, int what) {
  QTemporaryDir dir;
  fuzz::SessionRig rig(dir.path(), what);
  SimulatedLogger logger(scenario);
  QByteArray seed(1, static_cast<char>(what));
  rig.pipe.setPeer([&](const QByteArray& bytes) {
    logger.receive(bytes);
    for (const SimChunk& c : logger.takeOutputUntil(logger.now() + 10'000'000)) {
      seed += c.bytes;
      rig.pipe.deliver(c.bytes);
    }
  });
  const bool started = rig.start();
  // A continuous series never ends by itself: a few points make the seed.
  for (int turn = 0; started && rig.exchange.isBusy() && turn < 100000; ++turn) {
    QCoreApplication::processEvents();
    if (what == 3 && rig.app.set(kRealTimeSet).count >= 3) break;
  }
  return seed;
}

void writeSessionSeeds(SeedWriter& w) {
  const std::optional<SimScenario> scenario = w.scenario("qm120-three-blocks.json");
  if (!scenario) return;
  const char* names[] = {"download-fast", "download-slow", "measure", "measure-continuous"};
  for (int what = 0; what < 4; ++what) {
    w.put("fuzz_sessions", QLatin1String(names[what]), sessionSeed(*scenario, what));
  }
}

}  // namespace
}  // namespace termika

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_seeds CORPUS_DIR SCENARIO_DIR\n");
    return 2;
  }
  termika::SeedWriter writer(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
  termika::writeAnswerSeeds(writer);
  termika::writeReceiverSeeds(writer);
  termika::writeSettingsSeeds(writer);
  termika::writeDataSeeds(writer);
  termika::writeSessionSeeds(writer);
  return writer.ok() ? 0 : 1;
}
