#pragma once

#include <QString>

// Folder of the running executable.
QString programFolder();

// Whether a file can be made in the folder; file modes do not tell (root
// ignores them, a read-only mount does not show in them).
bool canCreateFilesIn(const QString& dir);

// The folder an installed copy runs from: the install prefix's bin folder,
// fixed when the program is built (VOKABO_INSTALL_BINDIR); empty when the
// build names none.
QString installedProgramFolder();
// Whether the program folder is that folder, links resolved. Such a copy is
// shared by every user of the machine, so it never keeps words beside itself,
// not even when run by root, who could write there.
bool isInstalledCopy(const QString& programDir);

// Where the word file lives: beside the program (portable use), or in the
// user's own data folder for an installed copy and when nothing can be
// created in the program folder.
QString chooseWordFilePath(const QString& programDir, const QString& userDataDir);
// The same for the running program; makes the user's data folder if it is
// the one chosen.
QString locateWordFile();

// The file a first start reads while the word file does not exist yet: the
// program folder's own vokabo.txt when the word file lives elsewhere, so the
// words a user put beside a program he cannot write to are not lost. Empty
// when the word file is that file.
QString startingWordFile(const QString& wordFile, const QString& programDir);

inline const QString WordFileName = QStringLiteral("vokabo.txt");
