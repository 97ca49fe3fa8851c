#pragma once

#include <QDateTime>
#include <QString>

// What a lock file left beside the word file says about the copy that made
// it, and whether that copy still runs, as far as this computer can tell.
struct LockHolder {
    enum class State {
        Live,
        // Its copy is gone: the lock may be taken over, whoever made it.
        Stale,
        // Made on another computer (or unreadable here): whether its copy
        // still runs cannot be told from here.
        Unknown,
    };
    State state = State::Unknown;
    qint64 pid = 0;
    QString host;
    // The login that made the lock (the file's owner).
    QString user;
    QDateTime since;
    bool otherUser = false;
    bool otherHost = false;
    // A stale lock that was removed: the place is free.
    bool removed = false;
};

// Looks at the lock file at path, which a copy of the program could not
// take; removeStale: remove it when its copy is gone, unless another copy
// takes it meanwhile.
LockHolder examineLock(const QString& path, bool removeStale);

// Removes a lock that the user says belongs to no running copy any more
// (another computer's); false when it is still held here or cannot be
// removed.
bool removeLock(const QString& path);
