#include "platform/BusWatch_dbus.h"

#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace {
constexpr int FirstAnswerMs = 500;
} // namespace

BusWatch::BusWatch(QDBusMessage question, std::function<bool(const QDBusMessage&)> busyIf)
    : bus_(QDBusConnection::sessionBus()), question_(std::move(question)),
      busyIf_(std::move(busyIf)) {
    question_.setAutoStartService(false);
    auto* owner = new QDBusServiceWatcher(question_.service(), bus_,
                                          QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] {
        set(false);
        ask();
    });
    // The first answer is waited for (briefly): a question due at start-up
    // must not open before it is known.
    const QDBusMessage reply = bus_.call(question_, QDBus::Block, FirstAnswerMs);
    busy_ = reply.type() == QDBusMessage::ReplyMessage && busyIf_(reply);
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
                set(reply.type() == QDBusMessage::ReplyMessage && busyIf_(reply));
            });
}

void BusWatch::set(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    emit changed();
}

QVariant firstArgument(const QDBusMessage& reply) {
    QVariant value = reply.arguments().value(0);
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}
