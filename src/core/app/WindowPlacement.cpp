#include "app/WindowPlacement.h"

namespace {
// The screen a frame at topLeft belongs to: the one that holds that corner,
// or else the first one.
std::optional<QRect> screenAt(QPoint topLeft, const QList<QRect>& screens) {
    for (const QRect& screen : screens)
        if (screen.contains(topLeft))
            return screen;
    if (screens.isEmpty())
        return std::nullopt;
    return screens.first();
}
} // namespace

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

RestoredFrame restoredFrame(const QRect& designed, std::optional<QPoint> storedTopLeft,
                            std::optional<QSize> storedSize, const QList<QRect>& screens) {
    RestoredFrame restored{designed.topLeft(), std::nullopt};
    if (storedSize && storedSize->width() >= MinimumFrame.width() &&
        storedSize->height() >= MinimumFrame.height())
        restored.size = storedSize;
    const QSize size = restored.size.value_or(designed.size());
    if (storedTopLeft && placementVisible(QRect(*storedTopLeft, size), screens))
        restored.topLeft = *storedTopLeft;
    const auto screen = screenAt(restored.topLeft, screens);
    if (restored.size && screen)
        restored.size = restored.size->boundedTo(screen->size());
    return restored;
}
