#include "CliOptions.h"

#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>
#include <cmath>

#include "core/app/NameRules.h"
#include "core/app/RecordingSettings.h"
#include "core/link/AdapterPinsFactory.h"
#include "core/link/PortMap.h"
#include "core/link/SerialTransport.h"

namespace termika::cli {

namespace {

Error usageError(const QString& message) { return Error{message}; }

std::optional<int> toInt(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

// Start intervals the logger takes: 2..59 seconds, or 1..240 whole minutes.
bool isRecordingInterval(int seconds) {
  if (seconds >= RecordingSettings::kMinSeconds && seconds <= RecordingSettings::kMaxSeconds) {
    return true;
  }
  return seconds % 60 == 0 && seconds / 60 >= RecordingSettings::kMinMinutes &&
         seconds / 60 <= RecordingSettings::kMaxMinutes;
}

// Why a name cannot be the logger's, or nothing when it can.
std::optional<QString> nameProblem(const QString& name) {
  switch (name_rules::check(name)) {
    case name_rules::NameFault::None:
      return std::nullopt;
    case name_rules::NameFault::ForbiddenCharacter:
      return QStringLiteral("a name may not hold %1").arg(name_rules::forbiddenCharacters());
    case name_rules::NameFault::ControlCharacter:
      return QStringLiteral("a name may not hold control characters");
    case name_rules::NameFault::DoubleByteCharacter:
      return QStringLiteral("a name holds single-byte characters only (ASCII, half-width kana)");
    case name_rules::NameFault::TooLong:
      return QStringLiteral("a name has at most %1 characters").arg(name_rules::kMaxLength);
  }
  return std::nullopt;
}

}  // namespace

std::optional<CivilTime> parseTime(const QString& text, bool withSeconds) {
  static const QRegularExpression kFull(
      QStringLiteral("^(\\d{4})/(\\d{1,2})/(\\d{1,2}) (\\d{1,2}):(\\d{2}):(\\d{2})$"));
  static const QRegularExpression kMinutes(
      QStringLiteral("^(\\d{4})/(\\d{1,2})/(\\d{1,2}) (\\d{1,2}):(\\d{2})$"));
  const QRegularExpressionMatch m = (withSeconds ? kFull : kMinutes).match(text.trimmed());
  if (!m.hasMatch()) return std::nullopt;
  CivilTime t{m.captured(1).toInt(), m.captured(2).toInt(),
              m.captured(3).toInt(), m.captured(4).toInt(),
              m.captured(5).toInt(), withSeconds ? m.captured(6).toInt() : 0};
  if (!isValidCivil(t)) return std::nullopt;
  return t;
}

QString CliOptions::usage() {
  return QStringLiteral(
      "usage: termika-cli [--device PATH | --port N] [--port-map TEMPLATE] "
      "[--adapter ftdi|sim:PATH|none]\n"
      "                   [--baud B] [--lang ja|en] [--verbose] COMMAND [options]\n"
      "       termika-cli --version | --help\n"
      "  probe                         find the logger (adapter pulse, ports 16..1), print port "
      "and model\n"
      "  status                        print every status field, one \"name: value\" line each\n"
      "  download [--slow] -o FILE.csv download all points and save them as the program's CSV\n"
      "  measure [--count N] [--every S]   real-time measurements, one CSV-style line per point\n"
      "  set-clock [--time \"YYYY/MM/DD hh:mm:ss\"]   default: now; years 2000..2099\n"
      "  set-name NAME                 four characters, same rules as the name dialog\n"
      "  start --mode one-time|loop --interval SECONDS [--high T] [--low T] "
      "[--at \"YYYY/MM/DD hh:mm\"]\n"
      "        [--discard-undownloaded]   a start erases points never downloaded: refused\n"
      "                                   unless this is given\n"
      "  stop\n"
      "  stats FILE.csv                count, first/last time, min/max/mean of temperature and "
      "humidity,\n"
      "                                and the mean kinetic temperature (activation energy "
      "83.144 kJ/mol)\n"
      "  print-graph FILE.csv -o OUT.pdf   the graph page of a saved CSV file as a PDF\n"
      "  print-dump FILE.csv -o OUT.pdf    the dump pages of a saved CSV file as a PDF\n"
      "  report FILE.csv -o OUT.pdf [--high T] [--low T] [--activation-energy KJ] [--with-dump]\n"
      "        summary (statistics, mean kinetic temperature, time beyond the limits,\n"
      "        excursions, gaps, PASS/FAIL), then the graph; limits default to the file's\n"
      "  export FILE.csv -o OUT [--format csv-utf8|json]   UTF-8 CSV (default) or JSON with\n"
      "        ISO 8601 times, for other programs\n");
}

namespace {

QCommandLineOption valueOption(const QStringList& names, const char* valueName) {
  return QCommandLineOption(names, QString(), QString::fromLatin1(valueName));
}

// The options before the command, checked as far as no logger is needed.
Result<void> readGlobalOptions(const QCommandLineParser& parser, CliOptions& o) {
  o.verbose = parser.isSet(QStringLiteral("verbose"));
  if (parser.isSet(QStringLiteral("device"))) {
    // Relative to the working folder, as with every other program.
    o.device = QDir::current().absoluteFilePath(parser.value(QStringLiteral("device")));
  }
  if (parser.isSet(QStringLiteral("port"))) {
    const auto p = toInt(parser.value(QStringLiteral("port")));
    if (!p || *p < 1 || *p > 255) return usageError(QStringLiteral("--port takes 1..255"));
    o.port = p;
  }
  if (parser.isSet(QStringLiteral("port-map"))) {
    o.portMap = parser.value(QStringLiteral("port-map"));
    if (const auto map = PortMap::fromTemplate(o.portMap); !map) return map.error();
  }
  if (parser.isSet(QStringLiteral("adapter"))) {
    o.adapter = parser.value(QStringLiteral("adapter"));
    if (const auto pins = makeAdapterPins(o.adapter); !pins) return pins.error();
  }
  if (parser.isSet(QStringLiteral("baud"))) {
    o.baud = parser.value(QStringLiteral("baud"));
    if (const auto baud = SerialTransport::parseBaudSetting(o.baud); !baud) return baud.error();
  }
  if (parser.isSet(QStringLiteral("lang"))) {
    const QString lang = parser.value(QStringLiteral("lang"));
    if (lang == QLatin1String("ja")) {
      o.language = UiText::Language::Japanese;
    } else if (lang == QLatin1String("en")) {
      o.language = UiText::Language::English;
    } else {
      return usageError(QStringLiteral("--lang takes ja or en"));
    }
  }
  if (!o.device.isEmpty() && o.port) {
    return usageError(QStringLiteral("--device and --port exclude each other"));
  }
  return {};
}

// The options `command` takes; any other option is a usage error.
QList<QCommandLineOption> commandOptions(const QString& command) {
  const QCommandLineOption output =
      valueOption({QStringLiteral("o"), QStringLiteral("output")}, "FILE");
  if (command == QLatin1String("download")) {
    return {QCommandLineOption(QStringLiteral("slow")), output};
  }
  if (command == QLatin1String("print-graph") || command == QLatin1String("print-dump")) {
    return {output};
  }
  if (command == QLatin1String("report")) {
    return {output, valueOption({QStringLiteral("high")}, "T"),
            valueOption({QStringLiteral("low")}, "T"),
            valueOption({QStringLiteral("activation-energy")}, "KJ"),
            QCommandLineOption(QStringLiteral("with-dump"))};
  }
  if (command == QLatin1String("export")) {
    return {output, valueOption({QStringLiteral("format")}, "FORMAT")};
  }
  if (command == QLatin1String("measure")) {
    return {valueOption({QStringLiteral("count")}, "N"),
            valueOption({QStringLiteral("every")}, "S")};
  }
  if (command == QLatin1String("set-clock")) return {valueOption({QStringLiteral("time")}, "T")};
  if (command == QLatin1String("start")) {
    return {valueOption({QStringLiteral("mode")}, "MODE"),
            valueOption({QStringLiteral("interval")}, "SECONDS"),
            valueOption({QStringLiteral("high")}, "T"),
            valueOption({QStringLiteral("low")}, "T"),
            valueOption({QStringLiteral("at")}, "TIME"),
            QCommandLineOption(QStringLiteral("discard-undownloaded"))};
  }
  return {};
}

Result<void> readMeasureOptions(const QCommandLineParser& parser, CliOptions& o) {
  if (parser.isSet(QStringLiteral("count"))) {
    const auto c = toInt(parser.value(QStringLiteral("count")));
    if (!c || *c < 1 || *c > 32767) return usageError(QStringLiteral("--count takes 1..32767"));
    o.count = *c;
  }
  if (parser.isSet(QStringLiteral("every"))) {
    const auto e = toInt(parser.value(QStringLiteral("every")));
    if (!e || *e < 2 || *e > 60) return usageError(QStringLiteral("--every takes 2..60 seconds"));
    o.every = *e;
  }
  return {};
}

Result<void> readClockOptions(const QCommandLineParser& parser, CliOptions& o) {
  if (!parser.isSet(QStringLiteral("time"))) return {};
  o.time = parseTime(parser.value(QStringLiteral("time")), true);
  if (!o.time) return usageError(QStringLiteral("--time takes \"YYYY/MM/DD hh:mm:ss\""));
  // Two digits of the year reach the logger, read as 20xx.
  if (o.time->year < 2000 || o.time->year > 2099) {
    return usageError(QStringLiteral("--time takes a year from 2000 to 2099"));
  }
  return {};
}

Result<void> readStartOptions(const QCommandLineParser& parser, CliOptions& o) {
  o.discardUndownloaded = parser.isSet(QStringLiteral("discard-undownloaded"));
  if (!parser.isSet(QStringLiteral("mode")) || !parser.isSet(QStringLiteral("interval"))) {
    return usageError(QStringLiteral("start needs --mode and --interval"));
  }
  const QString mode = parser.value(QStringLiteral("mode"));
  if (mode != QLatin1String("one-time") && mode != QLatin1String("loop")) {
    return usageError(QStringLiteral("--mode takes one-time or loop"));
  }
  o.loop = mode == QLatin1String("loop");
  const auto s = toInt(parser.value(QStringLiteral("interval")));
  if (!s || !isRecordingInterval(*s)) {
    return usageError(
        QStringLiteral("--interval takes 2..59 seconds or whole minutes up to 240 (60..14400)"));
  }
  o.intervalSeconds = *s;
  if (parser.isSet(QStringLiteral("high"))) {
    o.high = toInt(parser.value(QStringLiteral("high")));
    if (!o.high || *o.high < RecordingSettings::kUpperMin ||
        *o.high > RecordingSettings::kUpperMax) {
      return usageError(QStringLiteral("--high takes -19..70 (whole degrees)"));
    }
  }
  if (parser.isSet(QStringLiteral("low"))) {
    o.low = toInt(parser.value(QStringLiteral("low")));
    if (!o.low || *o.low < RecordingSettings::kLowerMin || *o.low > RecordingSettings::kLowerMax) {
      return usageError(QStringLiteral("--low takes -20..69 (whole degrees)"));
    }
  }
  if (parser.isSet(QStringLiteral("at"))) {
    o.at = parseTime(parser.value(QStringLiteral("at")), false);
    if (!o.at) return usageError(QStringLiteral("--at takes \"YYYY/MM/DD hh:mm\""));
  }
  if (o.high && o.low && *o.high <= *o.low) {
    return usageError(QStringLiteral("--high must lie above --low"));
  }
  return {};
}

// report: limits in °C with decimals (a report may check 2.5 to 7.5 °C),
// the activation energy of the mean kinetic temperature, the dump pages.
Result<void> readReportOptions(const QCommandLineParser& parser, CliOptions& o) {
  o.withDump = parser.isSet(QStringLiteral("with-dump"));
  for (const char* name : {"high", "low"}) {
    const QString option = QString::fromLatin1(name);
    if (!parser.isSet(option)) continue;
    bool ok = false;
    const double limit = parser.value(option).toDouble(&ok);
    if (!ok || !std::isfinite(limit)) {
      return usageError(QStringLiteral("--%1 takes a temperature in °C").arg(option));
    }
    (option == QLatin1String("high") ? o.reportHigh : o.reportLow) = limit;
  }
  if (o.reportHigh && o.reportLow && *o.reportHigh <= *o.reportLow) {
    return usageError(QStringLiteral("--high must lie above --low"));
  }
  if (parser.isSet(QStringLiteral("activation-energy"))) {
    bool ok = false;
    o.activationEnergy = parser.value(QStringLiteral("activation-energy")).toDouble(&ok);
    if (!ok || !std::isfinite(o.activationEnergy) || o.activationEnergy <= 0.0) {
      return usageError(QStringLiteral("--activation-energy takes kJ/mol above 0"));
    }
  }
  return {};
}

Result<void> readExportOptions(const QCommandLineParser& parser, CliOptions& o) {
  if (!parser.isSet(QStringLiteral("format"))) return {};
  const std::optional<ExportFormat> format =
      exportFormatNamed(parser.value(QStringLiteral("format")));
  if (!format) return usageError(QStringLiteral("--format takes csv-utf8 or json"));
  o.exportFormat = *format;
  return {};
}

// A parser's own complaint (a missing value, an option the command does not take).
Error parserError(const QCommandLineParser& parser, const QString& command) {
  const QStringList unknown = parser.unknownOptionNames();
  if (unknown.isEmpty()) return usageError(parser.errorText());
  const QString name =
      (unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + unknown.first();
  return command.isEmpty()
             ? usageError(QStringLiteral("unknown option %1").arg(name))
             : usageError(QStringLiteral("unknown option %1 for %2").arg(name, command));
}

}  // namespace

Result<CliOptions> CliOptions::parse(const QStringList& arguments) {
  CliOptions o;
  const QString program = QStringLiteral("termika-cli");
  // Global options up to the command; what follows is the command's.
  QCommandLineParser global;
  global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  global.addOptions(
      {valueOption({QStringLiteral("device")}, "PATH"), valueOption({QStringLiteral("port")}, "N"),
       valueOption({QStringLiteral("port-map")}, "TEMPLATE"),
       valueOption({QStringLiteral("adapter")}, "ADAPTER"),
       valueOption({QStringLiteral("baud")}, "B"), valueOption({QStringLiteral("lang")}, "LANG"),
       QCommandLineOption(QStringLiteral("verbose"))});
  if (!global.parse(QStringList{program} + arguments)) return parserError(global, QString());
  if (const Result<void> ok = readGlobalOptions(global, o); !ok) return ok.error();
  const QStringList rest = global.positionalArguments();
  if (rest.isEmpty()) return usageError(QStringLiteral("no command given"));
  o.command = rest.first();

  QCommandLineParser local;
  local.addOptions(commandOptions(o.command));
  if (!local.parse(QStringList{program} + rest.mid(1))) return parserError(local, o.command);
  const QStringList positional = local.positionalArguments();
  o.slow = o.command == QLatin1String("download") && local.isSet(QStringLiteral("slow"));
  if (o.command == QLatin1String("download") || o.worksOnFile()) {
    const QStringList outputs = local.values(QStringLiteral("output"));
    if (outputs.size() > 1) return usageError(QStringLiteral("-o is given twice"));
    if (!outputs.isEmpty()) o.output = outputs.first();
  }
  Result<void> read;
  if (o.command == QLatin1String("measure")) read = readMeasureOptions(local, o);
  if (o.command == QLatin1String("set-clock")) read = readClockOptions(local, o);
  if (o.command == QLatin1String("report")) read = readReportOptions(local, o);
  if (o.command == QLatin1String("export")) read = readExportOptions(local, o);
  if (!read) return read.error();

  const QString& c = o.command;
  const bool takesOne =
      c == QLatin1String("set-name") || c == QLatin1String("stats") || o.worksOnFile();
  if (takesOne ? positional.size() != 1 : !positional.isEmpty()) {
    return usageError(takesOne ? QStringLiteral("%1 takes one argument").arg(c)
                               : QStringLiteral("unexpected argument %1").arg(positional.first()));
  }
  if (c == QLatin1String("set-name")) {
    o.name = positional.first();
    if (const auto problem = nameProblem(o.name)) {
      return usageError(QStringLiteral("set-name: %1").arg(*problem));
    }
  } else if (c == QLatin1String("stats")) {
    o.file = positional.first();
  } else if (o.worksOnFile()) {
    o.file = positional.first();
    if (o.output.isEmpty()) return usageError(QStringLiteral("%1 needs -o OUT").arg(c));
  } else if (c == QLatin1String("download")) {
    if (o.output.isEmpty()) return usageError(QStringLiteral("download needs -o FILE.csv"));
  } else if (c == QLatin1String("start")) {
    if (const Result<void> ok = readStartOptions(local, o); !ok) return ok.error();
  } else if (c != QLatin1String("probe") && c != QLatin1String("status") &&
             c != QLatin1String("measure") && c != QLatin1String("set-clock") &&
             c != QLatin1String("stop")) {
    return usageError(QStringLiteral("unknown command %1").arg(c));
  }
  return o;
}

}  // namespace termika::cli
