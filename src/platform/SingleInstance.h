#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// One running copy per word file. A lock left by a copy that crashed is taken
// over; the lock is released when this object goes.
class SingleInstance {
public:
    explicit SingleInstance(const QString& wordFile);
    bool tryAcquire();

private:
    QLockFile lock_;
};

QString lockFileFor(const QString& wordFile);
