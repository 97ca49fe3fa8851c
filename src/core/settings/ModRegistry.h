#pragma once

#include "platform/RegistryStore.h"

#include <QString>
#include <QVariant>

// Named values under a key path, as the program has always kept its settings.
// Each call opens the store, reads or writes one value, and closes it again.
namespace ModRegistry {

using RegRoot = RegistryRoot;

inline constexpr int REG_SZ = 1;
inline constexpr int REG_BINARY = 3;
inline constexpr int REG_DWORD = 4;

inline const QString VokaboKey = QStringLiteral("SOFTWARE\\Vokabo");

// The value as text; empty when it is missing or of another type, and
// defaultValue only when the key itself does not exist.
QString ReadRegValue(RegRoot root, const QString& keyPath, const QString& valueName,
                     const QString& defaultValue = {});

// Stores one value: REG_SZ as text (an integer as its decimal text), REG_BINARY
// as one byte, REG_DWORD as a 32-bit integer; any other type stores nothing.
// False when nothing was stored: another type, or a store that could not be
// written.
bool WriteRegValue(RegRoot root, const QString& keyPath, const QString& valueName, int type,
                   const QVariant& value);

} // namespace ModRegistry
