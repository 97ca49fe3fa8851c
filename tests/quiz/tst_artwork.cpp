#include "app/Resources.h"
#include "quiz/art/Artwork.h"

#include <QIcon>
#include <QImage>
#include <QSet>
#include <QTest>

namespace {

bool isInk(QRgb c) {
    const QColor ink = Artwork::balloonInk();
    return qAlpha(c) == 255 && qAbs(qRed(c) - ink.red()) <= 2 &&
           qAbs(qGreen(c) - ink.green()) <= 2 && qAbs(qBlue(c) - ink.blue()) <= 2;
}

// One device-pixel column where a balloon end meets the middle, logical row
// by row: transparent above and below the body, ink on its first and last
// row, white between. Returns what is wrong, or nothing.
QString joinColumnFault(const QImage& image, int column, int dpr) {
    const int top = Artwork::balloonBodyTop;
    const int bottom = top + Artwork::balloonBodyHeight - 1;
    for (int y = 0; y < image.height(); ++y) {
        const int row = y / dpr;
        const QRgb c = image.pixel(column, y);
        const bool ok = row < top || row > bottom     ? qAlpha(c) == 0
                        : row == top || row == bottom ? isInk(c)
                                                      : c == qRgba(255, 255, 255, 255);
        if (!ok)
            return QStringLiteral("column %1, device row %2 (logical %3) is %4")
                .arg(column)
                .arg(y)
                .arg(row)
                .arg(QColor::fromRgba(c).name(QColor::HexArgb));
    }
    return {};
}

bool clearLine(const QImage& image, bool column, int index) {
    const int n = column ? image.height() : image.width();
    for (int i = 0; i < n; ++i)
        if (qAlpha(column ? image.pixel(index, i) : image.pixel(i, index)) != 0)
            return false;
    return true;
}

// Of the pixels that can be seen: a faint edge pixel's colour is only
// rounding.
int maxSaturation(const QImage& image) {
    int most = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (c.alpha() >= 64)
                most = qMax(most, c.hsvSaturation());
        }
    return most;
}

int paintedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    void balloonEndsJoinTheMiddle_data() {
        QTest::addColumn<int>("dpr");
        for (int dpr : {1, 2, 3})
            QTest::addRow("%dx", dpr) << dpr;
    }

    // The question window puts the balloon together from three pieces; any
    // seam, step or gap shows at once on screen.
    void balloonEndsJoinTheMiddle() {
        QFETCH(int, dpr);
        const QImage left = Artwork::balloonLeft(dpr).toImage();
        const QImage right = Artwork::balloonRight(dpr).toImage();
        for (int i = 0; i < dpr; ++i) {
            const QString l = joinColumnFault(left, left.width() - 1 - i, dpr);
            QVERIFY2(l.isEmpty(), qPrintable("left end: " + l));
            const QString r = joinColumnFault(right, i, dpr);
            QVERIFY2(r.isEmpty(), qPrintable("right end: " + r));
        }
        const QImage whole = Artwork::balloon(20, dpr).toImage();
        for (int x = 52 * dpr - 1; x <= 72 * dpr; ++x) {
            const QString fault = joinColumnFault(whole, x, dpr);
            QVERIFY2(fault.isEmpty(), qPrintable("assembled: " + fault));
        }
        QVERIFY2(qAlpha(left.pixel(4 * dpr, 48 * dpr)) > 0, "the tail leaves at the lower left");
        QVERIFY2(qAlpha(left.pixel(7 * dpr, 3 * dpr)) == 0, "the left end's corner is rounded");
        QVERIFY2(qAlpha(right.pixel(right.width() - 1, 20 * dpr)) == 0 &&
                     qAlpha(right.pixel(40 * dpr, 20 * dpr)) == 255,
                 "the right end rounds off inside its picture");
    }

    void sizeAndPixelRatio_data() {
        QTest::addColumn<QPixmap>("picture");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qreal>("dpr");
        for (qreal dpr : {1.0, 1.5, 2.0, 3.0}) {
            const auto row = [dpr](const char* name) -> QTestData& {
                return QTest::addRow("%s@%gx", name, dpr);
            };
            row("character") << Artwork::character(5, QSize(57, 57), dpr) << QSize(57, 57) << dpr;
            row("eye frame") << Artwork::eyeFrame(3, QSize(32, 32), dpr) << QSize(32, 32) << dpr;
            row("eye") << Artwork::eye({0.3, -0.2}, 0.1, QSize(40, 40), dpr) << QSize(40, 40)
                       << dpr;
            row("balloon left") << Artwork::balloonLeft(dpr) << Artwork::balloonLeftSize << dpr;
            row("balloon right") << Artwork::balloonRight(dpr) << Artwork::balloonRightSize << dpr;
            row("balloon") << Artwork::balloon(60, dpr) << QSize(52 + 60 + 48, 52) << dpr;
            row("button") << Artwork::button(Artwork::Button::Ok, false, QSize(49, 41), dpr)
                          << QSize(49, 41) << dpr;
            row("bar button") << Artwork::barButton(Artwork::BarButton::Help, QSize(33, 33), dpr)
                              << QSize(33, 33) << dpr;
            row("hand") << Artwork::hand(QSize(32, 32), dpr) << QSize(32, 32) << dpr;
            row("sad face") << Artwork::sadFace(QSize(32, 32), dpr) << QSize(32, 32) << dpr;
            row("advert") << Artwork::advert(dpr) << QSize(71, 66) << dpr;
        }
    }

    void sizeAndPixelRatio() {
        QFETCH(QPixmap, picture);
        QFETCH(QSize, size);
        QFETCH(qreal, dpr);
        QCOMPARE(picture.devicePixelRatio(), dpr);
        QCOMPARE(picture.deviceIndependentSize().toSize(), size);
        QCOMPARE(picture.size(), size * dpr);
    }

    // 125 characters in the question window: each its own, none cut off at
    // the top or the sides, and any random number picks one.
    void charactersAllDifferAndFit() {
        QSet<QByteArray> seen;
        for (int i = 0; i < Artwork::characterCount(); ++i) {
            const QImage image = Artwork::character(i, QSize(57, 57), 2)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32);
            seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                                   int(image.sizeInBytes())));
            QVERIFY2(clearLine(image, false, 0) && clearLine(image, true, 0) &&
                         clearLine(image, true, image.width() - 1),
                     qPrintable(QStringLiteral("character %1 is cut off at an edge").arg(i)));
        }
        QCOMPARE(seen.size(), Artwork::characterCount());
        QCOMPARE(Artwork::character(Artwork::characterCount() + 3).toImage(),
                 Artwork::character(3).toImage());
        QCOMPARE(Artwork::character(-1).toImage(),
                 Artwork::character(Artwork::characterCount() - 1).toImage());
    }

    void eyeMovesAndBlinks() {
        for (int i = 0; i < Artwork::eyeFrameCount(); ++i) {
            const int next = (i + 1) % Artwork::eyeFrameCount();
            QVERIFY2(Artwork::eyeFrame(i).toImage() != Artwork::eyeFrame(next).toImage(),
                     qPrintable(QStringLiteral("eye frames %1 and %2 are alike").arg(i).arg(next)));
        }
        QVERIFY(Artwork::eye({-1, 0}).toImage() != Artwork::eye({1, 0}).toImage());
        QCOMPARE(Artwork::eye({0.5, 0}).toImage(), Artwork::eye({0.51, 0}).toImage());
        // Shut, the lid hides where the eye looks.
        QCOMPARE(Artwork::eye({-1, 0}, 1).toImage(), Artwork::eye({1, 0}, 1).toImage());
    }

    void disabledButtonsAreGrey_data() {
        QTest::addColumn<Artwork::Button>("button");
        QTest::newRow("sentence") << Artwork::Button::Sentence;
        QTest::newRow("learned") << Artwork::Button::Learned;
        QTest::newRow("ok") << Artwork::Button::Ok;
    }

    void disabledButtonsAreGrey() {
        QFETCH(Artwork::Button, button);
        for (qreal dpr : {1.0, 2.0}) {
            QVERIFY(maxSaturation(Artwork::button(button, false, QSize(49, 41), dpr).toImage()) <
                    40);
            QVERIFY(maxSaturation(Artwork::button(button, true, QSize(49, 41), dpr).toImage()) >
                    100);
        }
    }

    // The pointer clicks where the finger points: painted at the hot spot,
    // nothing solid above it.
    void handHotSpotIsTheFingerTip() {
        for (QSize size : {QSize(32, 32), QSize(64, 64), QSize(48, 32)}) {
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
        const QColor ink = Artwork::balloonInk();
        for (qreal dpr : {1.0, 2.0}) {
            const QImage image =
                Artwork::advert(dpr).toImage().convertToFormat(QImage::Format_ARGB32);
            int dark = 0;
            int outline = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb c = image.pixel(x, y);
                    QCOMPARE(qAlpha(c), 255);
                    dark += qGray(c) < 40;
                    outline += qAbs(qRed(c) - ink.red()) <= 12 &&
                               qAbs(qGreen(c) - ink.green()) <= 12 &&
                               qAbs(qBlue(c) - ink.blue()) <= 12;
                }
            const int all = image.width() * image.height();
            QVERIFY2(dark < all / 4, qPrintable(QString::number(dark)));
            QVERIFY2(outline > all / 20, qPrintable(QString::number(outline)));
        }
    }

    // The window and tray icon is an SVG file, drawn by Qt's SVG plugins at
    // run time; without them the icon would be empty.
    void programIconRenders() {
        loadVokaboResources();
        const QIcon icon(QStringLiteral(":/vokabo.svg"));
        for (int side : {16, 32}) {
            const QImage image = icon.pixmap(side, side).toImage();
            QCOMPARE(image.size(), QSize(side, side));
            QVERIFY2(paintedPixels(image) > side * side / 2, qPrintable(QString::number(side)));
        }
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
