#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

// Where the main window comes back at start-up: its designed outer frame,
// moved and sized as the stored placement says wherever that is usable.
//
// A stored size smaller than MinimumFrame is ignored (a window of no size
// could never be found again); one larger than the available area of its
// screen is limited to it. A stored position that would leave the title bar
// on no screen is ignored. Everything is in pixels, outer frame included.
inline constexpr QSize MinimumFrame(120, 100);

// Whether a window placed at frame would show enough of itself on one of the
// screens for the user to grab it.
bool placementVisible(const QRect& frame, const QList<QRect>& screens);

struct RestoredFrame {
    QPoint topLeft;
    // Nullopt: the window keeps its designed size.
    std::optional<QSize> size;
};
RestoredFrame restoredFrame(const QRect& designed, std::optional<QPoint> storedTopLeft,
                            std::optional<QSize> storedSize, const QList<QRect>& screens);
