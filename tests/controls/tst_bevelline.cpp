#include "controls/BevelLine.h"

#include <QImage>
#include <QTest>

class TestBevelLine : public QObject {
    Q_OBJECT
private slots:
    // An etched line, dark with the light one a pixel further, along the
    // control's whole length; the control keeps one thin thickness whatever
    // it is given, and any orientation but 0 stands it upright.
    void drawsAnEtchedLineAlongItsLength() {
        for (int orientation : {0, 1, -1}) {
            BevelLine line;
            line.setGeometry(0, 0, 337, 50);
            line.show();
            // The same control turned, then placed again.
            line.setOrientation(orientation);
            const bool across = orientation == 0;
            const auto thickness = [&line, across] {
                return across ? line.height() : line.width();
            };
            const int thin = thickness();
            line.resize(337, 50);
            QCOMPARE(thickness(), thin);
            QCOMPARE_LT(thin, 20);
            QCOMPARE(across ? line.width() : line.height(), across ? 337 : 50);

            const QImage image = line.grab().toImage();
            const QRgb dark = line.palette().color(QPalette::Dark).rgb();
            const QRgb light = line.palette().color(QPalette::Base).rgb();
            const int length = across ? image.width() : image.height();
            for (int at : {0, length / 2, length - 1}) {
                QList<QRgb> pixels;
                for (int step = 0; step < thin; ++step)
                    pixels.append(across ? image.pixel(at, step) : image.pixel(step, at));
                const qsizetype first = pixels.indexOf(dark);
                QVERIFY2(
                    first >= 0 && pixels.count(dark) == 1 && pixels.value(first + 1) == light,
                    qPrintable(QStringLiteral("orientation %1 at %2").arg(orientation).arg(at)));
            }
        }
    }
};

QTEST_MAIN(TestBevelLine)
#include "tst_bevelline.moc"
