#include "platform/SessionPlatform.h"

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

bool platformPlacesWindows(const QString& platformName) {
    return !platformName.startsWith(QStringLiteral("wayland"), Qt::CaseInsensitive);
}
