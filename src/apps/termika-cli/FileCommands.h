#pragma once

#include "CliOptions.h"

namespace termika::cli {

// print-graph, print-dump, report and export: read a saved CSV file and write
// another file, without a logger. Returns the exit code; print and report
// need a QGuiApplication (the offscreen platform will do) for fonts.
int runFileCommand(const CliOptions& options);

}  // namespace termika::cli
