#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>

class QWidget;

// Puts a window's outer frame (title bar and borders included) where it
// belongs. The frame the window manager draws is known only once the window
// is on the screen: until then the window is placed for the frame last seen
// on any window of the program, and it is fitted into its own frame as soon
// as the window manager has put one around it.
class FramePlacer : public QObject {
public:
    // frameFor: where the outer frame goes, for a frame of the given margins
    // around the window.
    FramePlacer(QWidget* window, std::function<QRect(const QMargins&)> frameFor);

    // Places the window for the frame it will most likely get; once it shows,
    // fits it into the frame it really gets.
    void place();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();
    void setFrame(const QMargins& margins);

    QWidget* window_;
    std::function<QRect(const QMargins&)> frameFor_;

    QMargins assumed_;
    QTimer watch_;
    int looks_ = 0;
    bool pending_ = false;
};

// Puts the window, frame and all, in the middle of the primary screen's
// available area.
void centreOnScreen(QWidget* window);
