#include "platform/LockFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

// QLockFile itself takes over a lock whose process is gone on
// this computer; what it refuses is held here, or another computer's.
LockHolder examineLock(const QString& path, bool) {
    LockHolder holder;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return holder;
    const QList<QByteArray> lines = file.read(1024).split('\n');
    holder.pid = lines.value(0).trimmed().toLongLong();
    holder.host = QString::fromUtf8(lines.value(2)).trimmed();
    holder.otherHost = !holder.host.isEmpty() && holder.host != QSysInfo::machineHostName();
    holder.since = QFileInfo(file).lastModified();
    holder.state = holder.otherHost ? LockHolder::State::Unknown : LockHolder::State::Live;
    return holder;
}

bool removeLock(const QString& path) {
    return QFile::remove(path) || !QFileInfo::exists(path);
}
