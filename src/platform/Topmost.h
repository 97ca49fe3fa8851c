#pragma once

class QWidget;

// Keeps a window above all others (or lets it go back among them), without
// moving, resizing or activating it.
void setTopmost(QWidget* window, bool topmost);
