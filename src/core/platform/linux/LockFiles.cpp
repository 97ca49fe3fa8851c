#include "platform/LockFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// Qt's lock files hold the process id, the program's name and the host's
// name, one a line; a copy that holds its lock keeps an flock() on it.
namespace {

// A lock younger than this may belong to a copy that has made the file and
// not yet locked or filled it.
constexpr int NewbornSecs = 5;

QString userName(uid_t uid) {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid);
}

bool processRuns(qint64 pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// Who owns the file, and its content's fields.
void describe(LockHolder& holder, int fd, const struct stat& info) {
    holder.user = userName(info.st_uid);
    holder.otherUser = info.st_uid != ::geteuid();
    holder.since = QDateTime::fromSecsSinceEpoch(info.st_mtim.tv_sec);
    char text[1024];
    const ssize_t got = ::pread(fd, text, sizeof text, 0);
    const QList<QByteArray> lines = QByteArray(text, got > 0 ? got : 0).split('\n');
    bool number = false;
    holder.pid = lines.value(0).toLongLong(&number);
    if (!number || holder.pid <= 0)
        holder.pid = 0;
    holder.host = QString::fromUtf8(lines.value(2)).trimmed();
    holder.otherHost = !holder.host.isEmpty() && holder.host != QSysInfo::machineHostName();
}

// The lock's file is still the one this descriptor reads.
bool stillThere(const QByteArray& name, const struct stat& info) {
    struct stat now {};
    return ::stat(name.constData(), &now) == 0 && now.st_dev == info.st_dev &&
           now.st_ino == info.st_ino;
}
} // namespace

LockHolder examineLock(const QString& path, bool removeStale) {
    LockHolder holder;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    struct stat info {};
    if (fd < 0) {
        // Gone meanwhile: nothing holds the place.
        if (errno == ENOENT) {
            holder.state = LockHolder::State::Stale;
            holder.removed = true;
        } else if (::stat(name.constData(), &info) == 0) {
            holder.user = userName(info.st_uid);
            holder.otherUser = info.st_uid != ::geteuid();
        }
        return holder;
    }
    ::fstat(fd, &info);
    describe(holder, fd, info);

    // An flock() needs no right to write, so any login can ask for it.
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool held = !free && errno == EWOULDBLOCK;
    const bool newborn = ::time(nullptr) - info.st_mtim.tv_sec < NewbornSecs;
    if (held)
        holder.state = LockHolder::State::Live;
    else if (holder.otherHost)
        holder.state = LockHolder::State::Unknown;
    else if (free)
        holder.state = (holder.pid > 0 && !processRuns(holder.pid)) || !newborn
                           ? LockHolder::State::Stale
                           : LockHolder::State::Live;
    else // no flock() on this file system: the process tells
        holder.state = holder.pid == 0           ? LockHolder::State::Unknown
                       : processRuns(holder.pid) ? LockHolder::State::Live
                                                 : LockHolder::State::Stale;

    // Removed while this copy holds its flock(), and only if no other copy
    // has put a new lock in its place meanwhile.
    if (removeStale && holder.state == LockHolder::State::Stale && stillThere(name, info))
        holder.removed = ::unlink(name.constData()) == 0;
    ::close(fd);
    return holder;
}

bool removeLock(const QString& path) {
    const LockHolder holder = examineLock(path, false);
    if (holder.state == LockHolder::State::Live)
        return false;
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}
