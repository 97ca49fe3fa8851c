#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// One running copy per word file. The lock lives in the user's runtime
// folder; where that folder cannot hold it, beside the word file. A lock
// left by a copy that crashed is taken over; the lock is released when this
// object goes.
class SingleInstance {
public:
    enum class Outcome {
        Acquired,
        // Another live copy holds the lock: this copy must not run.
        HeldByAnotherCopy,
        // No lock could be made anywhere; the copy runs unguarded.
        Unavailable,
    };

    // runtimeFolder: empty for the user's runtime folder.
    explicit SingleInstance(const QString& wordFile, const QString& runtimeFolder = {});
    Outcome tryAcquire();
    // Why no lock could be made, after Unavailable.
    QString failure() const { return failure_; }

private:
    QString wordFile_;
    QString runtimeFolder_;
    std::unique_ptr<QLockFile> lock_;
    QString failure_;
};
