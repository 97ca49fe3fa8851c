// Renders the program's artwork to contact sheets (PNG), at 1x and 2x device
// pixel ratio, so the pictures can be looked over side by side.
//
//   artpreview [output folder]      (default: ./artpreview-out)
//
// Run without a screen with QT_QPA_PLATFORM=offscreen.

#include "quiz/art/Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

const QColor kSheet(246, 246, 250);
const QColor kBar(215, 217, 255);
const QColor kText(70, 70, 90);

QImage sheet(QSize logical, qreal dpr, const QColor& background = kSheet) {
    QImage image(logical * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(background);
    return image;
}

void label(QPainter& p, const QRect& r, const QString& text, int pointSize = 8) {
    QFont f = p.font();
    f.setPixelSize(pointSize + 3);
    p.setFont(f);
    p.setPen(kText);
    p.drawText(r, Qt::AlignCenter, text);
}

bool save(const QImage& image, const QString& path) {
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    return true;
}

// All characters in a grid, index under each.
QImage characterSheet(qreal dpr) {
    const int columns = 13;
    const QSize cell(66, 76);
    const int rows = (Artwork::characterCount() + columns - 1) / columns;
    QImage image = sheet(QSize(columns * cell.width() + 8, rows * cell.height() + 8), dpr);
    QPainter p(&image);
    for (int i = 0; i < Artwork::characterCount(); ++i) {
        const QPoint at(4 + (i % columns) * cell.width(), 4 + (i / columns) * cell.height());
        p.fillRect(QRect(at + QPoint(2, 2), QSize(cell.width() - 4, 61)), Qt::white);
        p.drawPixmap(at + QPoint(4, 4), Artwork::character(i, QSize(57, 57), dpr));
        label(p, QRect(at + QPoint(0, 62), QSize(cell.width(), 13)), QString::number(i));
    }
    return image;
}

// One character of each species, large, to see the detail.
QImage speciesSheet(qreal dpr) {
    const int size = 150;
    const int columns = 5;
    QImage image = sheet(QSize(columns * (size + 8) + 8, 3 * (size + 8) + 8), dpr);
    QPainter p(&image);
    for (int i = 0; i < 15; ++i) {
        const QRect r(8 + (i % columns) * (size + 8), 8 + (i / columns) * (size + 8), size, size);
        p.fillRect(r, Qt::white);
        p.drawPixmap(r.topLeft(), Artwork::character(i + 60, r.size(), dpr));
    }
    return image;
}

// The eye frames in a row; below, the loop's joint (frames 10..13 then 0..3)
// and every frame four times as large.
QImage eyeSheet(qreal dpr) {
    const int n = Artwork::eyeFrameCount();
    const int big = 128;
    QImage image =
        sheet(QSize(qMax(n * 40, 8 * (big + 8)) + 16, 40 + 20 + 2 * (big + 24) + 8), dpr);
    QPainter p(&image);
    for (int i = 0; i < n; ++i) {
        p.drawPixmap(8 + i * 40, 8, Artwork::eyeFrame(i, QSize(32, 32), dpr));
        label(p, QRect(8 + i * 40, 42, 32, 14), QString::number(i));
    }
    const int order[] = {10, 11, 12, 13, 0, 1, 2, 3};
    for (int k = 0; k < 8; ++k) {
        const QRect r(8 + k * (big + 8), 64, big, big);
        p.fillRect(r, Qt::white);
        p.drawPixmap(r, Artwork::eyeFrame(order[k], QSize(big, big), dpr));
        label(p, QRect(r.left(), r.bottom() + 2, big, 16), QString::number(order[k]));
    }
    for (int k = 0; k < 6; ++k) {
        const int frame = 4 + k;
        const QRect r(8 + k * (big + 8), 64 + big + 24, big, big);
        p.fillRect(r, Qt::white);
        p.drawPixmap(r, Artwork::eyeFrame(frame, QSize(big, big), dpr));
        label(p, QRect(r.left(), r.bottom() + 2, big, 16), QString::number(frame));
    }
    // Following the pointer: eight directions around the middle.
    for (int k = 0; k < 9; ++k) {
        const QPointF gaze(k % 3 - 1, k / 3 - 1);
        p.drawPixmap(8 + 6 * (big + 8) + (k % 3) * 36, 64 + big + 24 + (k / 3) * 36,
                     Artwork::eye(gaze, 0, QSize(32, 32), dpr));
    }
    return image;
}

// The balloon as the question window puts it together, with a character
// under its tail; then the joints eight times enlarged.
QImage balloonSheet(qreal dpr) {
    QImage image = sheet(QSize(560, 330), dpr, QColor(236, 233, 216));
    QPainter p(&image);
    const int widths[] = {40, 260};
    int y = 8;
    for (int w : widths) {
        p.drawPixmap(8, y, Artwork::balloonLeft(dpr));
        Artwork::paintBalloonMiddle(
            p, QRect(8 + 52, y + Artwork::balloonBodyTop, w, Artwork::balloonBodyHeight));
        p.drawPixmap(8 + 52 + w, y, Artwork::balloonRight(dpr));
        QFont f = p.font();
        f.setPixelSize(13);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(QRect(8 + 40, y + 3, w + 30, 33), Qt::AlignCenter,
                   w > 100 ? QStringLiteral("\"apple\" ne demek?") : QStringLiteral("ev"));
        p.drawPixmap(0, y + 44, Artwork::character(7 + w, QSize(57, 57), dpr));
        y += 110;
    }
    // The assembled pixmap, to be sure it matches the pieces.
    p.drawPixmap(360, 8, Artwork::balloon(60, dpr));
    p.end();

    // The second balloon's two joints, four times enlarged, pixel for pixel.
    const int zoom = 4;
    const QRect joinLeft(QPoint(8, 118) * dpr, QSize(64, 52) * dpr);
    const QRect joinRight(QPoint(8 + 52 + 260 - 16, 118) * dpr, QSize(64, 52) * dpr);
    QImage out = sheet(QSize(560, 330 + 52 * zoom + 16), dpr, QColor(236, 233, 216));
    QPainter q(&out);
    q.drawImage(QPoint(0, 0), image);
    q.drawImage(QRect(8, 338, 64 * zoom, 52 * zoom), image.copy(joinLeft));
    q.drawImage(QRect(24 + 64 * zoom, 338, 64 * zoom, 52 * zoom), image.copy(joinRight));
    // Where the pieces meet.
    q.fillRect(QRect(8 + (52 - 8) * zoom, 334, 1, 4), Qt::red);
    q.fillRect(QRect(24 + 64 * zoom + 16 * zoom, 334, 1, 4), Qt::red);
    return out;
}

// Small pictures and buttons.
QImage smallSheet(qreal dpr) {
    QImage image = sheet(QSize(520, 372), dpr);
    QPainter p(&image);
    int x = 8;
    const QPixmap smalls[] = {
        Artwork::rightMark(QSize(32, 32), dpr), Artwork::happyFace(QSize(32, 32), dpr),
        Artwork::sadFace(QSize(32, 32), dpr), Artwork::hand(QSize(32, 32), dpr)};
    const char* names[] = {"right", "happy", "sad", "hand"};
    for (int i = 0; i < 4; ++i) {
        p.fillRect(QRect(x, 8, 32, 32), Qt::white);
        p.drawPixmap(x, 8, smalls[i]);
        label(p, QRect(x - 10, 42, 52, 14), names[i]);
        x += 56;
    }
    // The hand's hot spot, marked.
    const QPoint hot = QPoint(8 + 3 * 56, 8) + Artwork::handHotSpot();
    p.fillRect(QRect(hot, QSize(1, 1)), Qt::red);

    // Question window buttons on a window-coloured panel: enabled, disabled,
    // and the OK button with each face drawn on it.
    p.fillRect(QRect(0, 64, 460, 70), QColor(236, 233, 216));
    x = 8;
    const Artwork::Button buttons[] = {Artwork::Button::Sentence, Artwork::Button::Learned,
                                       Artwork::Button::Ok};
    for (bool enabled : {true, false}) {
        for (auto b : buttons) {
            p.drawPixmap(x, 72, Artwork::button(b, enabled, QSize(49, 41), dpr));
            x += 54;
        }
        x += 12;
    }
    for (bool happy : {true, false}) {
        p.drawPixmap(x, 72, Artwork::button(Artwork::Button::Ok, true, QSize(49, 41), dpr));
        const QPixmap face =
            happy ? Artwork::happyFace(QSize(32, 32), dpr) : Artwork::sadFace(QSize(32, 32), dpr);
        p.drawPixmap(x + (49 - 32) / 2, 72 + (41 - 32) / 2, face);
        x += 54;
    }
    label(p, QRect(0, 116, 460, 14), "sentence  learned  ok  |  disabled  |  ok + faces");

    // The main window's bar.
    p.fillRect(QRect(0, 140, 460, 48), kBar);
    x = 8;
    for (int i = 0; i <= int(Artwork::BarButton::NewVersion); ++i) {
        p.drawPixmap(x, 148, Artwork::barButton(Artwork::BarButton(i), QSize(32, 32), dpr));
        x += 40;
    }
    label(p, QRect(0, 190, 460, 14), "new  delete  settings  ask  help  toggle  version");
    // The same pictures painted at twice the size, to see the detail.
    x = 8;
    const QPixmap large[] = {
        Artwork::rightMark(QSize(64, 64), dpr), Artwork::happyFace(QSize(64, 64), dpr),
        Artwork::sadFace(QSize(64, 64), dpr), Artwork::hand(QSize(64, 64), dpr)};
    for (const QPixmap& pm : large) {
        p.drawPixmap(x, 212, pm);
        x += 72;
    }
    p.fillRect(QRect(0, 284, 600, 80), kBar);
    x = 8;
    for (int i = 0; i <= int(Artwork::BarButton::NewVersion); ++i) {
        p.drawPixmap(x, 292, Artwork::barButton(Artwork::BarButton(i), QSize(64, 64), dpr));
        x += 72;
    }
    return image;
}

// The advert panel as the main window shows it, on black, and the 1x
// picture enlarged pixel for pixel.
QImage advertSheet(qreal dpr) {
    const int zoom = 6;
    const QSize one = Artwork::advertSize;
    QImage image =
        sheet(QSize(qMax(360, one.width() * zoom) + 16, 65 + 24 + one.height() * zoom), dpr);
    QPainter p(&image);
    p.fillRect(QRect(8, 8, 360, 65), Qt::black);
    p.drawPixmap(8, 8, Artwork::advert(dpr));
    const QImage pixels = Artwork::advert(1).toImage();
    p.drawImage(QRect(QPoint(8, 65 + 16), one * zoom), pixels);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString folder = args.value(0, QStringLiteral("artpreview-out"));
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    bool ok = true;
    for (int dpr : {1, 2}) {
        const QString suffix = QStringLiteral("@%1x.png").arg(dpr);
        ok &= save(characterSheet(dpr), folder + QStringLiteral("/characters") + suffix);
        ok &= save(eyeSheet(dpr), folder + QStringLiteral("/eyes") + suffix);
        ok &= save(speciesSheet(dpr), folder + QStringLiteral("/species") + suffix);
        ok &= save(balloonSheet(dpr), folder + QStringLiteral("/balloon") + suffix);
        ok &= save(smallSheet(dpr), folder + QStringLiteral("/small") + suffix);
        ok &= save(advertSheet(dpr), folder + QStringLiteral("/advert") + suffix);
    }
    return ok ? 0 : 1;
}
