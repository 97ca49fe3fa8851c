#include "platform/Topmost.h"

#include <QWidget>

Qt::WindowType popUpWindowType() {
#if defined(Q_OS_WIN)
    return Qt::Window;
#else
    return Qt::Tool;
#endif
}

void setTopmost(QWidget* window, bool topmost) {
    if (window->testAttribute(Qt::WA_WState_Created) &&
        window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    const bool wasVisible = window->isVisible();
    const QPoint position = window->pos();
    const bool noActivate = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    // Changing a window flag hides a shown window and may forget its place;
    // bring it back where it was, without taking the keyboard from the
    // program the user works in. A window not shown yet keeps the place it
    // was given: moving it would ask for its frame at its inner corner.
    if (wasVisible) {
        window->move(position);
        window->setAttribute(Qt::WA_ShowWithoutActivating, true);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
    }
}
