#include "core/app/DialogFilter.h"

#include <QStringList>

namespace termika {

QString dialogFilter(const QString& pipeFilter) {
  if (!pipeFilter.contains(u'|')) return pipeFilter;  // already in the dialog's form
  const QStringList parts = pipeFilter.split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString pattern = parts[i + 1].trimmed();
    if (pattern.isEmpty()) continue;
    const QString suffix = u'(' + pattern + u')';
    filters << (description.endsWith(suffix) ? description
                                             : QStringLiteral("%1 %2").arg(description, suffix));
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace termika
