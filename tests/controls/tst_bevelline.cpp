#include "controls/BevelLine.h"

#include <QImage>
#include <QTest>

class TestBevelLine : public QObject {
    Q_OBJECT
private slots:
    void layout_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QLine>("line1");
        QTest::addColumn<QLine>("line2");
        QTest::addColumn<QSize>("size");
        // Placed 5055 × 750 twips, the line keeps its length and becomes 140 twips thick.
        QTest::newRow("horizontal")
            << 0 << QLine(0, 60, 5055, 60) << QLine(0, 75, 5055, 75) << QSize(337, 9);
        for (int orientation : {1, -1})
            QTest::addRow("vertical %d", orientation)
                << orientation << QLine(60, 0, 60, 750) << QLine(75, 0, 75, 750) << QSize(9, 50);
    }
    void layout() {
        QFETCH(int, orientation);
        BevelLine line;
        line.setGeometry(0, 0, 337, 50);
        line.show();
        // The same control turned, then placed again.
        line.setOrientation(orientation);
        line.resize(337, 50);
        QTEST(line.size(), "size");
        QTEST(line.Line1(), "line1");
        QTEST(line.Line2(), "line2");

        // Drawn where laid out: dark first, the light line one pixel further.
        const QImage image = line.grab().toImage();
        const QPoint dark = orientation == 0 ? QPoint(20, 4) : QPoint(4, 20);
        QCOMPARE(image.pixel(dark), line.palette().color(QPalette::Dark).rgb());
        QCOMPARE(image.pixel(dark + (orientation == 0 ? QPoint(0, 1) : QPoint(1, 0))),
                 line.palette().color(QPalette::Base).rgb());
    }
};

QTEST_MAIN(TestBevelLine)
#include "tst_bevelline.moc"
