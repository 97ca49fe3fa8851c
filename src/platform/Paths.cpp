#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

namespace {
// File modes do not tell the whole truth (root ignores them, a read-only
// mount does not show in them), so try to create a file there.
bool canCreateFilesIn(const QString& dir) {
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".vokabo-probe-XXXXXX")));
    return probe.open();
}
} // namespace

QString chooseWordFilePath(const QString& programDir, const QString& userDataDir) {
    if (canCreateFilesIn(programDir))
        return QDir(programDir).filePath(WordFileName);
    QDir().mkpath(userDataDir);
    return QDir(userDataDir).filePath(WordFileName);
}

QString wordFilePath() {
    return chooseWordFilePath(programFolder(),
                              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}
