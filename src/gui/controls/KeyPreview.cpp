#include "controls/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget* window, std::function<bool(int)> handler)
    : QObject(window), window_(window), handler_(std::move(handler)) {
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview() {
    qApp->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != window_)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const int code = key->key() == Qt::Key_Escape ? EscKeyAscii
                     : key->text().isEmpty()      ? 0
                                                  : key->text().at(0).unicode();
    return code != 0 && handler_(code);
}
