#include "app/BarButton.h"
#include "app/ButtonBar.h"

#include <QApplication>
#include <QMap>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The main window's button bar on a window of its own.
class TestButtonBar : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void eachButtonRestsWithItsPictureAndGivesItsIndex();
    void hoverHighlightsOneButtonAndPulses();

private:
    BarButton* Cmd(int Index) const {
        return bar->findChild<BarButton*>(QStringLiteral("Cmd%1").arg(Index));
    }
    QTimer* timer(const char* name) const {
        return bar->findChild<QTimer*>(QString::fromLatin1(name));
    }
    // Lets one of the bar's timers go off now.
    void fire(const char* name) const {
        if (!QMetaObject::invokeMethod(timer(name), "timeout"))
            qFatal("%s did not go off", name);
    }
    // The pointer comes to rest on a button, which hears it move.
    void pointAt(BarButton* button) const {
        const QPointF at(button->rect().center());
        QCursor::setPos(button->mapToGlobal(at.toPoint()));
        QMouseEvent move(QEvent::MouseMove, at, button->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(button, &move);
    }

    std::unique_ptr<QWidget> window;
    ButtonBar* bar = nullptr;
};

void TestButtonBar::init() {
    window = std::make_unique<QWidget>();
    window->resize(360, 394);
    bar = new ButtonBar(window.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestButtonBar::cleanup() {
    window.reset();
    QCursor::setPos(0, 0);
}

void TestButtonBar::eachButtonRestsWithItsPictureAndGivesItsIndex() {
    QSignalSpy chosen(bar, &ButtonBar::commandChosen);
    for (int i = 0; i < 7; ++i) {
        QVERIFY(Cmd(i));
        QVERIFY(!Cmd(i)->isHighlighted());
        QCOMPARE(Cmd(i)->pictureRect(), Cmd(i)->rect());
        Cmd(i)->click();
        QCOMPARE(chosen.size(), i + 1);
        QCOMPARE(chosen.last().at(0).toInt(), i);
    }
}

void TestButtonBar::hoverHighlightsOneButtonAndPulses() {
    BarButton* first = Cmd(2);
    BarButton* second = Cmd(3);
    pointAt(first);
    QVERIFY(first->isHighlighted());
    QVERIFY(first->pictureRect().isEmpty());
    QVERIFY(timer("TimerBtn")->isActive());
    QVERIFY(timer("TimerBtnAnim")->isActive());
    // The picture shrinks to 16 pixels, grows to 33 and shrinks again,
    // centred in the 34-pixel button with a half pixel to the even side.
    QList<int> sizes;
    QMap<int, int> lefts;
    for (int tick = 0; tick < 36; ++tick) {
        fire("TimerBtnAnim");
        const QRect drawn = first->pictureRect();
        QCOMPARE(drawn.topLeft(), QPoint(drawn.left(), drawn.left()));
        QCOMPARE(drawn.width(), drawn.height());
        lefts[drawn.width()] = drawn.left();
        sizes.append(drawn.width());
    }
    QCOMPARE(sizes[0], 31);
    QCOMPARE(sizes[15], 16);
    QCOMPARE(sizes[32], 33);
    QCOMPARE(sizes.mid(33), (QList<int>{32, 31, 30}));
    QCOMPARE((QList<int>{lefts[32], lefts[31], lefts[33], lefts[29], lefts[27], lefts[16]}),
             (QList<int>{1, 2, 0, 2, 4, 9}));
    for (int i = 1; i < sizes.size(); ++i)
        QCOMPARE(qAbs(sizes[i] - sizes[i - 1]), 1);

    // Straight onto the next button: it lights only once the watch has let
    // the first one go.
    pointAt(second);
    QVERIFY(!second->isHighlighted());
    QVERIFY(first->isHighlighted());
    fire("TimerBtn");
    QVERIFY(!first->isHighlighted());
    QCOMPARE(first->pictureRect(), first->rect());
    QVERIFY(!timer("TimerBtn")->isActive());
    QVERIFY(!timer("TimerBtnAnim")->isActive());
    pointAt(second);
    QVERIFY(second->isHighlighted());
    // The watch keeps a highlight while the pointer stays on its button.
    fire("TimerBtn");
    QVERIFY(second->isHighlighted());

    // Ended from outside (a command), the highlight goes at once and the
    // picture shows at its natural size, until the pointer moves again.
    bar->endHover();
    QVERIFY(!second->isHighlighted());
    QCOMPARE(second->pictureRect(), QRect(0, 0, 32, 32));
    QVERIFY(!timer("TimerBtn")->isActive());
    QVERIFY(!timer("TimerBtnAnim")->isActive());
    pointAt(second);
    QVERIFY(second->isHighlighted());
}

QTEST_MAIN(TestButtonBar)
#include "tst_buttonbar.moc"
