// The desktop's "do not disturb": the Inhibited property of the
// freedesktop notification service and its change signal, where the
// service offers them (KDE Plasma does; others may not); and GNOME's own,
// which switches its banners off (the setting show-banners of
// org.gnome.desktop.notifications), read through the desktop portal's
// settings, so that no settings library is needed.

#include "platform/BusWatch_dbus.h"
#include "platform/UserBusy.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace {
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
} // namespace

class NotificationsInhibited : public UserBusy {
    Q_OBJECT
public:
    NotificationsInhibited() : bus_(QDBusConnection::sessionBus()) {
        bus_.connect(Service, Path, Properties, QStringLiteral("PropertiesChanged"), this,
                     SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        // A service that comes, goes or is replaced knows its own state.
        auto* owner =
            new QDBusServiceWatcher(Service, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] {
            set(false);
            ask();
        });
        ask();
    }

    bool busy() override { return inhibited_; }

private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& invalidated) {
        if (interface != Service)
            return;
        if (const auto value = changed.constFind(QStringLiteral("Inhibited"));
            value != changed.constEnd())
            set(value->toBool());
        else if (invalidated.contains(QStringLiteral("Inhibited")))
            ask();
    }

private:
    void ask() {
        QDBusMessage get =
            QDBusMessage::createMethodCall(Service, Path, Properties, QStringLiteral("Get"));
        get << Service << QStringLiteral("Inhibited");
        // Asking must not start a notification service that is not running.
        get.setAutoStartService(false);
        auto* call = new QDBusPendingCallWatcher(bus_.asyncCall(get), this);
        connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
            const QDBusPendingReply<QDBusVariant> reply = *w;
            // A service without the property is never inhibited.
            set(!reply.isError() && reply.value().variant().toBool());
            w->deleteLater();
        });
    }

    void set(bool inhibited) {
        if (inhibited == inhibited_)
            return;
        inhibited_ = inhibited;
        emit changed();
    }

    QDBusConnection bus_;
    bool inhibited_ = false;
};

namespace {
std::unique_ptr<BusWatch> gnomeBannersOff() {
    const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
    const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
    const QString settings = QStringLiteral("org.freedesktop.portal.Settings");
    QDBusMessage question =
        QDBusMessage::createMethodCall(service, path, settings, QStringLiteral("Read"));
    question << QStringLiteral("org.gnome.desktop.notifications") << QStringLiteral("show-banners");
    auto watch = std::make_unique<BusWatch>(question, [](const QDBusMessage& reply) {
        const QVariant shown = firstArgument(reply);
        return shown.typeId() == QMetaType::Bool && !shown.toBool();
    });
    watch->askAgainOn(path, settings, QStringLiteral("SettingChanged"));
    return watch;
}
} // namespace

std::unique_ptr<UserBusy> createDoNotDisturbWatch() {
    if (!QDBusConnection::sessionBus().isConnected())
        return nullptr;
    std::vector<std::unique_ptr<UserBusy>> watches;
    watches.push_back(std::make_unique<NotificationsInhibited>());
    watches.push_back(gnomeBannersOff());
    return std::make_unique<AnyBusy>(std::move(watches));
}

#include "DoNotDisturb_dbus.moc"
