#pragma once

#include <QList>
#include <QRect>

// Whether a window placed at frame would show enough of itself on one of the
// screens for the user to grab it.
bool placementVisible(const QRect& frame, const QList<QRect>& screens);
