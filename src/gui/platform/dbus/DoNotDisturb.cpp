// The desktop's "do not disturb": the Inhibited property of the
// freedesktop notification service and its change signal, where the
// service offers them (KDE Plasma does; others may not); and GNOME's own,
// which switches its banners off (the setting show-banners of
// org.gnome.desktop.notifications).

#include "platform/UserBusy.h"

#include <QProcess>
#include <QStandardPaths>
#include <utility>

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

class NotificationsInhibited : public AnsweredWatch {
    Q_OBJECT
public:
    NotificationsInhibited() : bus_(QDBusConnection::sessionBus()) {
        bus_.connect(Service, Path, Properties, QStringLiteral("PropertiesChanged"), this,
                     SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        // A service that comes, goes or is replaced knows its own state.
        auto* owner =
            new QDBusServiceWatcher(Service, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] {
            answer(false);
            ask();
        });
        ask();
    }

private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& invalidated) {
        if (interface != Service)
            return;
        if (const auto value = changed.constFind(QStringLiteral("Inhibited"));
            value != changed.constEnd())
            answer(value->toBool());
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
            answer(!reply.isError() && reply.value().variant().toBool());
            w->deleteLater();
        });
    }

    QDBusConnection bus_;
};

// GNOME's "do not disturb" turns its banners off. The setting lives in
// dconf, which is read from a file of its own format and has no reading
// service; the gsettings command reads it, and dconf's service says on the
// bus when it has written a change.
class GnomeBannersOff : public AnsweredWatch {
    Q_OBJECT
public:
    GnomeBannersOff() : gsettings_(QStandardPaths::findExecutable(QStringLiteral("gsettings"))) {
        QDBusConnection::sessionBus().connect(
            QString(), QStringLiteral("/ca/desrt/dconf/Writer/user"),
            QStringLiteral("ca.desrt.dconf.Writer"), QStringLiteral("Notify"), this,
            SLOT(written(QString, QStringList, QString)));
        ask();
    }

private slots:
    // prefix plus each of paths names what changed: a key, or a folder of
    // keys that were reset.
    void written(const QString& prefix, const QStringList& paths, const QString&) {
        static const QString key = QStringLiteral("/org/gnome/desktop/notifications/show-banners");
        for (const QString& path : paths.isEmpty() ? QStringList{QString()} : paths)
            if (const QString changed = prefix + path;
                key.startsWith(changed) || changed.startsWith(key)) {
                ask();
                return;
            }
    }

private:
    void ask() {
        // Without the command there are no GNOME settings to heed.
        if (gsettings_.isEmpty()) {
            answer(false);
            return;
        }
        if (reading_) {
            askAgain_ = true;
            return;
        }
        reading_ = true;
        auto* read = new QProcess(this);
        read->setStandardErrorFile(QProcess::nullDevice());
        connect(read, &QProcess::finished, this, [this, read](int code, QProcess::ExitStatus how) {
            read->deleteLater();
            reading_ = false;
            // Without GNOME's settings (no such schema) the banners are on.
            answer(how == QProcess::NormalExit && code == 0 &&
                   read->readAllStandardOutput().trimmed() == "false");
            if (std::exchange(askAgain_, false))
                ask();
        });
        connect(read, &QProcess::errorOccurred, this, [this, read](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart)
                return;
            read->deleteLater();
            reading_ = false;
            answer(false);
        });
        read->start(gsettings_,
                    {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.notifications"),
                     QStringLiteral("show-banners")});
    }

    QString gsettings_;
    bool reading_ = false;
    bool askAgain_ = false;
};

std::unique_ptr<UserBusy> createDoNotDisturbWatch() {
    if (!QDBusConnection::sessionBus().isConnected())
        return nullptr;
    std::vector<std::unique_ptr<UserBusy>> watches;
    watches.push_back(std::make_unique<NotificationsInhibited>());
    // Only GNOME Shell heeds that setting: elsewhere it is not read at all.
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':');
    if (desktops.contains(QStringLiteral("GNOME"), Qt::CaseInsensitive))
        watches.push_back(std::make_unique<GnomeBannersOff>());
    return std::make_unique<AnyBusy>(std::move(watches));
}

#include "DoNotDisturb.moc"
