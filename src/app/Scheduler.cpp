#include "app/Scheduler.h"

namespace Scheduler {

bool questionDue(const QDateTime& now, const QDateTime& SonSoru, qint16 SorDak, bool ElleSor) {
    const bool periodOver =
        !SonSoru.isValid() ||
        now.toSecsSinceEpoch() > SonSoru.toSecsSinceEpoch() + qint64(SorDak) * 60;
    if (!periodOver)
        return false;
    return SorDak != 0 || ElleSor;
}

} // namespace Scheduler
