#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString lockName(const QString& wordFile) {
    const QByteArray key = QFileInfo(wordFile).absoluteFilePath().toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    return QStringLiteral("vokabo-%1.lock").arg(hash);
}

QString describe(QLockFile::LockError error, const QString& path) {
    switch (error) {
    case QLockFile::PermissionError:
        return QStringLiteral("no permission to create %1").arg(path);
    default:
        return QStringLiteral("could not create %1").arg(path);
    }
}
} // namespace

SingleInstance::SingleInstance(const QString& wordFile, const QString& runtimeFolder)
    : wordFile_(wordFile), runtimeFolder_(runtimeFolder) {
    if (runtimeFolder_.isEmpty())
        runtimeFolder_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

SingleInstance::Outcome SingleInstance::tryAcquire() {
    QStringList places;
    if (!runtimeFolder_.isEmpty())
        places.append(QDir(runtimeFolder_).filePath(lockName(wordFile_)));
    places.append(wordFile_ + QStringLiteral(".lock"));
    QStringList failures;
    for (const QString& path : places) {
        auto lock = std::make_unique<QLockFile>(path);
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            lock_ = std::move(lock);
            return Outcome::Acquired;
        }
        // Only a lock that a live copy holds means that one runs; a place
        // where no lock can be made is no sign of another copy.
        if (lock->error() == QLockFile::LockFailedError)
            return Outcome::HeldByAnotherCopy;
        failures.append(describe(lock->error(), path));
    }
    failure_ = failures.join(QStringLiteral("; "));
    return Outcome::Unavailable;
}
