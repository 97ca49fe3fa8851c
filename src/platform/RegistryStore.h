#pragma once

#include "settings/ModRegistry.h"

#include <QSettings>
#include <memory>

// Opens the settings store that stands for one registry key, positioned in
// that key's group; forWriting picks where a write may go.
std::unique_ptr<QSettings> openRegistryKey(ModRegistry::RegRoot root, const QString& keyPath,
                                           bool forWriting);

// The file that holds the values (for messages and tests); empty where the
// store is not a file.
QString registryStoreLocation();
