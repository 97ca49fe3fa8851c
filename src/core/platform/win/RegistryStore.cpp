#include "platform/RegistryStore.h"

namespace {
QString rootName(RegistryRoot root) {
    return root == RegistryRoot::HKEY_LOCAL_MACHINE ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                                    : QStringLiteral("HKEY_CURRENT_USER");
}

std::unique_ptr<QSettings> openNative(RegistryRoot root, const QString& keyPath) {
    return std::make_unique<QSettings>(rootName(root) + u'\\' + keyPath, QSettings::NativeFormat);
}
} // namespace

QString registryStoreLocation() {
    return {};
}

// A standard user may not write under HKEY_LOCAL_MACHINE; such writes go to
// the same path under HKEY_CURRENT_USER, which reads then prefer.
std::unique_ptr<QSettings> openRegistryKey(RegistryRoot root, const QString& keyPath,
                                           bool forWriting) {
    if (root == RegistryRoot::HKEY_LOCAL_MACHINE) {
        auto user = openNative(RegistryRoot::HKEY_CURRENT_USER, keyPath);
        if (forWriting) {
            auto machine = openNative(root, keyPath);
            if (machine->isWritable())
                return machine;
            return user;
        }
        if (!user->childKeys().isEmpty())
            return user;
    }
    return openNative(root, keyPath);
}

QString registryStoreProblem() {
    return QStringLiteral("Kayıt defteri anahtarına yazılamadı.");
}
