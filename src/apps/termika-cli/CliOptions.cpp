#include "CliOptions.h"

#include <cmath>

#include <QDir>
#include <QRegularExpression>

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

Result<CliOptions> CliOptions::parse(const QStringList& arguments) {
  CliOptions o;
  int i = 0;
  const int n = static_cast<int>(arguments.size());
  auto value = [&](const QString& option) -> std::optional<QString> {
    if (i + 1 >= n) return std::nullopt;
    Q_UNUSED(option);
    return arguments.at(++i);
  };
  // Global options up to the command.
  for (; i < n; ++i) {
    const QString& a = arguments.at(i);
    if (!a.startsWith(QLatin1String("--"))) break;
    if (a == QLatin1String("--verbose")) {
      o.verbose = true;
      continue;
    }
    const auto v = value(a);
    if (!v) return usageError(QStringLiteral("%1 needs a value").arg(a));
    if (a == QLatin1String("--device")) {
      // Relative to the working folder, as with every other program.
      o.device = QDir::current().absoluteFilePath(*v);
    } else if (a == QLatin1String("--port")) {
      const auto p = toInt(*v);
      if (!p || *p < 1 || *p > 255) return usageError(QStringLiteral("--port takes 1..255"));
      o.port = p;
    } else if (a == QLatin1String("--port-map")) {
      if (const auto map = PortMap::fromTemplate(*v); !map) return map.error();
      o.portMap = *v;
    } else if (a == QLatin1String("--adapter")) {
      if (const auto pins = makeAdapterPins(*v); !pins) return pins.error();
      o.adapter = *v;
    } else if (a == QLatin1String("--baud")) {
      if (const auto baud = SerialTransport::parseBaudSetting(*v); !baud) return baud.error();
      o.baud = *v;
    } else if (a == QLatin1String("--lang")) {
      if (*v == QLatin1String("ja")) {
        o.language = UiText::Language::Japanese;
      } else if (*v == QLatin1String("en")) {
        o.language = UiText::Language::English;
      } else {
        return usageError(QStringLiteral("--lang takes ja or en"));
      }
    } else {
      return usageError(QStringLiteral("unknown option %1").arg(a));
    }
  }
  if (!o.device.isEmpty() && o.port) {
    return usageError(QStringLiteral("--device and --port exclude each other"));
  }
  if (i >= n) return usageError(QStringLiteral("no command given"));
  o.command = arguments.at(i++);

  // Positional arguments of the commands that take one.
  QStringList positional;
  bool modeGiven = false;
  bool intervalGiven = false;
  for (; i < n; ++i) {
    const QString& a = arguments.at(i);
    if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
      positional << a;
      continue;
    }
    if (a == QLatin1String("--slow") && o.command == QLatin1String("download")) {
      o.slow = true;
      continue;
    }
    if (a == QLatin1String("--discard-undownloaded") && o.command == QLatin1String("start")) {
      o.discardUndownloaded = true;
      continue;
    }
    if (a == QLatin1String("--with-dump") && o.command == QLatin1String("report")) {
      o.withDump = true;
      continue;
    }
    const auto v = value(a);
    if (!v) return usageError(QStringLiteral("%1 needs a value").arg(a));
    if ((o.command == QLatin1String("download") || o.worksOnFile()) &&
        (a == QLatin1String("-o") || a == QLatin1String("--output"))) {
      if (!o.output.isEmpty()) return usageError(QStringLiteral("-o is given twice"));
      o.output = *v;
    } else if (o.command == QLatin1String("measure") && a == QLatin1String("--count")) {
      const auto c = toInt(*v);
      if (!c || *c < 1 || *c > 32767) return usageError(QStringLiteral("--count takes 1..32767"));
      o.count = *c;
    } else if (o.command == QLatin1String("measure") && a == QLatin1String("--every")) {
      const auto e = toInt(*v);
      if (!e || *e < 2 || *e > 60) return usageError(QStringLiteral("--every takes 2..60 seconds"));
      o.every = *e;
    } else if (o.command == QLatin1String("set-clock") && a == QLatin1String("--time")) {
      o.time = parseTime(*v, true);
      if (!o.time) return usageError(QStringLiteral("--time takes \"YYYY/MM/DD hh:mm:ss\""));
      // Two digits of the year reach the logger, read as 20xx.
      if (o.time->year < 2000 || o.time->year > 2099) {
        return usageError(QStringLiteral("--time takes a year from 2000 to 2099"));
      }
    } else if (o.command == QLatin1String("start") && a == QLatin1String("--mode")) {
      if (*v == QLatin1String("one-time")) {
        o.loop = false;
      } else if (*v == QLatin1String("loop")) {
        o.loop = true;
      } else {
        return usageError(QStringLiteral("--mode takes one-time or loop"));
      }
      modeGiven = true;
    } else if (o.command == QLatin1String("start") && a == QLatin1String("--interval")) {
      const auto s = toInt(*v);
      if (!s || !isRecordingInterval(*s)) {
        return usageError(QStringLiteral(
            "--interval takes 2..59 seconds or whole minutes up to 240 (60..14400)"));
      }
      o.intervalSeconds = *s;
      intervalGiven = true;
    } else if (o.command == QLatin1String("start") && a == QLatin1String("--high")) {
      o.high = toInt(*v);
      if (!o.high || *o.high < RecordingSettings::kUpperMin ||
          *o.high > RecordingSettings::kUpperMax) {
        return usageError(QStringLiteral("--high takes -19..70 (whole degrees)"));
      }
    } else if (o.command == QLatin1String("start") && a == QLatin1String("--low")) {
      o.low = toInt(*v);
      if (!o.low || *o.low < RecordingSettings::kLowerMin ||
          *o.low > RecordingSettings::kLowerMax) {
        return usageError(QStringLiteral("--low takes -20..69 (whole degrees)"));
      }
    } else if (o.command == QLatin1String("report") &&
               (a == QLatin1String("--high") || a == QLatin1String("--low"))) {
      bool ok = false;
      const double limit = v->toDouble(&ok);
      if (!ok || !std::isfinite(limit)) {
        return usageError(QStringLiteral("%1 takes a temperature in °C").arg(a));
      }
      (a == QLatin1String("--high") ? o.reportHigh : o.reportLow) = limit;
    } else if (o.command == QLatin1String("report") &&
               a == QLatin1String("--activation-energy")) {
      bool ok = false;
      o.activationEnergy = v->toDouble(&ok);
      if (!ok || !std::isfinite(o.activationEnergy) || o.activationEnergy <= 0.0) {
        return usageError(QStringLiteral("--activation-energy takes kJ/mol above 0"));
      }
    } else if (o.command == QLatin1String("export") && a == QLatin1String("--format")) {
      const std::optional<ExportFormat> format = exportFormatNamed(*v);
      if (!format) return usageError(QStringLiteral("--format takes csv-utf8 or json"));
      o.exportFormat = *format;
    } else if (o.command == QLatin1String("start") && a == QLatin1String("--at")) {
      o.at = parseTime(*v, false);
      if (!o.at) return usageError(QStringLiteral("--at takes \"YYYY/MM/DD hh:mm\""));
    } else {
      return usageError(QStringLiteral("unknown option %1 for %2").arg(a, o.command));
    }
  }

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
    if (o.reportHigh && o.reportLow && *o.reportHigh <= *o.reportLow) {
      return usageError(QStringLiteral("--high must lie above --low"));
    }
  } else if (c == QLatin1String("download")) {
    if (o.output.isEmpty()) return usageError(QStringLiteral("download needs -o FILE.csv"));
  } else if (c == QLatin1String("start")) {
    if (!modeGiven || !intervalGiven) {
      return usageError(QStringLiteral("start needs --mode and --interval"));
    }
    if (o.high && o.low && *o.high <= *o.low) {
      return usageError(QStringLiteral("--high must lie above --low"));
    }
  } else if (c != QLatin1String("probe") && c != QLatin1String("status") &&
             c != QLatin1String("measure") && c != QLatin1String("set-clock") &&
             c != QLatin1String("stop")) {
    return usageError(QStringLiteral("unknown command %1").arg(c));
  }
  return o;
}

}  // namespace termika::cli
