#include "app/BarButton.h"
#include "app/ButtonBar.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>

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
    // The picture shrinks to half the button and grows again, a pixel at a
    // time, square, centred and within the button.
    QList<int> sizes;
    for (int tick = 0; tick < 40; ++tick) {
        fire("TimerBtnAnim");
        const QRect drawn = first->pictureRect();
        QVERIFY(first->rect().contains(drawn) && drawn.width() == drawn.height());
        QCOMPARE(drawn.top(), drawn.left());
        QCOMPARE_LE(qAbs(2 * drawn.left() + drawn.width() - first->width()), 1);
        sizes.append(drawn.width());
    }
    int turns = 0;
    for (int i = 1; i < sizes.size(); ++i) {
        QCOMPARE(qAbs(sizes[i] - sizes[i - 1]), 1);
        turns += i > 1 && sizes[i] - sizes[i - 1] != sizes[i - 1] - sizes[i - 2];
    }
    QCOMPARE(turns, 2);
    QCOMPARE_LE(*std::min_element(sizes.begin(), sizes.end()), first->width() / 2);

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
}

QTEST_MAIN(TestButtonBar)
#include "tst_buttonbar.moc"
