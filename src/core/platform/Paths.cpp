#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

bool canCreateFilesIn(const QString& dir) {
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".vokabo-probe-XXXXXX")));
    return probe.open();
}

QString installedProgramFolder() {
#ifdef VOKABO_INSTALL_BINDIR
    return QStringLiteral(VOKABO_INSTALL_BINDIR);
#else
    return {};
#endif
}

bool isInstalledCopy(const QString& programDir) {
    const QString installed = QFileInfo(installedProgramFolder()).canonicalFilePath();
    return !installed.isEmpty() && QFileInfo(programDir).canonicalFilePath() == installed;
}

QString chooseWordFilePath(const QString& programDir, const QString& userDataDir) {
    if (!isInstalledCopy(programDir) && canCreateFilesIn(programDir))
        return QDir(programDir).filePath(WordFileName);
    return QDir(userDataDir).filePath(WordFileName);
}

QString locateWordFile() {
    const QString userDataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString path = chooseWordFilePath(programFolder(), userDataDir);
    QDir().mkpath(QFileInfo(path).path());
    return path;
}

QString startingWordFile(const QString& wordFile, const QString& programDir) {
    const QString beside = QDir(programDir).filePath(WordFileName);
    if (QFileInfo(beside).absoluteFilePath() == QFileInfo(wordFile).absoluteFilePath())
        return {};
    return beside;
}
