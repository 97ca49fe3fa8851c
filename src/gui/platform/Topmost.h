#pragma once

#include <Qt>

class QWidget;

// The kind of top-level window for one that comes up by itself over the
// user's work. On X11 desktops a utility window: it stays out of the task
// bar, and GNOME Shell then does not announce it ("… is ready") when it
// does not take the keyboard. A plain window on Windows.
Qt::WindowType popUpWindowType();

// Keeps a window above all others (or lets it go back among them), without
// moving, resizing or activating it.
void setTopmost(QWidget* window, bool topmost);
