#pragma once

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

class QPainter;

// The program's pictures, painted in code so that they stay crisp at any size
// and on any screen. Every picture comes back with devicePixelRatio() == dpr
// and a logical size (deviceIndependentSize()) equal to the size asked for;
// it is painted at size * dpr device pixels. Pictures are kept in
// QPixmapCache, so asking again for the same one is cheap. Call from the GUI
// thread only, after the QGuiApplication exists.
namespace Artwork {

// The cartoon characters that ask the questions: friendly creatures that
// stand at the bottom of their picture and look toward its upper right.
// Transparent background. An index outside 0..characterCount()-1 is taken
// modulo the count, so any random number can pick one.
int characterCount(); // 125
QPixmap character(int index, QSize size = QSize(57, 57), qreal dpr = 1.0);

// A looping animation of one cartoon eye that looks around and blinks;
// shown at eyeFrameInterval milliseconds per frame, the last frame flows into
// the first. An index outside the range is taken modulo the count.
int eyeFrameCount(); // 14
inline constexpr int eyeFrameInterval = 200;
QPixmap eyeFrame(int index, QSize size = QSize(32, 32), qreal dpr = 1.0);
// The same eye looking in any direction, to follow the pointer: gaze from
// (-1, -1) (up left) to (1, 1) (down right), lid from 0 (open) to 1 (shut).
// Values are clamped, and rounded to steps of 0.05 so that the cache stays
// small.
QPixmap eye(QPointF gaze, qreal lid = 0, QSize size = QSize(32, 32), qreal dpr = 1.0);

// The speech balloon over the character is three pieces side by side:
// balloonLeft() at x = 0, then the white middle (see paintBalloonMiddle) of
// any width, then balloonRight(). The middle is balloonBodyHeight high and
// starts balloonBodyTop pixels from the top of the left piece; both end
// pieces join it without a seam. Their outline is one logical pixel of
// balloonInk() along the top and bottom rows of the body (y = 3 and y = 35).
inline constexpr QSize balloonLeftSize(52, 52);
inline constexpr QSize balloonRightSize(48, 37);
inline constexpr int balloonBodyTop = 3;
inline constexpr int balloonBodyHeight = 33;
QColor balloonInk(); // RGB 61, 52, 88
QPixmap balloonLeft(qreal dpr = 1.0);
QPixmap balloonRight(qreal dpr = 1.0);
// Paints the balloon's middle into rect (its height should be
// balloonBodyHeight): white, with a one-pixel balloonInk() line along its top
// and bottom rows.
void paintBalloonMiddle(QPainter& painter, const QRect& rect);
// The whole balloon with a middle of middleWidth logical pixels:
// (52 + middleWidth + 48) x 52.
QPixmap balloon(int middleWidth, qreal dpr = 1.0);

// Small pictures, designed for 32 x 32.
QPixmap rightMark(QSize size = QSize(32, 32), qreal dpr = 1.0); // beside a right answer
QPixmap happyFace(QSize size = QSize(32, 32), qreal dpr = 1.0);
QPixmap sadFace(QSize size = QSize(32, 32), qreal dpr = 1.0);
// A pointing hand, index finger up, for a mouse pointer. Its hot spot (the
// finger tip) in logical pixels of a picture of the given size: (13, 1) at
// 32 x 32. For QCursor, pass the hot spot of the logical size.
QPixmap hand(QSize size = QSize(32, 32), qreal dpr = 1.0);
QPoint handHotSpot(QSize size = QSize(32, 32));

// The question window's three buttons, designed for 49 x 41: a complete
// button face (rounded tile and picture). A disabled button is greyed and
// flat. The Ok picture is a plain tick in the middle of the tile, so a face
// drawn over its middle hides it completely.
enum class Button { Sentence, Learned, Ok };
QPixmap button(Button which, bool enabled, QSize size = QSize(49, 41), qreal dpr = 1.0);

// The main window's button bar pictures, designed for 32 x 32 on the bar's
// light lavender (RGB 215, 217, 255); transparent background.
enum class BarButton { NewWord, Delete, Settings, AskNow, Help, ToggleActive, NewVersion };
QPixmap barButton(BarButton which, QSize size = QSize(32, 32), qreal dpr = 1.0);

// The advert panel's picture: a friendly dog with a magnifying glass that
// shows a person, on its own sky-blue card made to stand on the panel's
// black. Opaque; the corners outside the card are black.
inline constexpr QSize advertSize(71, 66);
QPixmap advert(qreal dpr = 1.0);

} // namespace Artwork
