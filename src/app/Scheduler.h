#pragma once

#include <QDateTime>

namespace Scheduler {

// Whether the scheduler's tick should compose a question now: the period has
// passed since the last series ended (counted in whole seconds), or a
// question is due at once (SonSoru is the zero date); and questions are
// scheduled, or the user asked for one.
bool questionDue(const QDateTime& now, const QDateTime& SonSoru, qint16 SorDak, bool ElleSor);

} // namespace Scheduler
