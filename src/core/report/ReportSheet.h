#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "core/report/Summary.h"

namespace termika::report {

// Where the summary's readings came from, for the report's header.
struct Source {
  QString model;
  QString loggerName;
  QString origin;  // the CSV file, or when the points were downloaded
};

// One line of the summary page. Fields are a label and its value; table
// rows put their cells in the columns of the table heading above them.
struct SheetLine {
  enum class Kind { Title, Heading, Field, TableHeading, TableRow, Verdict, Blank };
  Kind kind = Kind::Blank;
  QStringList cells;
};

// The summary page as text lines in the language of the installed
// translation, so that the printed page and its tests read the same words.
std::vector<SheetLine> summarySheet(const Summary& summary, const Source& source);

// "49:05:00": hours run past a day, so durations add up at a glance.
QString durationText(std::int64_t seconds);

}  // namespace termika::report
