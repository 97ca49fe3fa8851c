#include "platform/ClockJumps.h"

// No system notice of a set clock or a resume here: the clock is looked at
// once a minute.
ClockJumps::ClockJumps(QObject* parent) : QObject(parent) {
    watchByTicks();
}

ClockJumps::~ClockJumps() = default;

void ClockJumps::watch() {}
