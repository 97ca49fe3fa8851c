#include "quiz/art/Artwork.h"
#include "quiz/art/Paint.h"

#include <QLinearGradient>
#include <QTransform>
#include <QtMath>

#include <array>

// The question window's three buttons and the main window's bar buttons.

namespace Artwork {
using namespace detail;

namespace {

// A grey, faded copy of a picture, for things that cannot be used now.
QImage greyed(const QImage& source, qreal opacity) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int grey = 110 + qGray(c) * 120 / 255;
            line[x] = qRgba(grey, grey, qMin(255, grey + 8), qRound(qAlpha(c) * opacity));
        }
    }
    return image;
}

// Question window buttons: a rounded tile and a picture in a 32 x 32 box in
// its middle.

void paintTile(QPainter& p, QSizeF size, bool enabled) {
    const QRectF r(1, 1, size.width() - 2, size.height() - 2.5);
    if (enabled) {
        fillPlain(p, rounded(r.x(), r.y() + 1.5, r.width(), r.height(), 8), withAlpha(kInk, 70));
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(255, 255, 255));
        g.setColorAt(1, QColor(224, 226, 255));
        p.setPen(inkPen(1.2, withAlpha(kInk, 200)));
        p.setBrush(g);
        p.drawRoundedRect(r, 8, 8);
        p.setPen(inkPen(1.0, QColor(255, 255, 255, 220)));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1.2, 1.2, -1.2, -1.2), 7, 7);
    } else {
        p.setPen(inkPen(1.0, QColor(170, 170, 184)));
        p.setBrush(QColor(236, 236, 242));
        p.drawRoundedRect(r, 8, 8);
    }
}

void paintSentenceIcon(QPainter& p) {
    QPainterPath balloon = rounded(3, 4, 26, 18, 6);
    QPainterPath tail;
    tail.moveTo(8, 19);
    tail.lineTo(5, 28);
    tail.lineTo(15, 20);
    balloon = balloon.united(tail).simplified();
    fillOutlined(p, balloon, QColor(120, 176, 245), kIconLine);
    fillPlain(p, rounded(5.5, 6, 16, 4, 2), QColor(255, 255, 255, 60));
    strokeLine(p, {8.5, 10}, {23.5, 10}, 2.2, kWhite);
    strokeLine(p, {8.5, 14.5}, {19.5, 14.5}, 2.2, kWhite);
    strokeLine(p, {22.5, 14.5}, {23.5, 14.5}, 2.2, kGold);
}

void paintStar(QPainter& p, QPointF c, qreal r, const QColor& fill, qreal line) {
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal a = qDegreesToRadians(-90 + i * 36.0);
        const qreal rr = i % 2 == 0 ? r : r * 0.48;
        const QPointF pt = c + QPointF(qCos(a) * rr, qSin(a) * rr);
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    fillOutlined(p, star, fill, line);
}

void paintLearnedIcon(QPainter& p) {
    const QColor cap(104, 88, 180);
    QPainterPath base;
    base.moveTo(8, 14);
    base.lineTo(8, 21);
    base.cubicTo(10, 25.5, 22, 25.5, 24, 21);
    base.lineTo(24, 14);
    base.closeSubpath();
    fillOutlined(p, base, mix(cap, kInk, 0.25), kIconLine);
    const QPainterPath board = polygon({{16, 5}, {30, 11.5}, {16, 18}, {2, 11.5}});
    fillOutlined(p, board, cap, kIconLine);
    fillPlain(p, polygon({{16, 6.8}, {26, 11.5}, {16, 9.5}, {6, 11.5}}), QColor(255, 255, 255, 60));
    strokeLine(p, {16, 11.5}, {26, 15}, 1.3, kGold);
    strokeLine(p, {26, 15}, {26, 21}, 1.3, kGold);
    fillOutlined(p, rounded(24.6, 20.5, 2.8, 4, 1), kGold, 0.9);
    fillOutlined(p, circle({16, 11.5}, 1.6), kGold, 0.9);
    paintStar(p, {6.5, 24.5}, 5.5, kGold, 1.2);
}

QPainterPath tickPath() {
    QPainterPath tick;
    tick.moveTo(7.5, 16.5);
    tick.lineTo(13.5, 23);
    tick.lineTo(25, 8.5);
    return tick;
}

void paintOkIcon(QPainter& p) {
    strokePath(p, tickPath(), 6.2);
    strokePath(p, tickPath(), 3.6, QColor(72, 190, 116));
}

void paintButton(QPainter& p, QSizeF size, Button which, bool enabled) {
    paintTile(p, size, enabled);
    const qreal box = qMin(size.width(), size.height()) * 32.0 / 41.0;
    const QSizeF iconSize(box, box);
    const QPointF origin((size.width() - box) / 2, (size.height() - box) / 2 - 0.5);
    auto paintIcon = [&](QPainter& q) {
        q.scale(box / 32.0, box / 32.0);
        switch (which) {
        case Button::Sentence:
            paintSentenceIcon(q);
            break;
        case Button::Learned:
            paintLearnedIcon(q);
            break;
        case Button::Ok:
            paintOkIcon(q);
            break;
        }
    };
    if (enabled) {
        p.save();
        p.translate(origin);
        paintIcon(p);
        p.restore();
        return;
    }
    // Paint the picture apart, at the target's resolution, then grey it.
    const qreal dpr = p.device()->devicePixelRatioF();
    QImage icon(qCeil(iconSize.width() * dpr), qCeil(iconSize.height() * dpr),
                QImage::Format_ARGB32_Premultiplied);
    icon.setDevicePixelRatio(dpr);
    icon.fill(Qt::transparent);
    {
        QPainter q(&icon);
        q.setRenderHint(QPainter::Antialiasing);
        paintIcon(q);
    }
    p.drawImage(origin, greyed(icon, 0.55));
}

// Bar buttons.

void paintNewWord(QPainter& p) {
    QTransform t;
    t.translate(13, 15);
    t.rotate(-8);
    const QPainterPath card = t.map(rounded(-9.5, -11.5, 19, 23, 2.5));
    fillPlain(p, card.translated(1, 1.2), withAlpha(kInk, 60));
    fillOutlined(p, card, kWhite, kIconLine);
    p.save();
    p.setTransform(t, true);
    fillPlain(p, rounded(-9.5 + 0.8, -11.5 + 0.8, 17.4, 4.5, 2), QColor(255, 206, 72));
    for (qreal y : {-2.5, 1.5, 5.5})
        strokeLine(p, {-5.5, y}, {y > 4 ? 1.5 : 5.5, y}, 1.5, QColor(150, 150, 200));
    p.restore();
    fillOutlined(p, circle({23, 23}, 7.5), QColor(72, 190, 116), kIconLine);
    strokeLine(p, {23, 19}, {23, 27}, 2.6, kWhite);
    strokeLine(p, {19, 23}, {27, 23}, 2.6, kWhite);
}

void paintDelete(QPainter& p) {
    const QColor bin(240, 112, 118);
    QPainterPath body;
    body.moveTo(7.5, 9.5);
    body.lineTo(24.5, 9.5);
    body.lineTo(22.6, 28);
    body.quadTo(22.4, 29.5, 21, 29.5);
    body.lineTo(11, 29.5);
    body.quadTo(9.6, 29.5, 9.4, 28);
    body.closeSubpath();
    fillOutlined(p, body, bin, kIconLine);
    for (qreal x : {12.6, 16.0, 19.4})
        strokeLine(p, {x, 13.5}, {x + (x - 16) * 0.1, 25.5}, 1.6, mix(bin, kWhite, 0.55));
    fillOutlined(p, rounded(12.5, 3.2, 7, 4.5, 2), mix(bin, kInk, 0.25), kIconLine);
    fillOutlined(p, rounded(5, 6.4, 22, 4.4, 2), mix(bin, kInk, 0.12), kIconLine);
}

void paintSettings(QPainter& p) {
    const QPointF c(16, 16);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = 2 * M_PI * i / teeth;
        const qreal half = 2 * M_PI / teeth / 2;
        const qreal ro = 13.6;
        const qreal ri = 10.4;
        const QPointF pts[] = {
            c + QPointF(qCos(a - half * 0.95), qSin(a - half * 0.95)) * ri,
            c + QPointF(qCos(a - half * 0.45), qSin(a - half * 0.45)) * ro,
            c + QPointF(qCos(a + half * 0.45), qSin(a + half * 0.45)) * ro,
            c + QPointF(qCos(a + half * 0.95), qSin(a + half * 0.95)) * ri,
        };
        if (i == 0)
            gear.moveTo(pts[0]);
        else
            gear.lineTo(pts[0]);
        for (int j = 1; j < 4; ++j)
            gear.lineTo(pts[j]);
    }
    gear.closeSubpath();
    gear = gear.subtracted(circle(c, 4.4));
    fillPlain(p, gear.translated(0.8, 1), withAlpha(kInk, 55));
    fillOutlined(p, gear, verticalGradient(2, 30, QColor(168, 178, 214), QColor(122, 132, 178)),
                 kIconLine);
    strokePath(p, circle(c, 7.6), 1.2, QColor(255, 255, 255, 110));
}

void paintAskNow(QPainter& p) {
    QPainterPath balloon = ellipse(16, 14, 13.5, 11.5);
    QPainterPath tail;
    tail.moveTo(7, 20);
    tail.lineTo(4, 30);
    tail.lineTo(14, 24);
    balloon = balloon.united(tail).simplified();
    fillPlain(p, balloon.translated(0.8, 1), withAlpha(kInk, 55));
    fillOutlined(p, balloon, QColor(255, 196, 84), kIconLine);
    QPainterPath q;
    q.moveTo(12.2, 10.6);
    q.cubicTo(12.2, 5.4, 20.2, 5.4, 20.2, 10.2);
    q.cubicTo(20.2, 13.4, 16.2, 13.6, 16.2, 16.6);
    strokePath(p, q, 5.2);
    strokePath(p, q, 2.8, kWhite);
    fillOutlined(p, circle({16.2, 21.4}, 2.1), kWhite, 1.2);
}

void paintHelp(QPainter& p) {
    fillPlain(p, circle({16.8, 17}, 13.5), withAlpha(kInk, 55));
    fillOutlined(p, circle({16, 16}, 13.5),
                 verticalGradient(2, 30, QColor(112, 176, 250), QColor(70, 128, 222)), kIconLine);
    fillPlain(p, ellipse(11.5, 8.5, 6, 2.5, -25), QColor(255, 255, 255, 80));
    fillPlain(p, circle({16, 8.8}, 2.4), kWhite);
    QPainterPath stem;
    stem.moveTo(13.2, 13.2);
    stem.lineTo(17.6, 13.2);
    stem.lineTo(17.6, 22.4);
    stem.lineTo(19.4, 22.4);
    stem.lineTo(19.4, 24.6);
    stem.lineTo(12.6, 24.6);
    stem.lineTo(12.6, 22.4);
    stem.lineTo(14.4, 22.4);
    stem.lineTo(14.4, 15.4);
    stem.lineTo(13.2, 15.4);
    stem.closeSubpath();
    fillPlain(p, stem, kWhite);
}

QPainterPath arrowRight(qreal y, qreal x0, qreal x1) {
    const QPainterPath path = polygon({{x0, y - 2.6},
                                       {x1 - 7, y - 2.6},
                                       {x1 - 7, y - 6.4},
                                       {x1, y},
                                       {x1 - 7, y + 6.4},
                                       {x1 - 7, y + 2.6},
                                       {x0, y + 2.6}});
    return path;
}

void paintToggleActive(QPainter& p) {
    const QPainterPath top = arrowRight(9.5, 3, 29);
    const QPainterPath bottom = QTransform(-1, 0, 0, 1, 32, 0).map(arrowRight(22.5, 3, 29));
    for (const auto& [path, color] :
         {std::pair{top, QColor(72, 190, 116)}, std::pair{bottom, QColor(255, 150, 84)}}) {
        fillPlain(p, path.translated(0.8, 1), withAlpha(kInk, 55));
        fillOutlined(p, path, color, 1.4);
    }
}

void paintNewVersion(QPainter& p) {
    const QPointF c(14.5, 14.5);
    const qreal r = 12.5;
    fillPlain(p, circle(c + QPointF(0.8, 1), r), withAlpha(kInk, 55));
    fillOutlined(p, circle(c, r), QColor(110, 196, 236), kIconLine);
    p.save();
    p.setClipPath(circle(c, r));
    const QColor land(120, 204, 120);
    QPainterPath a;
    a.moveTo(4, 8);
    a.cubicTo(9, 3, 15, 7, 13, 11);
    a.cubicTo(11, 15, 16, 17, 12, 22);
    a.cubicTo(8, 26, 4, 20, 4, 16);
    a.closeSubpath();
    fillPlain(p, a, land);
    fillPlain(p, ellipse(21, 10, 5, 3.5, 20), land);
    fillPlain(p, ellipse(22, 21, 3.5, 5, -10), land);
    const QColor grid(255, 255, 255, 130);
    strokePath(p, ellipse(c.x(), c.y(), r * 0.45, r), 1.0, grid);
    strokeLine(p, {c.x(), c.y() - r}, {c.x(), c.y() + r}, 1.0, grid);
    strokeLine(p, {c.x() - r, c.y()}, {c.x() + r, c.y()}, 1.0, grid);
    p.restore();
    strokePath(p, circle(c, r), kIconLine);
    fillOutlined(p, circle({23.6, 23.6}, 7), QColor(72, 190, 116), kIconLine);
    const QPainterPath arrow = polygon({{22.1, 19.4},
                                        {25.1, 19.4},
                                        {25.1, 23.1},
                                        {27.5, 23.1},
                                        {23.6, 27.6},
                                        {19.7, 23.1},
                                        {22.1, 23.1}});
    fillPlain(p, arrow, kWhite);
}

} // namespace

QPixmap button(Button which, bool enabled, QSize size, qreal dpr) {
    return cachedPicture(
        QStringLiteral("button%1-%2").arg(int(which)).arg(enabled ? 1 : 0), size, dpr,
        [which, enabled](QPainter& p, QSizeF s) { paintButton(p, s, which, enabled); });
}

QPixmap barButton(BarButton which, QSize size, qreal dpr) {
    // In the order of BarButton.
    static constexpr std::array<void (*)(QPainter&), 7> paint = {
        paintNewWord, paintDelete,       paintSettings,  paintAskNow,
        paintHelp,    paintToggleActive, paintNewVersion};
    const auto index = std::size_t(which);
    if (index >= paint.size())
        return {};
    return cachedDesign(QStringLiteral("bar%1").arg(index), size, dpr, 32, paint[index]);
}

} // namespace Artwork
