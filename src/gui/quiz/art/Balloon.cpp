#include "quiz/art/Artwork.h"
#include "quiz/art/Paint.h"

namespace Artwork {
using namespace detail;

namespace {

// The two ends of the speech balloon, in logical pixels. The body's outline
// runs along y = 3.5 and y = 35.5, so a one-pixel pen fills rows 3 and 35 and
// the white body rows 3 to 35, exactly like paintBalloonMiddle.
void paintBody(QPainter& p, const QPainterPath& body) {
    p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(kWhite);
    p.drawPath(body);
}

void paintBalloonLeft(QPainter& p) {
    QPainterPath body = rounded(6.5, 3.5, 80, 32, 13);
    QPainterPath tail;
    tail.moveTo(31, 30);
    tail.cubicTo(27, 40, 16, 46, 3, 49.5);
    tail.cubicTo(11, 42, 15, 37, 14.5, 30);
    tail.closeSubpath();
    paintBody(p, body.united(tail).simplified());
}

void paintBalloonRight(QPainter& p) {
    paintBody(p, rounded(-40, 3.5, 40 + 44.5, 32, 14));
}

} // namespace

QColor balloonInk() {
    return kInk;
}

QPixmap balloonLeft(qreal dpr) {
    return cachedPicture(QStringLiteral("balloonLeft"), balloonLeftSize, dpr,
                         [](QPainter& p, QSizeF) { paintBalloonLeft(p); });
}

QPixmap balloonRight(qreal dpr) {
    return cachedPicture(QStringLiteral("balloonRight"), balloonRightSize, dpr,
                         [](QPainter& p, QSizeF) { paintBalloonRight(p); });
}

void paintBalloonMiddle(QPainter& painter, const QRect& rect) {
    if (rect.isEmpty())
        return;
    painter.fillRect(rect, kWhite);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), kInk);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), kInk);
}

QPixmap balloon(int middleWidth, qreal dpr) {
    middleWidth = qMax(0, middleWidth);
    const QSize size(balloonLeftSize.width() + middleWidth + balloonRightSize.width(),
                     balloonLeftSize.height());
    QImage image = canvas(size, dpr);
    {
        QPainter p(&image);
        p.drawPixmap(0, 0, balloonLeft(dpr));
        paintBalloonMiddle(
            p, QRect(balloonLeftSize.width(), balloonBodyTop, middleWidth, balloonBodyHeight));
        p.drawPixmap(balloonLeftSize.width() + middleWidth, 0, balloonRight(dpr));
    }
    return QPixmap::fromImage(std::move(image));
}

} // namespace Artwork
