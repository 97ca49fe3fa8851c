#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString lockFileFor(const QString& wordFile) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    const QByteArray key = QFileInfo(wordFile).absoluteFilePath().toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    return QDir(dir).filePath(QStringLiteral("vokabo-%1.lock").arg(hash));
}

SingleInstance::SingleInstance(const QString& wordFile) : lock_(lockFileFor(wordFile)) {
    lock_.setStaleLockTime(0);
}

bool SingleInstance::tryAcquire() {
    return lock_.tryLock(0);
}
