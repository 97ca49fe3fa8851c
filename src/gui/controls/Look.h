#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QWidget;

// The small pieces every window uses to take its designed look.

// A rectangle designed in twips, in pixels.
QRect twipsRect(int left, int top, int width, int height);
void placeTwips(QWidget* widget, int left, int top, int width, int height);

// A font by its designed family ("MS Sans Serif", "Times New Roman"; the
// program maps them to metric-compatible fonts) and size in points.
QFont designFont(const char* family, double points, bool bold = false);

void setBackground(QWidget* widget, const QColor& colour);
void setTextColour(QWidget* widget, const QColor& colour);
