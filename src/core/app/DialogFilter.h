#pragma once

#include <QString>

namespace termika {

// The file-type texts are "description|pattern|description|pattern...".
// Turns them into the form of QFileDialog ("description (pattern);;..."),
// keeping a description that already ends with its pattern in parentheses.
// Text without a "|" is taken to be in the dialog's form already.
QString dialogFilter(const QString& pipeFilter);

}  // namespace termika
