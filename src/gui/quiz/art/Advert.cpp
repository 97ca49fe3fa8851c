#include "quiz/art/Artwork.h"
#include "quiz/art/Paint.h"

#include <QLineF>
#include <QRadialGradient>
#include <QtMath>

// The advert picture, drawn like the question window's characters: a design
// box 100 units high (so the same outline widths), about 107.6 units wide.

namespace Artwork {
using namespace detail;

namespace {

const QColor kFur(255, 178, 102);
const QColor kEar(184, 112, 74);
const QColor kRim(255, 200, 64);
const QPointF kLens(82, 31);
constexpr qreal kLensRadius = 20.5;
const QPointF kPaw(66, 72);

void paintCard(QPainter& p, qreal width) {
    const QPainterPath card = rounded(1, 1, width - 2, 98, 11);
    fillPlain(p, card, verticalGradient(0, 100, QColor(150, 214, 255), QColor(72, 146, 232)));
    p.save();
    p.setClipPath(card);
    // Rays from the lens, so the eye goes there first.
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(i * 30.0 + 8);
        const qreal b = a + qDegreesToRadians(13);
        fillPlain(p,
                  polygon({kLens, kLens + QPointF(qCos(a), qSin(a)) * 140,
                           kLens + QPointF(qCos(b), qSin(b)) * 140}),
                  QColor(255, 255, 255, 34));
    }
    fillPlain(p, ellipse(40, 104, 62, 14), QColor(58, 120, 204));
    p.restore();
}

void paintSparkle(QPainter& p, QPointF c, qreal r) {
    const qreal w = r * 0.28;
    fillPlain(
        p,
        polygon({c + QPointF(0, -r), c + QPointF(w, -w), c + QPointF(r, 0), c + QPointF(w, w),
                 c + QPointF(0, r), c + QPointF(-w, w), c + QPointF(-r, 0), c + QPointF(-w, -w)}),
        kWhite);
}

void paintDog(QPainter& p) {
    fillPlain(p, ellipse(38, 96.5, 25, 2.8), withAlpha(kInk, 60));
    QPainterPath tail;
    tail.moveTo(54, 88);
    tail.quadTo(66, 88, 68, 76);
    fillOutlined(p, thick(tail, 6), kFur, kLine);
    fillOutlined(p, ellipse(29, 94, 8.5, 4.8), kEar, kLine);
    fillOutlined(p, ellipse(48, 94, 8.5, 4.8), kEar, kLine);
    fillOutlined(p, ellipse(16, 80, 5.5, 9.5, 25), kFur, kLine);
    fillOutlined(p, ellipse(38, 82, 20, 13), kFur, kLine);
    fillPlain(p, ellipse(39, 86, 11, 8), mix(kFur, kWhite, 0.6));

    const QPainterPath head = ellipse(37, 51, 26, 22);
    fillOutlined(p, head, kFur, kLine);
    shine(p, 21, 37, 6.5, 3.5);
    fillOutlined(p, ellipse(12.5, 51, 7.5, 15.5, 16), kEar, kLine);
    fillOutlined(p, ellipse(61.5, 50, 7, 14.5, -16), kEar, kLine);

    fillPlain(p, ellipse(21, 63, 5.5, 3.4), kBlush);
    fillPlain(p, ellipse(56, 62, 5.5, 3.4), kBlush);
    fillOutlined(p, ellipse(39, 62, 12.5, 9), mix(kFur, kWhite, 0.6), kLine * 0.6);
    drawEye(p, {27, 49}, 7.5, Eyes::Iris, false, QColor(96, 170, 90));
    drawEye(p, {49, 48}, 7.5, Eyes::Iris, true, QColor(96, 170, 90));
    drawMouth(p, {39.5, 63.5}, 13, Mouth::Open);
    fillOutlined(p, ellipse(39, 57.5, 4.6, 3.3), kInk, 1);
    fillPlain(p, ellipse(37.8, 56.6, 1.6, 0.9), QColor(255, 255, 255, 170));
}

// The magnifying glass, held up by the dog's raised paw, with a person
// behind the glass.
void paintGlass(QPainter& p) {
    const QPointF along = (kPaw - kLens) / QLineF(kLens, kPaw).length();
    const QPointF neck = kLens + along * (kLensRadius + 1);
    const QPointF grip = kLens + along * (kLensRadius + 9);
    strokeLine(p, neck, kPaw, 8.5);
    strokeLine(p, neck, kPaw, 4, QColor(174, 112, 70));
    strokeLine(p, grip, kPaw, 4, QColor(120, 70, 48));
    QPainterPath arm;
    arm.moveTo(52, 81);
    arm.quadTo(60, 80, kPaw.x(), kPaw.y() + 1);
    fillOutlined(p, thick(arm, 9), kFur, kLine);
    fillOutlined(p, circle(kPaw + QPointF(0.5, 0), 6), kFur, kLine);

    const QPainterPath lens = circle(kLens, kLensRadius);
    QRadialGradient glass(kLens + QPointF(-6, -7), kLensRadius * 1.4);
    glass.setColorAt(0, QColor(255, 255, 255));
    glass.setColorAt(1, QColor(206, 236, 255));
    fillPlain(p, lens, glass);
    p.save();
    p.setClipPath(lens);
    const QColor person(236, 104, 124);
    fillOutlined(p, ellipse(kLens.x(), kLens.y() + 21, 14, 13), person, kLine * 0.8);
    fillOutlined(p, circle(kLens + QPointF(0, -3), 8), QColor(255, 214, 176), kLine * 0.8);
    QPainterPath hair;
    hair.moveTo(kLens + QPointF(-8, -3.5));
    hair.cubicTo(kLens + QPointF(-8, -14), kLens + QPointF(8, -14), kLens + QPointF(8, -3.5));
    hair.quadTo(kLens + QPointF(0, -8.5), kLens + QPointF(-8, -3.5));
    fillOutlined(p, hair, QColor(110, 74, 58), kLine * 0.6);
    p.restore();
    QPainterPath glint;
    glint.moveTo(kLens + QPointF(-13.5, -3));
    glint.quadTo(kLens + QPointF(-12.5, -12.5), kLens + QPointF(-3, -14.5));
    strokePath(p, glint, 2.6, QColor(255, 255, 255, 220));
    fillOutlined(p, lens.subtracted(circle(kLens, kLensRadius - 5.5)), kRim, kLine * 0.7);
}

} // namespace

QPixmap advert(qreal dpr) {
    return cachedPicture(QStringLiteral("advert"), advertSize, dpr, [](QPainter& p, QSizeF s) {
        p.fillRect(QRectF(QPointF(0, 0), s), Qt::black);
        const qreal scale = s.height() / 100;
        p.scale(scale, scale);
        paintCard(p, s.width() / scale);
        paintSparkle(p, {99, 66}, 4.5);
        paintSparkle(p, {55, 12}, 3.5);
        paintDog(p);
        paintGlass(p);
    });
}

} // namespace Artwork
