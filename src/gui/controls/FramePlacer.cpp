#include "controls/FramePlacer.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {
// How often, and how many times, a window that has just shown looks whether
// the window manager has framed it: for a second. Without a window manager
// there never is a frame.
constexpr int LookInterval = 20;
constexpr int Looks = 50;

QMargins& lastSeenMargins() {
    static QMargins margins;
    return margins;
}
} // namespace

FramePlacer::FramePlacer(QWidget* window, std::function<QRect(const QMargins&)> frameFor)
    : QObject(window), window_(window), frameFor_(std::move(frameFor)) {
    watch_.setInterval(LookInterval);
    connect(&watch_, &QTimer::timeout, this, &FramePlacer::fit);
    window_->installEventFilter(this);
}

void FramePlacer::place() {
    assumed_ = lastSeenMargins();
    setFrame(assumed_);
    pending_ = true;
    if (window_->isVisible()) {
        looks_ = 0;
        watch_.start();
    }
}

bool FramePlacer::eventFilter(QObject* watched, QEvent* event) {
    const bool shows = event->type() == QEvent::Show ||
                       (event->type() == QEvent::WindowStateChange && !window_->isMinimized());
    if (watched == window_ && shows && pending_ && !watch_.isActive()) {
        looks_ = 0;
        watch_.start();
    }
    return false;
}

void FramePlacer::fit() {
    // A window manager may take a minimised window's move for a wish to see
    // it: the frame is fitted once the window is back.
    if (window_->isMinimized()) {
        watch_.stop();
        return;
    }
    const QMargins margins =
        window_->windowHandle() ? window_->windowHandle()->frameMargins() : QMargins();
    if (margins.isNull() && ++looks_ < Looks)
        return;
    watch_.stop();
    pending_ = false;
    if (!margins.isNull())
        lastSeenMargins() = margins;
    if (margins != assumed_)
        setFrame(margins);
}

void FramePlacer::setFrame(const QMargins& margins) {
    window_->setGeometry(frameFor_(margins).marginsRemoved(margins));
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->size();
    auto* placer = new FramePlacer(window, [area, size](const QMargins& margins) {
        QRect frame(QPoint(), size.grownBy(margins));
        frame.moveCenter(area.center());
        return frame;
    });
    placer->place();
}
