#pragma once

#include <QObject>

// Tells when the wall clock jumped: it was set forward or back (by hand or
// by time synchronisation), or the computer woke from sleep. Timers count
// the time the program ran, so a wall-clock moment they wait for must be
// set again then.
class ClockJumps : public QObject {
    Q_OBJECT
public:
    explicit ClockJumps(QObject* parent = nullptr);
    ~ClockJumps() override;

signals:
    void jumped();

private:
    // Where the system cannot tell: compares the wall clock with the time
    // the program ran, once a minute; a jump shows as a step between them.
    void watchByTicks();
    void watch();
    int handle_ = -1;
};
