#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <utility>

namespace {
// How long a refused copy tries to reach the running one, and waits for it
// to come forward.
constexpr int CallTimeoutMs = 1000;
// A call is one line: the start-up id; the answer is one line too. An id
// longer than this is no id.
constexpr qint64 MaxCallLength = 1024;
const QByteArray Forward = QByteArrayLiteral("forward\n");
const QByteArray CameForward = QByteArrayLiteral("ok\n");

// The name of this word file's lock and channel in the runtime folder.
QString runtimeName(const QString& wordFile, const QString& suffix) {
    const QByteArray key = QFileInfo(wordFile).absoluteFilePath().toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    return QStringLiteral("vokabo-%1.%2").arg(hash, suffix);
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

SingleInstance::~SingleInstance() {
    // The channel goes before the lock: a copy that takes the lock over
    // then finds the socket path free.
    delete channel_;
}

SingleInstance::Outcome SingleInstance::tryAcquire() {
    // Beside the word file first: every copy that could write the file finds
    // the lock there, whoever started it and from whichever login.
    QStringList places{wordFile_ + QStringLiteral(".lock")};
    if (!runtimeFolder_.isEmpty())
        places.append(
            QDir(runtimeFolder_).filePath(runtimeName(wordFile_, QStringLiteral("lock"))));
    QStringList failures;
    for (const QString& path : places) {
        // A place where no lock can be made is no sign of another copy.
        if (QFileInfo(path).isDir()) {
            failures.append(QStringLiteral("a folder stands where %1 goes").arg(path));
            continue;
        }
        auto lock = std::make_unique<QLockFile>(path);
        lock->setStaleLockTime(0);
        bool locked = lock->tryLock(0);
        if (!locked && lock->error() == QLockFile::LockFailedError) {
            // Qt takes over only its own login's locks of this computer.
            holder_ = examineLock(path, true);
            switch (holder_.state) {
            case LockHolder::State::Live:
                return Outcome::HeldByAnotherCopy;
            case LockHolder::State::Unknown:
                heldAt_ = path;
                return Outcome::HeldElsewhere;
            case LockHolder::State::Stale:
                // Another copy may have been quicker.
                locked = holder_.removed && lock->tryLock(0);
                if (!locked && lock->error() == QLockFile::LockFailedError && holder_.removed)
                    return Outcome::HeldByAnotherCopy;
                break;
            }
        }
        if (locked) {
            lock_ = std::move(lock);
            listen();
            return Outcome::Acquired;
        }
        failures.append(lock->error() == QLockFile::LockFailedError
                            ? QStringLiteral("the stale lock %1 could not be removed").arg(path)
                            : describe(lock->error(), path));
    }
    failure_ = failures.join(QStringLiteral("; "));
    return Outcome::Unavailable;
}

SingleInstance::Outcome SingleInstance::takeOver() {
    if (heldAt_.isEmpty() || !removeLock(heldAt_))
        return Outcome::HeldByAnotherCopy;
    heldAt_.clear();
    return tryAcquire();
}

QString SingleInstance::channelPath() const {
    if (runtimeFolder_.isEmpty())
        return {};
    return QDir(runtimeFolder_).filePath(runtimeName(wordFile_, QStringLiteral("socket")));
}

void SingleInstance::listen() {
    const QString path = channelPath();
    if (path.isEmpty())
        return;
    // Whoever listened there before is gone: this copy holds the lock.
    QLocalServer::removeServer(path);
    channel_ = new QLocalServer(this);
    channel_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(channel_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = channel_->nextPendingConnection()) {
            connect(caller, &QLocalSocket::readyRead, this, [this, caller] { answer(caller); });
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            answer(caller);
        }
    });
    // Without a channel the program runs all the same; a refused copy then
    // only shows its message.
    if (!channel_->listen(path)) {
        delete channel_;
        channel_ = nullptr;
    }
}

void SingleInstance::answer(QLocalSocket* caller) {
    // Two lines: what is asked, and the id (perhaps empty).
    const QByteArray call = caller->peek(MaxCallLength);
    const qsizetype first = call.indexOf('\n');
    const qsizetype second = first < 0 ? -1 : call.indexOf('\n', first + 1);
    if (second < 0) {
        if (call.size() >= MaxCallLength)
            caller->abort();
        return;
    }
    caller->read(second + 1);
    if (call.left(first + 1) != Forward)
        return;
    // The running copy comes forward before it answers: the caller's own
    // box then comes up over it.
    waiting_.append(caller);
    emit calledForward(call.mid(first + 1, second - first - 1).trimmed());
}

void SingleInstance::cameForward() {
    for (const QPointer<QLocalSocket>& caller : std::exchange(waiting_, {}))
        if (caller) {
            caller->write(CameForward);
            caller->disconnectFromServer();
        }
}

bool SingleInstance::callRunningCopy(const QByteArray& startupId) const {
    const QString path = channelPath();
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(CallTimeoutMs))
        return false;
    QByteArray id = startupId;
    id.replace('\n', ' ');
    socket.write(Forward + id.left(MaxCallLength / 2) + '\n');
    socket.waitForBytesWritten(CallTimeoutMs);
    // An older copy answers nothing; it came forward all the same.
    while (!socket.canReadLine() && socket.waitForReadyRead(CallTimeoutMs)) {
    }
    socket.disconnectFromServer();
    return true;
}
