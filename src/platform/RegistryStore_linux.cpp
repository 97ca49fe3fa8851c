#include "platform/RegistryStore.h"

#include <QStandardPaths>

// One INI file under the user's configuration folder; each registry key is a
// section named after its path.
QString registryStoreLocation() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vokabo/registry.ini");
}

std::unique_ptr<QSettings> openRegistryKey(RegistryRoot, const QString& keyPath, bool) {
    auto settings = std::make_unique<QSettings>(registryStoreLocation(), QSettings::IniFormat);
    settings->beginGroup(QString(keyPath).replace(u'\\', u'/'));
    return settings;
}
