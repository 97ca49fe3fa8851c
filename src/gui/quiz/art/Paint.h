#pragma once

// Painting helpers shared by the artwork's parts (characters, eye, icons,
// buttons, balloon, advert). Internal to src/quiz/art; the program uses
// Artwork.h.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <initializer_list>

namespace Artwork::detail {

inline const QColor kInk(61, 52, 88);
inline const QColor kWhite(255, 255, 255);
inline const QColor kMouthInside(139, 48, 66);
inline const QColor kTongue(244, 128, 140);
inline const QColor kBlush(255, 120, 150, 95);
inline const QColor kOrange(255, 167, 64);
inline const QColor kGold(255, 206, 72);

// Outline widths: of the characters in their 100 x 100 design box, and of
// the small pictures in their 32 x 32 box.
inline constexpr qreal kLine = 3.0;
inline constexpr qreal kIconLine = 1.6;

QColor mix(const QColor& a, const QColor& b, qreal t);
QColor withAlpha(QColor c, int alpha);
// From top at y0 to bottom at y1.
QBrush verticalGradient(qreal y0, qreal y1, const QColor& top, const QColor& bottom);

// A transparent image of size * dpr device pixels with that pixel ratio.
QImage canvas(QSize size, qreal dpr);

// Paints a picture once per name, size and pixel ratio; later calls come from
// QPixmapCache. paint(painter, logicalSize) draws in logical pixels.
using PaintFunction = std::function<void(QPainter&, QSizeF)>;
QPixmap cachedPicture(const QString& name, QSize size, qreal dpr, const PaintFunction& paint);
// The same for a picture drawn in a square design box `units` wide, fitted
// into the middle of the picture.
QPixmap cachedDesign(const QString& name, QSize size, qreal dpr, qreal units,
                     void (*paint)(QPainter&));

// Maps a square design box `units` wide onto the picture, keeping its
// proportions: centred, or standing on the picture's bottom edge.
void fitBox(QPainter& p, QSizeF size, qreal units, bool onBottom = false);

QPainterPath ellipse(qreal cx, qreal cy, qreal rx, qreal ry, qreal degrees = 0);
QPainterPath circle(QPointF c, qreal r);
QPainterPath rounded(qreal x, qreal y, qreal w, qreal h, qreal r);
QPainterPath polygon(std::initializer_list<QPointF> points);
// The outline of a thick line, so that a limb or a tentacle can be filled
// and outlined like any other shape.
QPainterPath thick(const QPainterPath& centre, qreal width);

QPen inkPen(qreal width, const QColor& color = kInk);
void fillOutlined(QPainter& p, const QPainterPath& path, const QBrush& fill, qreal width);
void fillPlain(QPainter& p, const QPainterPath& path, const QBrush& fill);
void strokePath(QPainter& p, const QPainterPath& path, qreal width, const QColor& color = kInk);
void strokeLine(QPainter& p, QPointF a, QPointF b, qreal width, const QColor& color = kInk);

// The characters' faces (Characters.cpp), also worn by the advert's
// character: eyes and mouths in the 100 x 100 design box, looking toward
// the upper right.
enum class Eyes { Round, Iris, Sparkle, Dot, Tall, Lashes, Wink, Happy };
inline constexpr int kEyesCount = 8;
enum class Mouth { Smile, Open, Talk, Grin, Cat, Fang };
inline constexpr int kMouthCount = 6;
void drawEye(QPainter& p, QPointF c, qreal r, Eyes style, bool rightEye, const QColor& iris);
void drawMouth(QPainter& p, QPointF m, qreal w, Mouth style);
// The soft highlight on a body's upper left.
void shine(QPainter& p, qreal cx, qreal cy, qreal rx, qreal ry);

} // namespace Artwork::detail
