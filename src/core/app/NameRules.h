#pragma once

#include <QString>

#include "core/base/TextId.h"

namespace termika {

class UiText;

// The rules of a logger's identification name: at most four characters,
// single-byte only (the logger stores one byte per character), no control
// characters and none of the nine characters that are not allowed in file
// names. The dialogs and termika-cli judge a name by check() alone.
namespace name_rules {

constexpr int kMaxLength = 4;

enum class NameFault { None, ForbiddenCharacter, ControlCharacter, DoubleByteCharacter, TooLong };

// The nine forbidden characters, in the order the refusal message lists them.
QString forbiddenCharacters();
// Eleven blanks, then the forbidden characters separated by one blank.
QString forbiddenCharacterLine();

bool containsForbidden(const QString& name);
NameFault check(const QString& name);

// The characters of `name` that cannot be stored, each once, in order.
QString unstorableCharacters(const QString& name);

// The refusal message: text `heading`, two carriage returns and either the
// list of forbidden characters or the double-byte characters that were typed.
QString refusalMessage(const UiText& texts, TextId heading, const QString& name);

// The name as the logger receives it: its first four characters, padded on
// the left with blanks to four.
QString padded(const QString& name);

}  // namespace name_rules
}  // namespace termika
