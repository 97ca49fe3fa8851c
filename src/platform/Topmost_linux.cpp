#include "platform/Topmost.h"

#include <QWidget>

void setTopmost(QWidget* window, bool topmost) {
    const bool wasVisible = window->isVisible();
    const bool noActivate = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    // Changing a window flag hides the window; bring it back without taking
    // the keyboard from the program the user works in.
    if (wasVisible) {
        window->setAttribute(Qt::WA_ShowWithoutActivating, true);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
    }
}
