#include "platform/UserBusy.h"

#include <QTimer>
#include <windows.h>

// shellapi.h needs windows.h before it.
#include <shellapi.h>

namespace {
// The shell knows when a full-screen program, a presentation or quiet hours
// hold notifications, but tells nobody when that ends: while it says busy,
// it is asked again every 2 seconds.
class ShellNotificationState : public UserBusy {
public:
    ShellNotificationState() : again_(new QTimer(this)) {
        again_->setInterval(2000);
        connect(again_, &QTimer::timeout, this, [this] {
            if (!busy())
                emit changed();
        });
    }

    bool busy() override {
        QUERY_USER_NOTIFICATION_STATE state{};
        const bool now = SUCCEEDED(SHQueryUserNotificationState(&state)) &&
                         (state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN ||
                          state == QUNS_PRESENTATION_MODE || state == QUNS_QUIET_TIME);
        if (now)
            again_->start();
        else
            again_->stop();
        return now;
    }

private:
    QTimer* again_;
};
} // namespace

std::unique_ptr<UserBusy> createFullScreenWatch() {
    return std::make_unique<ShellNotificationState>();
}
