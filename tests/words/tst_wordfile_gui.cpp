#include "platform/Clock.h"
#include "support/TestSupport.h"
#include "words/FormProgress.h"
#include "words/ListOrder.h"

#include <QApplication>
#include <QTest>

using namespace ModVokabo;

class TestWordFileGui : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void barWidth_data();
    void barWidth();
    void repaintsOnlyWhenTheBarChanges();
    void listOrderIgnoresCaseAndFollowsTheLanguage();
};

void TestWordFileGui::cleanup() {
    setClock(nullptr);
}

void TestWordFileGui::barWidth_data() {
    QTest::addColumn<qint64>("deger");
    QTest::addColumn<qint64>("max");
    QTest::addColumn<int>("width");
    QTest::newRow("below one is empty") << qint64(0) << qint64(50) << 0;
    QTest::newRow("negative is empty") << qint64(-4) << qint64(50) << 0;
    QTest::newRow("half") << qint64(25) << qint64(50) << 100;
    QTest::newRow("full") << qint64(50) << qint64(50) << 200;
    QTest::newRow("beyond full stays full") << qint64(80) << qint64(50) << 200;
    QTest::newRow("wide values") << qint64(3000000000) << qint64(6000000000) << 100;
}

void TestWordFileGui::barWidth() {
    QFETCH(qint64, deger);
    QFETCH(qint64, max);
    QFETCH(int, width);
    QCOMPARE(FormProgress::filledWidth(deger, max, 200), width);
}

void TestWordFileGui::repaintsOnlyWhenTheBarChanges() {
    QDateTime now(QDate(2024, 6, 11), QTime(9, 0));
    setClock([&now] { return now; });
    FreshProgram program;
    FormProgress progress;
    setProgressView(&progress);
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += "w|t|o|0|A\r\n";
    program.writeWordFile(bytes);
    LoadWordFile();
    QVERIFY(!progress.isVisible());
    QCOMPARE(ActiveWords.size(), 5000);
    // With no time passing: the window put up, its bar empty, and the bar
    // full once (line 51, just before the end doubles), nothing between.
    QCOMPARE(progress.repaintCount(), 3);

    progress.begin("x", 10);
    progress.UpdateStatus(5);
    progress.UpdateStatus(5);
    QCOMPARE(progress.repaintCount(), 5);
    const int half = progress.filled();
    // A change within 16 ms of a repaint waits for the next one...
    now = now.addMSecs(15);
    progress.UpdateStatus(7);
    QCOMPARE(progress.filled(), half);
    // ...unless the bar is full, which is always shown.
    progress.UpdateStatus(10);
    QCOMPARE(progress.repaintCount(), 6);
    QCOMPARE(progress.filled(), progress.barWidth());
    now = now.addMSecs(16);
    progress.UpdateStatus(3);
    QCOMPARE(progress.repaintCount(), 7);
    // A clock set back by an hour does not hold the bar still.
    now = now.addSecs(-3600);
    progress.UpdateStatus(6);
    QCOMPARE(progress.repaintCount(), 8);
    progress.finish();
}

void TestWordFileGui::listOrderIgnoresCaseAndFollowsTheLanguage() {
    QList<ListLine> lines{{"dal", 1},   {"Çay", 2},  {"cam", 3},   {"Banana", 4},
                          {"apple", 5}, {"ılık", 6}, {"izmir", 7}, {"Hat", 8}};
    sortForDisplay(lines, QLocale(QLocale::Turkish, QLocale::Turkey));
    QStringList texts;
    for (const ListLine& line : lines)
        texts.append(line.text);
    QCOMPARE(texts, (QStringList{"apple", "Banana", "cam", "Çay", "dal", "Hat", "ılık", "izmir"}));
    QCOMPARE(lines[3].index, 2);

    QList<ListLine> english{{"b", 1}, {"A", 2}, {"a", 3}, {"C", 4}};
    sortForDisplay(english, QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(english[0].text.toLower(), QStringLiteral("a"));
    QCOMPARE(english[1].text.toLower(), QStringLiteral("a"));
    QCOMPARE(english[2].text, QStringLiteral("b"));
    QCOMPARE(english[3].text, QStringLiteral("C"));
}

QTEST_MAIN(TestWordFileGui)
#include "tst_wordfile_gui.moc"
