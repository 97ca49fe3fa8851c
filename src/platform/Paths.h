#pragma once

#include <QString>

// Folder of the running executable.
QString programFolder();

// Where the word file lives: beside the program when that folder can be
// written, otherwise in the user's own data folder.
QString wordFilePath();

// Same choice for a given program folder and per-user data folder.
QString chooseWordFilePath(const QString& programDir, const QString& userDataDir);

inline const QString WordFileName = QStringLiteral("vokabo.txt");
