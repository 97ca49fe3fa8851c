#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <initializer_list>
#include <utility>

class QObject;
class QWidget;

// The small pieces every window uses to take its designed look.

// A rectangle designed in twips, in pixels.
QRect twipsRect(int left, int top, int width, int height);
void placeTwips(QWidget* widget, int left, int top, int width, int height);

// A font by its designed family ("MS Sans Serif", "Times New Roman"; where
// the system lacks them, their metric-compatible Liberation fonts stand in)
// and size in points.
QFont designFont(const char* family, double points, bool bold = false);

// Gives each control its name, by which assistive technology and the
// program's tests find it.
void setObjectNames(std::initializer_list<std::pair<QObject*, const char*>> named);

void setBackground(QWidget* widget, const QColor& colour);
void setTextColour(QWidget* widget, const QColor& colour);
