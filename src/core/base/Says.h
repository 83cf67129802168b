#pragma once

#include <QCoreApplication>
#include <QString>

namespace termika {

// A message of ours in the language of the run. The English text is the key
// of the Japanese message table (texts/messages-ja.tsv), which the program
// installs at start when it runs in Japanese; without it the text stays
// English.
inline QString says(const char* english) { return QCoreApplication::translate("termika", english); }

}  // namespace termika
