#include "platform/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

// One INI file under the user's configuration folder; each registry key is a
// section named after its path.
QString registryStoreLocation() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vokabo/registry.ini");
}

QString registryStoreProblem() {
    const QString path = registryStoreLocation();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QStringLiteral("%1 klasörü oluşturulamadı.").arg(QFileInfo(path).path());
    // QSettings keeps the system's reason to itself: the file is opened once
    // more, without changing it, to hear it.
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return file.errorString();
    return {};
}

std::unique_ptr<QSettings> openRegistryKey(RegistryRoot, const QString& keyPath, bool) {
    auto settings = std::make_unique<QSettings>(registryStoreLocation(), QSettings::IniFormat);
    settings->beginGroup(QString(keyPath).replace(u'\\', u'/'));
    return settings;
}
