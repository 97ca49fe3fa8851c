#include "platform/ClockJumps.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <sys/timerfd.h>
#include <unistd.h>
#include <utility>

namespace {
// Without a timer to cancel, the wall clock is compared with the time the
// program ran once a minute: a jump shows as a step between the two.
constexpr int TickMs = 60 * 1000;
constexpr qint64 JumpMs = 2000;
} // namespace

// A wall-clock timer set for the end of time, cancelled by the kernel
// whenever the clock is set, and on resume from sleep: it wakes nobody
// until then.
ClockJumps::ClockJumps(QObject* parent) : QObject(parent) {
    handle_ = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (handle_ < 0) {
        qWarning("Vokabo Retano: no timer that follows the clock (%s); the clock is looked at "
                 "once a minute instead.",
                 std::strerror(errno));
        struct Clocks {
            QElapsedTimer ran;
            qint64 offset = QDateTime::currentMSecsSinceEpoch();
        };
        auto clocks = std::make_shared<Clocks>();
        clocks->ran.start();
        auto* ticks = new QTimer(this);
        connect(ticks, &QTimer::timeout, this, [this, clocks] {
            const qint64 offset = QDateTime::currentMSecsSinceEpoch() - clocks->ran.elapsed();
            if (std::abs(offset - std::exchange(clocks->offset, offset)) > JumpMs)
                emit jumped();
        });
        ticks->start(TickMs);
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
