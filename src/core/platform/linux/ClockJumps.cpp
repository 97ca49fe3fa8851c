#include "platform/ClockJumps.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sys/timerfd.h>
#include <unistd.h>

// A wall-clock timer set for the end of time, cancelled by the kernel
// whenever the clock is set, and on resume from sleep: it wakes nobody
// until then.
ClockJumps::ClockJumps(QObject* parent) : QObject(parent) {
    handle_ = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (handle_ < 0) {
        qWarning("Vokabo Retano: no timer that follows the clock (%s); the clock is looked at "
                 "once a minute instead.",
                 std::strerror(errno));
        watchByTicks();
        return;
    }
    auto* notifier = new QSocketNotifier(handle_, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        std::uint64_t expirations = 0;
        const bool cancelled =
            read(handle_, &expirations, sizeof expirations) < 0 && errno == ECANCELED;
        watch();
        if (cancelled)
            emit jumped();
    });
    watch();
}

ClockJumps::~ClockJumps() {
    if (handle_ >= 0)
        close(handle_);
}

void ClockJumps::watch() {
    itimerspec never{};
    // The kernel holds the latest moment it can (the year 2262): never
    // reached, wherever the clock is set.
    never.it_value.tv_sec = std::numeric_limits<time_t>::max();
    if (timerfd_settime(handle_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr) != 0)
        qWarning("Vokabo Retano: the clock's jumps cannot be followed (%s).", std::strerror(errno));
}
