#include "quiz/art/Artwork.h"
#include "quiz/art/Paint.h"

#include <QRadialGradient>
#include <QtMath>

// Small pictures in a 32 x 32 design box: the question window's marks and
// faces, and the hand pointer.

namespace Artwork {
using namespace detail;

namespace {

void paintFaceBase(QPainter& p, const QColor& skin) {
    fillPlain(p, ellipse(16, 30.6, 10, 1.2), withAlpha(kInk, 40));
    QRadialGradient g(QPointF(12, 10), 18);
    g.setColorAt(0, mix(skin, kWhite, 0.35));
    g.setColorAt(1, skin);
    fillOutlined(p, circle({16, 16}, 13.5), g, kIconLine);
}

void paintHappyFace(QPainter& p) {
    paintFaceBase(p, QColor(255, 206, 74));
    fillPlain(p, ellipse(8.6, 18.5, 2.6, 1.6), kBlush);
    fillPlain(p, ellipse(23.4, 18.5, 2.6, 1.6), kBlush);
    for (qreal x : {11.5, 20.5}) {
        QPainterPath eye;
        eye.moveTo(x - 2.4, 13.2);
        eye.quadTo(x, 9.4, x + 2.4, 13.2);
        strokePath(p, eye, 1.8);
    }
    QPainterPath mouth;
    mouth.moveTo(9.5, 17.5);
    mouth.quadTo(16, 18.6, 22.5, 17.5);
    mouth.cubicTo(21.5, 26.5, 10.5, 26.5, 9.5, 17.5);
    mouth.closeSubpath();
    fillPlain(p, mouth, kMouthInside);
    p.save();
    p.setClipPath(mouth);
    fillPlain(p, ellipse(16, 24.5, 4.2, 2.6), kTongue);
    p.restore();
    strokePath(p, mouth, 1.4);
}

void paintSadFace(QPainter& p) {
    paintFaceBase(p, QColor(150, 190, 246));
    for (qreal x : {11.5, 20.5}) {
        fillPlain(p, ellipse(x, 14.2, 1.8, 2.4), kInk);
        fillPlain(p, circle({x - 0.5, 13.3}, 0.6), kWhite);
    }
    strokeLine(p, {8.6, 10.2}, {13.2, 8.6}, 1.5);
    strokeLine(p, {23.4, 10.2}, {18.8, 8.6}, 1.5);
    QPainterPath mouth;
    mouth.moveTo(11, 23.2);
    mouth.quadTo(16, 18.4, 21, 23.2);
    strokePath(p, mouth, 1.8);
    QPainterPath tear;
    tear.moveTo(22.2, 16.4);
    tear.cubicTo(20, 19.6, 20.4, 21.8, 22.2, 21.8);
    tear.cubicTo(24, 21.8, 24.4, 19.6, 22.2, 16.4);
    fillOutlined(p, tear, QColor(120, 200, 255), 1.0);
}

void paintRightMark(QPainter& p) {
    fillPlain(p, ellipse(16, 30.6, 10, 1.2), withAlpha(kInk, 40));
    fillOutlined(p, circle({16, 16}, 13.5),
                 verticalGradient(3, 29, QColor(110, 214, 140), QColor(52, 170, 104)), kIconLine);
    fillPlain(p, ellipse(12, 8.5, 6, 2.6, -25), QColor(255, 255, 255, 90));
    QPainterPath tick;
    tick.moveTo(9, 16.5);
    tick.lineTo(14, 21.5);
    tick.lineTo(23.5, 10.5);
    strokePath(p, tick, 4.2);
    strokePath(p, tick, 2.4, kWhite);
}

// The pointing hand: palm and index finger in one outline, the folded
// fingers and the thumb laid over it, each outlined, so it reads as a hand
// even at 32 pixels.
void paintHand(QPainter& p) {
    const QColor skin(255, 243, 230);
    const QColor fold = mix(skin, kInk, 0.08);
    const QPainterPath base =
        rounded(9.6, 1.7, 6.6, 19, 3.3).united(rounded(9.4, 14.5, 20.2, 15.5, 6)).simplified();
    const QPainterPath middle = rounded(15.6, 10.6, 5.8, 10.5, 2.9);
    const QPainterPath ring = rounded(20.8, 12.2, 5.2, 9.5, 2.6);
    const QPainterPath little = rounded(25.2, 14.4, 4.4, 8.5, 2.2);
    const QPainterPath thumb = ellipse(13.2, 21.8, 3.0, 6.2, 58);
    const QPainterPath all =
        base.united(middle).united(ring).united(little).united(thumb).simplified();
    fillPlain(p, all.translated(0.8, 0.9), withAlpha(kInk, 60));
    fillOutlined(p, base, skin, 1.4);
    fillOutlined(p, little, fold, 1.2);
    fillOutlined(p, ring, fold, 1.2);
    fillOutlined(p, middle, fold, 1.2);
    fillOutlined(p, thumb, skin, 1.2);
    // The outer edge once more, so the layers end in one clean line.
    strokePath(p, all, 1.4);
    fillPlain(p, rounded(11.1, 3.8, 1.6, 5, 0.8), QColor(255, 255, 255, 210));
}

} // namespace

QPixmap rightMark(QSize size, qreal dpr) {
    return cachedDesign(QStringLiteral("rightMark"), size, dpr, 32, paintRightMark);
}

QPixmap happyFace(QSize size, qreal dpr) {
    return cachedDesign(QStringLiteral("happyFace"), size, dpr, 32, paintHappyFace);
}

QPixmap sadFace(QSize size, qreal dpr) {
    return cachedDesign(QStringLiteral("sadFace"), size, dpr, 32, paintSadFace);
}

QPixmap hand(QSize size, qreal dpr) {
    return cachedDesign(QStringLiteral("hand"), size, dpr, 32, paintHand);
}

QPoint handHotSpot(QSize size) {
    const qreal scale = qMin(size.width(), size.height()) / 32.0;
    const qreal x = (size.width() - 32 * scale) / 2 + 13 * scale;
    const qreal y = (size.height() - 32 * scale) / 2 + 1 * scale;
    return QPoint(qFloor(x), qFloor(y));
}

} // namespace Artwork
