#include "settings/Placement.h"

bool placementVisible(const QRect& frame, const QList<QRect>& screens) {
    // Enough of the top edge to take hold of the title bar.
    constexpr int MinVisible = 32;
    const QRect top(frame.left(), frame.top(), frame.width(), MinVisible);
    for (const QRect& screen : screens) {
        const QRect seen = screen.intersected(top);
        if (seen.width() >= MinVisible && seen.height() >= MinVisible / 2)
            return true;
    }
    return false;
}
