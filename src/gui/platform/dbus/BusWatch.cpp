#include "platform/dbus/BusWatch.h"

#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

BusWatch::BusWatch(QDBusMessage question, std::function<bool(const QDBusMessage&)> busyIf)
    : bus_(QDBusConnection::sessionBus()), question_(std::move(question)),
      busyIf_(std::move(busyIf)) {
    question_.setAutoStartService(false);
    auto* owner = new QDBusServiceWatcher(question_.service(), bus_,
                                          QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] {
        answer(false);
        ask();
    });
    ask();
}

void BusWatch::askAgainOn(const QString& path, const QString& interface, const QString& signal) {
    bus_.connect(question_.service(), path, interface, signal, this, SLOT(signalled(QDBusMessage)));
}

void BusWatch::ask() {
    const quint64 asked = ++asked_;
    auto* call = new QDBusPendingCallWatcher(bus_.asyncCall(question_), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, asked](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (asked != asked_)
                    return;
                const QDBusMessage reply = w->reply();
                answer(reply.type() == QDBusMessage::ReplyMessage && busyIf_(reply));
            });
}

QVariant firstArgument(const QDBusMessage& reply) {
    QVariant value = reply.arguments().value(0);
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}
