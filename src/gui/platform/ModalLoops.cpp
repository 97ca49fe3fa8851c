#include "platform/ModalLoops.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <utility>

namespace ModalLoops {

namespace {
QList<QPointer<QDialog>>& running() {
    static QList<QPointer<QDialog>> dialogs;
    return dialogs;
}

struct Waiting {
    QPointer<QObject> context;
    std::function<void()> done;
};

QList<Waiting>& waiting() {
    static QList<Waiting> list;
    return list;
}

void runWaiting() {
    for (Waiting& w : std::exchange(waiting(), {}))
        if (w.context)
            QMetaObject::invokeMethod(w.context, std::move(w.done), Qt::QueuedConnection);
}
} // namespace

int exec(QDialog* dialog) {
    const QPointer<QDialog> guard(dialog);
    running().append(guard);
    const int result = dialog->exec();
    running().removeOne(guard);
    if (running().isEmpty())
        runWaiting();
    return guard ? result : QDialog::Rejected;
}

int depth() {
    return static_cast<int>(running().size());
}

void closeAll() {
    // A copy: rejecting may end a loop, which changes the list.
    const QList<QPointer<QDialog>> open = running();
    for (auto it = open.crbegin(); it != open.crend(); ++it)
        if (*it)
            (*it)->reject();
}

void whenAllClosed(QObject* context, std::function<void()> done) {
    waiting().append({context, std::move(done)});
    if (running().isEmpty())
        runWaiting();
}

} // namespace ModalLoops
