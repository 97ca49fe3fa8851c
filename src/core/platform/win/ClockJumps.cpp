#include "platform/ClockJumps.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <windows.h>

namespace {
// The shell tells every top-level window that the time changed, and that
// the computer resumed from sleep.
class ClockMessages : public QAbstractNativeEventFilter {
public:
    explicit ClockMessages(ClockJumps* jumps) : jumps_(jumps) {}
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "windows_generic_MSG")
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_TIMECHANGE ||
            (msg->message == WM_POWERBROADCAST && msg->wParam == PBT_APMRESUMEAUTOMATIC))
            QMetaObject::invokeMethod(jumps_, &ClockJumps::jumped, Qt::QueuedConnection);
        return false;
    }

private:
    ClockJumps* jumps_;
};
} // namespace

ClockJumps::ClockJumps(QObject* parent) : QObject(parent) {
    auto* filter = new ClockMessages(this);
    QCoreApplication::instance()->installNativeEventFilter(filter);
    connect(this, &QObject::destroyed, [filter] {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(filter);
        delete filter;
    });
}

ClockJumps::~ClockJumps() = default;

void ClockJumps::watch() {}
