#pragma once

#include <QLatin1String>
#include <QString>

namespace termika {

// The models a logger names itself as, in answer to the identify request.
inline constexpr QLatin1String kModelWithAlarms("QM120-RH");
inline constexpr QLatin1String kModelWithoutAlarms("QM100-RH");
// A logger of this model is treated as absent.
inline constexpr QLatin1String kModelTreatedAsAbsent("QM200-RHA");

// Only one model keeps temperature alarm limits: the program sends, shows,
// prints and saves limits for that model alone.
inline bool hasAlarms(const QString& model) { return model == kModelWithAlarms; }

}  // namespace termika
