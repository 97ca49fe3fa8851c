#pragma once

#include "platform/UserBusy.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <functional>

// A yes-or-no that a service on the session bus answers: asked once, again
// whenever the service signals that the answer may have changed, and again
// when the service comes, goes or is replaced. A service that is not there,
// or cannot answer, never makes the user busy; asking never starts one.
class BusWatch : public AnsweredWatch {
    Q_OBJECT
public:
    // question: the call to make; busyIf: whether its answer means busy.
    BusWatch(QDBusMessage question, std::function<bool(const QDBusMessage&)> busyIf);

    // The service's signal that the answer may have changed.
    void askAgainOn(const QString& path, const QString& interface, const QString& signal);

private slots:
    void ask();
    void signalled(const QDBusMessage&) { ask(); }

private:
    QDBusConnection bus_;
    QDBusMessage question_;
    std::function<bool(const QDBusMessage&)> busyIf_;
    // Answers arrive in the order asked; only the last one counts.
    quint64 asked_ = 0;
};

// The first argument of a reply, a variant unwrapped (properties and
// settings come as variants, some as variants in a variant).
QVariant firstArgument(const QDBusMessage& reply);
