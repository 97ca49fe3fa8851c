#include "app/WindowPlacement.h"

#include "settings/Placement.h"

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
