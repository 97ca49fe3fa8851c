#pragma once

#include <QSettings>
#include <memory>

// The two registry roots the program's keys live under.
enum class RegistryRoot { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };

// Opens the settings store that stands for one registry key, positioned in
// that key's group; forWriting picks where a write may go.
std::unique_ptr<QSettings> openRegistryKey(RegistryRoot root, const QString& keyPath,
                                           bool forWriting);

// The file that holds the values (for messages and tests); empty where the
// store is not a file.
QString registryStoreLocation();

// Why the store cannot be written, in the system's words, after a write
// failed; empty when nothing can be said.
QString registryStoreProblem();
