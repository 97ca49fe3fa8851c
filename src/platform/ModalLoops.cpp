#include "platform/ModalLoops.h"

#include <QDialog>
#include <QList>
#include <QPointer>

namespace ModalLoops {

namespace {
QList<QPointer<QDialog>>& running() {
    static QList<QPointer<QDialog>> dialogs;
    return dialogs;
}
} // namespace

int exec(QDialog* dialog) {
    const QPointer<QDialog> guard(dialog);
    running().append(guard);
    const int result = dialog->exec();
    running().removeOne(guard);
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

} // namespace ModalLoops
