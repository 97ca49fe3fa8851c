#include "quiz/art/Paint.h"

#include <QLinearGradient>
#include <QPixmapCache>
#include <QTransform>

namespace Artwork::detail {

QColor mix(const QColor& a, const QColor& b, qreal t) {
    auto lerp = [t](int x, int y) { return qRound(x + (y - x) * t); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

QBrush verticalGradient(qreal y0, qreal y1, const QColor& top, const QColor& bottom) {
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QImage canvas(QSize size, qreal dpr) {
    QImage image(qMax(1, qRound(size.width() * dpr)), qMax(1, qRound(size.height() * dpr)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

QPixmap cachedPicture(const QString& name, QSize size, qreal dpr, const PaintFunction& paint) {
    if (size.isEmpty() || !(dpr > 0))
        return {};
    const QString key = QStringLiteral("vokabo-art/%1/%2x%3@%4")
                            .arg(name)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(dpr);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    QImage image = canvas(size, dpr);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        paint(p, QSizeF(size));
    }
    pixmap = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QPixmap cachedDesign(const QString& name, QSize size, qreal dpr, qreal units,
                     void (*paint)(QPainter&)) {
    return cachedPicture(name, size, dpr, [units, paint](QPainter& p, QSizeF s) {
        fitBox(p, s, units);
        paint(p);
    });
}

void fitBox(QPainter& p, QSizeF size, qreal units, bool onBottom) {
    const qreal scale = qMin(size.width(), size.height()) / units;
    const qreal x = (size.width() - units * scale) / 2;
    const qreal y = onBottom ? size.height() - units * scale : (size.height() - units * scale) / 2;
    p.translate(x, y);
    p.scale(scale, scale);
}

QPainterPath ellipse(qreal cx, qreal cy, qreal rx, qreal ry, qreal degrees) {
    QPainterPath path;
    path.addEllipse(QPointF(0, 0), rx, ry);
    QTransform t;
    t.translate(cx, cy);
    t.rotate(degrees);
    return t.map(path);
}

QPainterPath circle(QPointF c, qreal r) {
    return ellipse(c.x(), c.y(), r, r);
}

QPainterPath rounded(qreal x, qreal y, qreal w, qreal h, qreal r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    path.closeSubpath();
    return path;
}

QPainterPath thick(const QPainterPath& centre, qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(centre).simplified();
}

QPen inkPen(qreal width, const QColor& color) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void fillOutlined(QPainter& p, const QPainterPath& path, const QBrush& fill, qreal width) {
    p.setPen(inkPen(width));
    p.setBrush(fill);
    p.drawPath(path);
}

void fillPlain(QPainter& p, const QPainterPath& path, const QBrush& fill) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
}

void strokePath(QPainter& p, const QPainterPath& path, qreal width, const QColor& color) {
    p.setPen(inkPen(width, color));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void strokeLine(QPainter& p, QPointF a, QPointF b, qreal width, const QColor& color) {
    p.setPen(inkPen(width, color));
    p.drawLine(a, b);
}

} // namespace Artwork::detail
