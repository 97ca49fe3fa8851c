#include "app/Resources.h"
#include "quiz/art/Artwork.h"

#include <QIcon>
#include <QImage>
#include <QSet>
#include <QTest>

namespace {
template <typename Test> int countPixels(const QImage& image, Test test) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(QColor::fromRgba(image.pixel(x, y)));
    return count;
}

bool painted(const QColor& c) {
    return c.alpha() > 0;
}

bool near(const QColor& c, const QColor& to, int by) {
    return qAbs(c.red() - to.red()) <= by && qAbs(c.green() - to.green()) <= by &&
           qAbs(c.blue() - to.blue()) <= by;
}

// One device-pixel column where a balloon end meets the middle, logical row
// by row: transparent above and below the body, ink on its first and last
// row, white between. Returns what is wrong, or nothing.
QString joinColumnFault(const QImage& image, int column, int dpr) {
    const int top = Artwork::balloonBodyTop;
    const int bottom = top + Artwork::balloonBodyHeight - 1;
    for (int y = 0; y < image.height(); ++y) {
        const int row = y / dpr;
        const QColor c = QColor::fromRgba(image.pixel(column, y));
        const bool ok = row < top || row > bottom ? c.alpha() == 0
                        : row == top || row == bottom
                            ? c.alpha() == 255 && near(c, Artwork::balloonInk(), 2)
                            : c == Qt::white;
        if (!ok)
            return QString::asprintf("column %d, device row %d (logical %d) is %s", column, y, row,
                                     qPrintable(c.name(QColor::HexArgb)));
    }
    return {};
}
} // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    // The question window puts the balloon together from three pieces: the left
    // end's last column, the middle and the right end's first column agree.
    void balloonEndsJoinTheMiddle() {
        for (int dpr : {1, 2, 3}) {
            const QImage whole = Artwork::balloon(20, dpr).toImage();
            for (int x = 51 * dpr; x < 73 * dpr; ++x) {
                const QString fault = joinColumnFault(whole, x, dpr);
                QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("%1x: ").arg(dpr) + fault));
            }
        }
    }

    void sizeAndPixelRatio() {
        using namespace Artwork;
        for (qreal dpr : {1.0, 1.5, 2.0, 3.0}) {
            const std::tuple<const char*, QPixmap, QSize> pictures[] = {
                {"character", character(5, QSize(57, 57), dpr), {57, 57}},
                {"eye", eye({0.3, -0.2}, 0.1, QSize(40, 40), dpr), {40, 40}},
                {"balloon left", balloonLeft(dpr), balloonLeftSize},
                {"balloon right", balloonRight(dpr), balloonRightSize},
                {"balloon", balloon(60, dpr), {52 + 60 + 48, 52}},
                {"button", button(Button::Ok, false, QSize(49, 41), dpr), {49, 41}},
                {"hand", hand(QSize(32, 32), dpr), {32, 32}},
                {"advert", advert(dpr), {71, 66}}};
            for (const auto& [name, picture, size] : pictures)
                QVERIFY2(picture.devicePixelRatio() == dpr && picture.size() == size * dpr &&
                             picture.deviceIndependentSize().toSize() == size,
                         qPrintable(QStringLiteral("%1 at %2x").arg(name).arg(dpr)));
        }
    }

    // Each character its own, none cut off at the top or the sides.
    void charactersAllDifferAndFit() {
        QSet<size_t> seen;
        for (int i = 0; i < Artwork::characterCount(); ++i) {
            const QImage image = Artwork::character(i, QSize(57, 57), 2).toImage();
            seen.insert(qHashBits(image.constBits(), size_t(image.sizeInBytes())));
            const QImage inside = image.copy(1, 1, image.width() - 2, image.height() - 1);
            QVERIFY2(countPixels(inside, painted) == countPixels(image, painted),
                     qPrintable(QStringLiteral("character %1 is cut off at an edge").arg(i)));
        }
        QCOMPARE(seen.size(), Artwork::characterCount());
    }

    void disabledButtonsAreGrey() {
        // Of the pixels that can be seen: a faint edge pixel's colour is only rounding.
        const auto saturated = [](const QPixmap& picture, int above) {
            return countPixels(picture.toImage(), [above](const QColor& c) {
                return c.alpha() >= 64 && c.hsvSaturation() > above;
            });
        };
        using Artwork::Button;
        for (Button button : {Button::Sentence, Button::Learned, Button::Ok})
            for (qreal dpr : {1.0, 2.0}) {
                QCOMPARE(saturated(Artwork::button(button, false, QSize(49, 41), dpr), 39), 0);
                QVERIFY(saturated(Artwork::button(button, true, QSize(49, 41), dpr), 100) > 0);
            }
    }

    // The pointer clicks where the finger points: painted there, nothing solid above.
    void handHotSpotIsTheFingerTip() {
        for (QSize size : {QSize(32, 32), QSize(48, 32)}) {
            const QImage image = Artwork::hand(size).toImage();
            const QPoint hot = Artwork::handHotSpot(size);
            QVERIFY2(qAlpha(image.pixel(hot + QPoint(0, 1))) > 0 &&
                         (hot.y() == 0 || qAlpha(image.pixel(hot - QPoint(0, 1))) < 128),
                     qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        }
    }

    // The advert panel is black: the picture is opaque, mostly light, and
    // shows a character outlined in the characters' ink.
    void advertIsAPictureOnBlack() {
        const auto seeThrough = [](const QColor& c) { return c.alpha() < 255; };
        const auto dark = [](const QColor& c) { return qGray(c.rgb()) < 40; };
        const auto ink = [](const QColor& c) { return near(c, Artwork::balloonInk(), 12); };
        for (qreal dpr : {1.0, 2.0}) {
            const QImage image = Artwork::advert(dpr).toImage();
            const int all = image.width() * image.height();
            QCOMPARE(countPixels(image, seeThrough), 0);
            QCOMPARE_LT(countPixels(image, dark), all / 4);
            QCOMPARE_GT(countPixels(image, ink), all / 20);
        }
    }

    // The program icon is an SVG file, drawn by Qt's SVG plugin at run time.
    void programIconRenders() {
        loadVokaboResources();
        for (int side : {16, 32}) {
            const QImage image = QIcon(":/vokabo.svg").pixmap(side, side).toImage();
            QCOMPARE(image.size(), QSize(side, side));
            QCOMPARE_GT(countPixels(image, painted), side * side / 2);
        }
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
