#pragma once

#include "platform/LockFiles.h"

#include <QList>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;

// One running copy per word file. The lock lives beside the word file, so
// that two logins or two users sharing a program folder cannot both write
// it; where that folder cannot hold it (a folder of that name, say), in the
// user's runtime folder. A lock left by a copy that is gone is taken over,
// whoever made it; the lock is released when this object goes.
//
// The running copy also listens in the runtime folder, so that a copy that
// is refused can call it forward: the user who starts the program again to
// find it gets its window.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Acquired,
        // Another live copy holds the lock: this copy must not run.
        HeldByAnotherCopy,
        // Another computer's copy made the lock: whether it still runs
        // cannot be told from here. The user may take the lock over.
        HeldElsewhere,
        // No lock could be made anywhere; the copy runs unguarded.
        Unavailable,
    };

    // runtimeFolder: empty for the user's runtime folder.
    explicit SingleInstance(const QString& wordFile, const QString& runtimeFolder = {});
    ~SingleInstance() override;

    // After Acquired, the copy starts listening for refused copies.
    Outcome tryAcquire();
    // Who holds the lock, after HeldByAnotherCopy or HeldElsewhere.
    const LockHolder& holder() const { return holder_; }
    // After HeldElsewhere, when the user says that copy runs no more: its
    // lock is removed and this copy tries again.
    Outcome takeOver();
    // Why no lock could be made, after Unavailable.
    QString failure() const { return failure_; }

    // From a refused copy: asks the running copy to come forward, handing
    // it this start's start-up notification id (DESKTOP_STARTUP_ID or
    // XDG_ACTIVATION_TOKEN, which lets the desktop activate a window for the
    // user who started the program), and waits until it has. False when it
    // could not be reached (another user's copy, or no runtime folder).
    bool callRunningCopy(const QByteArray& startupId = {}) const;

    // This copy has come forward: the copies that called are told, and show
    // their message over its window.
    void cameForward();

signals:
    // A refused copy asked this one to come forward; startupId is its
    // start-up notification id, empty where it had none. cameForward() says
    // when it has.
    void calledForward(const QByteArray& startupId);

private:
    void listen();
    void answer(QLocalSocket* caller);
    QString channelPath() const;

    QString wordFile_;
    QString runtimeFolder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* channel_ = nullptr;
    QList<QPointer<QLocalSocket>> waiting_;
    QString failure_;
    LockHolder holder_;
    QString heldAt_;
};
