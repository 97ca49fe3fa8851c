#include "platform/SessionPlatform.h"

#include <QDir>

QByteArray preferredQtPlatform(const QProcessEnvironment& environment) {
    const auto set = [&environment](const QString& name) {
        return !environment.value(name).isEmpty();
    };
    if (set(QStringLiteral("QT_QPA_PLATFORM")))
        return {};
    const bool waylandSession =
        set(QStringLiteral("WAYLAND_DISPLAY")) ||
        environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QStringLiteral("wayland");
    if (waylandSession && set(QStringLiteral("DISPLAY")))
        return QByteArrayLiteral("xcb");
    return {};
}

void ignoreRelativeXdgFolders() {
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                             "XDG_RUNTIME_DIR"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty() && QDir::isRelativePath(value))
            qunsetenv(name);
    }
}

bool platformPlacesWindows(const QString& platformName) {
    return !platformName.startsWith(QStringLiteral("wayland"), Qt::CaseInsensitive);
}

QByteArray startupNotificationId(const QProcessEnvironment& environment) {
    for (const char* name : {"DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN"})
        if (const QString id = environment.value(QString::fromLatin1(name)); !id.isEmpty())
            return id.toUtf8();
    return {};
}
