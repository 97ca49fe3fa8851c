#include "quiz/art/Artwork.h"
#include "quiz/art/Paint.h"

#include <QRadialGradient>
#include <QtMath>

#include <array>

namespace Artwork {
using namespace detail;

namespace {

// The eye animation: gaze (x, y from -1 to 1) and how far the upper lid has
// come down (0 at rest, 1 shut) for each frame.

struct EyePose {
    qreal x, y, lid;
};

const std::array<EyePose, 14> kEyePoses = {{
    {0.00, 0.00, 0.00},
    {0.45, -0.10, 0.00},
    {0.85, -0.25, 0.00},
    {0.95, -0.35, 0.00},
    {0.62, -0.78, 0.00},
    {0.00, -0.92, 0.00},
    {-0.62, -0.72, 0.00},
    {-0.92, -0.20, 0.00},
    {-0.80, 0.35, 0.00},
    {-0.35, 0.45, 0.05},
    {-0.05, 0.25, 0.45},
    {0.00, 0.12, 1.00},
    {0.00, 0.05, 0.50},
    {0.00, 0.00, 0.12},
}};

void paintEye(QPainter& p, const EyePose& pose) {
    const QPointF c(16, 16.5);
    const qreal r = 13.2;
    const QPainterPath ball = circle(c, r);
    fillPlain(p, ellipse(16, 30.5, 9, 1.3), withAlpha(kInk, 40));
    QRadialGradient white(c + QPointF(-3, -4), r * 1.3);
    white.setColorAt(0, kWhite);
    white.setColorAt(1, QColor(226, 228, 246));
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    p.drawPath(ball);

    p.save();
    p.setClipPath(ball);
    // Diagonal gazes stay on the circle, so the iris never leaves the ball.
    const qreal reach = qMax(1.0, qSqrt(pose.x * pose.x + pose.y * pose.y));
    const QPointF iris = c + QPointF(pose.x * 6.2, pose.y * 6.0) / reach;
    fillPlain(p, circle(iris, 6.3), QColor(84, 150, 222));
    fillPlain(p, circle(iris + QPointF(0, 1.2), 4.6), QColor(64, 124, 200));
    strokePath(p, circle(iris, 6.3), 0.9, QColor(40, 80, 150));
    fillPlain(p, circle(iris, 3.0), QColor(30, 26, 46));
    fillPlain(p, circle(iris + QPointF(-2.1, -2.3), 1.5), kWhite);
    fillPlain(p, circle(iris + QPointF(2.0, 2.0), 0.7), QColor(255, 255, 255, 200));

    // The upper lid: open, it covers the top of the eyeball; closing, its
    // edge sweeps down past the bottom.
    // Looking up lifts the lid a little, looking down lowers it.
    const qreal restEdge = c.y() - r * (0.5 + 0.2 * qMax(0.0, -pose.y) - 0.12 * qMax(0.0, pose.y));
    const qreal shutEdge = c.y() + r + 3;
    const qreal edge = restEdge + (shutEdge - restEdge) * pose.lid;
    const qreal sag = 3.0 * (1 - pose.lid) + 1.0;
    const qreal left = c.x() - r - 2;
    const qreal right = c.x() + r + 2;
    QPainterPath lid;
    lid.moveTo(left, c.y() - r - 2);
    lid.lineTo(right, c.y() - r - 2);
    lid.lineTo(right, edge - sag);
    lid.quadTo(c.x(), edge + sag, left, edge - sag);
    lid.closeSubpath();
    const QColor skin(190, 172, 242);
    fillPlain(p, lid, skin);
    fillPlain(p, lid.translated(0, -2.4), mix(skin, kWhite, 0.3));
    QPainterPath lidEdge;
    lidEdge.moveTo(left, edge - sag);
    lidEdge.quadTo(c.x(), edge + sag, right, edge - sag);
    strokePath(p, lidEdge, 1.5);
    if (pose.lid > 0.9) {
        // Shut: the lid's fold and its lashes, low on the eye.
        QPainterPath fold;
        fold.moveTo(c + QPointF(-r * 0.78, r * 0.18));
        fold.quadTo(c + QPointF(0, r * 0.78), c + QPointF(r * 0.78, r * 0.18));
        strokePath(p, fold, 1.6);
        for (qreal t : {-0.5, 0.0, 0.5}) {
            const QPointF at = c + QPointF(t * r * 0.78, r * (0.48 - 0.25 * t * t));
            strokeLine(p, at, at + QPointF(t * 2.2, 2.6), 1.3);
        }
    }
    p.restore();

    strokePath(p, ball, 1.5);
}

} // namespace

int eyeFrameCount() {
    return int(kEyePoses.size());
}

QPixmap eyeFrame(int index, QSize size, qreal dpr) {
    const int count = eyeFrameCount();
    index = ((index % count) + count) % count;
    return cachedPicture(QStringLiteral("eye%1").arg(index), size, dpr,
                         [index](QPainter& p, QSizeF s) {
                             fitBox(p, s, 32);
                             paintEye(p, kEyePoses[index]);
                         });
}

QPixmap eye(QPointF gaze, qreal lid, QSize size, qreal dpr) {
    auto step = [](qreal v, qreal low) { return qRound(qBound(low, v, 1.0) * 20); };
    const int x = step(gaze.x(), -1);
    const int y = step(gaze.y(), -1);
    const int l = step(lid, 0);
    return cachedPicture(QStringLiteral("eye/%1/%2/%3").arg(x).arg(y).arg(l), size, dpr,
                         [x, y, l](QPainter& p, QSizeF s) {
                             fitBox(p, s, 32);
                             paintEye(p, {x / 20.0, y / 20.0, l / 20.0});
                         });
}

} // namespace Artwork
