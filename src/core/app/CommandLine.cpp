#include "core/app/CommandLine.h"

#include <QCommandLineParser>

#include "core/base/Says.h"

namespace termika {
namespace {

struct Options {
  QCommandLineOption lang{QStringLiteral("lang"), QStringLiteral("Language of the interface."),
                          QStringLiteral("ja|en"), QStringLiteral("ja")};
  QCommandLineOption portMap{QStringLiteral("port-map"),
                             QStringLiteral("Device name of port N, %1 standing for N."),
                             QStringLiteral("TEMPLATE")};
  QCommandLineOption adapter{QStringLiteral("adapter"),
                             QStringLiteral("Adapter-pin driver (sim:PATH for a simulated one)."),
                             QStringLiteral("A")};
  QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                QStringLiteral("Save a picture of the main window and quit."),
                                QStringLiteral("FILE")};
  QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                          QStringLiteral("Show this help.")};

  void addTo(QCommandLineParser& parser) const {
    parser.setApplicationDescription(
        QStringLiteral("Termika temperature and humidity logger utility"));
    parser.addOptions({lang, portMap, adapter, screenshot, help});
    parser.addPositionalArgument(QStringLiteral("file.csv"), QStringLiteral("A CSV file to open."));
  }
};

}  // namespace

Result<CommandLine> CommandLine::parse(const QStringList& arguments) {
  const Options options;
  QCommandLineParser parser;
  options.addTo(parser);
  if (!parser.parse(arguments)) return Error{parser.errorText()};

  CommandLine line;
  line.help = parser.isSet(options.help);
  const QString lang = parser.value(options.lang);
  if (lang == QStringLiteral("ja")) {
    line.language = UiText::Language::Japanese;
  } else if (lang == QStringLiteral("en")) {
    line.language = UiText::Language::English;
  } else {
    return Error{says("Unknown language \"%1\": use ja or en.").arg(lang)};
  }
  line.portMap = parser.value(options.portMap);
  line.adapter = parser.value(options.adapter);
  line.screenshot = parser.value(options.screenshot);
  line.files = parser.positionalArguments();
  return line;
}

QString CommandLine::usage() {
  const Options options;
  QCommandLineParser parser;
  options.addTo(parser);
  return parser.helpText();
}

}  // namespace termika
