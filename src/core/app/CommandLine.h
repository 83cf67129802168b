#pragma once

#include <QString>
#include <QStringList>

#include "core/base/Result.h"
#include "core/base/UiText.h"

namespace termika {

// Options of the termika command line.
struct CommandLine {
  UiText::Language language = UiText::Language::Japanese;  // --lang ja|en
  QString portMap;     // --port-map TEMPLATE: port number -> device name
  QString adapter;     // --adapter A: which adapter-pin driver to use
  QString screenshot;  // --screenshot FILE: save a picture of the window and quit
  QStringList files;   // CSV files to open at start-up
  bool help = false;

  // `arguments` starts with the program name, as QCoreApplication gives it.
  static Result<CommandLine> parse(const QStringList& arguments);
  static QString usage();
};

}  // namespace termika
