#include "settings/ModRegistry.h"

#include "platform/RegistryStore.h"

#include <QStringDecoder>

namespace ModRegistry {

QString ReadRegValue(RegRoot root, const QString& keyPath, const QString& valueName,
                     const QString& defaultValue) {
    const auto key = openRegistryKey(root, keyPath, false);
    if (key->childKeys().isEmpty() && key->childGroups().isEmpty())
        return defaultValue;
    const QVariant value = key->value(valueName);
    if (value.typeId() == QMetaType::QByteArray) {
        // Binary data: each byte is one character of the code page.
        QStringDecoder decoder("windows-1254");
        return decoder(value.toByteArray());
    }
    if (!value.isValid() || !value.canConvert<QString>())
        return {};
    QString text = value.toString();
    if (const qsizetype nul = text.indexOf(QChar(u'\0')); nul >= 0)
        text.truncate(nul);
    return text;
}

bool WriteRegValue(RegRoot root, const QString& keyPath, const QString& valueName, int type,
                   const QVariant& value) {
    QVariant stored;
    switch (type) {
    case REG_SZ:
        stored = value.toString();
        break;
    case REG_BINARY:
        stored = QByteArray(1, static_cast<char>(static_cast<quint8>(value.toInt())));
        break;
    case REG_DWORD: {
        const qint32 number = value.toInt();
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>((static_cast<quint32>(number) >> (8 * i)) & 0xFF);
        stored = bytes;
        break;
    }
    default:
        // A type this store does not keep: nothing is stored.
        return false;
    }
    const auto key = openRegistryKey(root, keyPath, true);
    key->setValue(valueName, stored);
    key->sync();
    return key->status() == QSettings::NoError;
}

} // namespace ModRegistry
