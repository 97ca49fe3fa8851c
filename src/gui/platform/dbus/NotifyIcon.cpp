#include "platform/NotifyIconTray.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace NotifyIcon {

// StatusNotifierItem hosts (KDE, GNOME with the AppIndicator extension) own
// the org.kde.StatusNotifierWatcher name; XEmbed trays report presses and
// double-clicks like the Windows shell does.
std::unique_ptr<Layer> createLayer() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const bool sni =
        bus.isConnected() && bus.interface() &&
        bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
    return createTrayLayer(sni);
}

} // namespace NotifyIcon
