// Idle inhibitors: what video players, presentations and video calls set so
// that the screen does not dim, whether they ask through
// org.freedesktop.ScreenSaver or the desktop's own service. That is the one
// sign of a full-screen film or talk that every desktop gives, also for the
// windows of a Wayland session, which no other program can look at.
//
// GNOME: its session manager counts the inhibitors (IsInhibited with the
// idle flag), and says when one comes or goes. KDE Plasma, Xfce: the power
// manager's Inhibit interface (HasInhibit, HasInhibitChanged).

#include "platform/dbus/BusWatch.h"

namespace {
// GNOME's flag for "the session may not be marked idle".
constexpr uint GnomeInhibitIdle = 8;

std::unique_ptr<BusWatch> gnomeSession() {
    const QString service = QStringLiteral("org.gnome.SessionManager");
    const QString path = QStringLiteral("/org/gnome/SessionManager");
    QDBusMessage question =
        QDBusMessage::createMethodCall(service, path, service, QStringLiteral("IsInhibited"));
    question << GnomeInhibitIdle;
    auto watch = std::make_unique<BusWatch>(
        question, [](const QDBusMessage& reply) { return firstArgument(reply).toBool(); });
    watch->askAgainOn(path, service, QStringLiteral("InhibitorAdded"));
    watch->askAgainOn(path, service, QStringLiteral("InhibitorRemoved"));
    return watch;
}

std::unique_ptr<BusWatch> powerManagement() {
    const QString service = QStringLiteral("org.freedesktop.PowerManagement.Inhibit");
    const QString path = QStringLiteral("/org/freedesktop/PowerManagement/Inhibit");
    auto watch = std::make_unique<BusWatch>(
        QDBusMessage::createMethodCall(service, path, service, QStringLiteral("HasInhibit")),
        [](const QDBusMessage& reply) { return firstArgument(reply).toBool(); });
    watch->askAgainOn(path, service, QStringLiteral("HasInhibitChanged"));
    return watch;
}
} // namespace

std::unique_ptr<UserBusy> createIdleInhibitorWatch() {
    if (!QDBusConnection::sessionBus().isConnected())
        return nullptr;
    std::vector<std::unique_ptr<UserBusy>> watches;
    watches.push_back(gnomeSession());
    watches.push_back(powerManagement());
    return std::make_unique<AnyBusy>(std::move(watches));
}
