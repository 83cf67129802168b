#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/base/Result.h"
#include "core/base/UiText.h"
#include "core/data/DayTime.h"
#include "core/data/Export.h"

namespace termika::cli {

// The command line of termika-cli: global options, one command, its options.
struct CliOptions {
  // Global options.
  QString device;           // --device PATH: open this port, no scan
  std::optional<int> port;  // --port N: probe this port only
  QString portMap;          // --port-map TEMPLATE
  QString adapter;          // --adapter ftdi|sim:PATH|none
  QString baud = QStringLiteral("57600");
  UiText::Language language = UiText::Language::Japanese;
  bool verbose = false;  // --verbose: notes about the port (RTS on a pty, ...)

  QString command;  // probe, status, download, ..., stats, print-graph, print-dump

  // Command options.
  bool slow = false;                                  // download --slow
  QString output;                                     // download -o FILE.csv
  int count = 1;                                      // measure --count N
  int every = 5;                                      // measure --every S (2..60)
  std::optional<CivilTime> time;                      // set-clock --time
  QString name;                                       // set-name NAME
  bool loop = false;                                  // start --mode
  int intervalSeconds = 0;                            // start --interval
  std::optional<int> high;                            // start --high T
  std::optional<int> low;                             // start --low T
  std::optional<CivilTime> at;                        // start --at (seconds 0)
  bool discardUndownloaded = false;                   // start --discard-undownloaded
  QString file;                                       // stats / print-* / report / export FILE.csv
  double activationEnergy = 83.144;                   // report --activation-energy KJ_PER_MOL
  std::optional<double> reportHigh;                   // report --high T (°C, decimals allowed)
  std::optional<double> reportLow;                    // report --low T
  bool withDump = false;                              // report --with-dump
  ExportFormat exportFormat = ExportFormat::Utf8Csv;  // export --format

  bool isPrint() const {
    return command == QLatin1String("print-graph") || command == QLatin1String("print-dump");
  }
  // Commands that read a saved CSV file and write another file, no logger.
  bool worksOnFile() const {
    return isPrint() || command == QLatin1String("report") || command == QLatin1String("export");
  }

  // `arguments` without the program name, file names as fileNameFromNative
  // gives them. The error is a usage error: everything that can be judged
  // without a logger is judged here.
  static Result<CliOptions> parse(const QStringList& arguments);
  static QString usage();
};

// "YYYY/MM/DD hh:mm:ss" (withSeconds) or "YYYY/MM/DD hh:mm"; nullopt when
// malformed or not a real date.
std::optional<CivilTime> parseTime(const QString& text, bool withSeconds);

}  // namespace termika::cli
