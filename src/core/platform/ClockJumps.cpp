#include "platform/ClockJumps.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {
constexpr int TickMs = 60 * 1000;
constexpr qint64 JumpMs = 2000;
} // namespace

void ClockJumps::watchByTicks() {
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
}
